// The campaign report's page of bearing scans: each scan of the span as a polar plot, two
// side by side, with when, where and with what it was read and its estimate below.
#include "campaign/campaign_pages.h"
#include "campaign/campaign_report.h"
#include "diagram/scaled_canvas.h"
#include "logviews/bearing_polar.h"
#include "libs/number_text.h"

namespace fw {

namespace {

constexpr int PlotPx = 500;         // the plot's logical size
constexpr double PlotRatio = 2;     // drawn at twice that, for print
constexpr double PlotMm = 80;
constexpr double CaptionMm = 4.2 * 4;

std::string ScanTitle(const LogBearingScan& s, char sep) {
    const std::string where = s.band.empty() ? GeneralText(s.freqMHz, 6, sep) + " MHz" : s.band;
    return "Bearing scan, " + where + ", " + MinuteText(s.utc);
}

}  // namespace

void AddBearingPages(CampaignLayout& l, std::vector<DiagramPicture>& pictures,
                     const std::vector<LogBearingScan>& scans) {
    if (scans.empty()) return;
    l.newPage();
    l.heading(std::string(CampaignBearingsHeading));
    l.paragraph("Each scan turned a directional antenna through the bearings shown and read the "
                "noise at each; the farther a point from the centre, the stronger the noise, on "
                "the scale of the rings below the strongest. The arrow points to the strongest "
                "noise, the dashed spoke to the weakest. A scan is a hint where to look, not a "
                "verdict: reflections, a source close by or noise that changed during the scan "
                "can turn it.");
    for (std::size_t i = 0; i < scans.size(); ++i) {
        const LogBearingScan& s = scans[i];
        const bool left = i % 2 == 0;
        if (left) l.room(PlotMm + CaptionMm);
        const double x = ReportLeftMm + (left ? 0 : CampaignLayout::WidthMm / 2);
        const double y = l.y();
        BearingPolarInputs in;
        in.width = PlotPx;
        in.height = PlotPx;
        in.title = ScanTitle(s, l.decimalSeparator());
        in.levels = s.levels;
        in.estimate = s.estimate;
        in.unit = s.unit;
        const BearingPolarDrawing drawing = DescribeBearingPolar(in);
        pictures.push_back(DrawAtRatio(PlotPx, PlotPx, PlotRatio, [&](DiagramCanvas& canvas) {
            DrawBearingPolar(canvas, drawing);
        }));
        PageBuilder page = l.builder();
        page.PagePicture(x, y, x + PlotMm, y + PlotMm, pictures.size() - 1);
        page.SetPageFont(8, ReportFixedFont, false);
        page.PageText(s.receiver + ", levels in " + s.unit, x, y + PlotMm + 1);
        page.PageText(s.rotator, x, y + PlotMm + 5.2);
        if (!left || i + 1 == scans.size()) l.skip(PlotMm + CaptionMm);
    }
}

}  // namespace fw
