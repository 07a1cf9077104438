#pragma once
// The campaign report's charts as vector items of its pages: a band's noise factor Fa over
// the span, one point per day, and its 24-hour profile. Before and after differ in marker
// shape and line style, so they part in black and white; the hours outside the chosen hours
// of the day are greyed.
#include <vector>

#include "campaign/campaign_data.h"
#include "output/report_page.h"

namespace fw {

// The chart's place on the page, in millimetres, labels and legend included.
struct ChartBox {
    double xMm = 0, yMm = 0, widthMm = 0, heightMm = 0;
};

// The atmospheric Fa of the ITU model over one calendar month of the span.
struct MonthAtmosphere {
    UtcSeconds from = 0;
    UtcSeconds to = 0;
    double fa = 0;
};

// How a span is drawn; one home for the charts and their legends.
struct SeriesStyle {
    PageMarkerShape shape = PageMarkerShape::Circle;
    bool filled = true;
    PageDash dash = PageDash::Solid;
    double grey = 0;
    const char* name = "";
};
SeriesStyle StyleOf(CampaignSpan span, bool compared);

// Fa over the whole span: per span one point per day (the median of the day's hourly values
// within the chosen hours, for days with half of them), a thin line through the day's
// hourly values from lowest to highest, and the atmospheric Fa of each month as a dotted step.
void DrawDailyChart(PageBuilder& page, const ChartBox& box, const CampaignData& data,
                    const BandSeries& band, const std::vector<MonthAtmosphere>& atmosphere);

// Fa by UTC hour of the day: per span the median of the hourly values of each hour, with the
// range of the middle 80 % where one span is drawn; the hours outside the chosen hours greyed.
void DrawProfileChart(PageBuilder& page, const ChartBox& box, const CampaignData& data,
                      const BandSeries& band);

}  // namespace fw
