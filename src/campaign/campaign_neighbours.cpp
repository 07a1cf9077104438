#include <cmath>
#include <sstream>

#include "campaign/campaign_pages.h"
#include "campaign/campaign_report.h"
#include "network/neighbour_picture.h"

namespace fw {

namespace {

constexpr int PictureWidth = 800, PictureHeight = 500;
constexpr double PictureRatio = 2;  // sharp in print
constexpr double ChartHeightMm = CampaignLayout::WidthMm * PictureHeight / PictureWidth;

void AddBand(CampaignLayout& l, std::vector<DiagramPicture>& pictures, PgConnection& conn,
             const CampaignData& data, const BandSeries& band, const CampaignNeighbours& n) {
    const LogSpan& span = data.span(CampaignSpan::Whole).span;
    const NeighbourComparison c = CompareWithNeighbours(
        conn, n.callsign, {band.band.band, *span.from, *span.to, data.hours}, n.radiusKm);
    l.room(ChartHeightMm + 20);
    l.subheading(BandLabel(band.band));
    std::istringstream lines(StandOutLines(c));
    for (std::string line; std::getline(lines, line);) l.info(line);
    pictures.push_back(RenderNeighbourComparison(
        c, {band.band.band, *span.from, *span.to, PictureWidth, PictureHeight}, PictureRatio));
    PageBuilder page = l.builder();
    page.PagePicture(ReportLeftMm, l.y(), ReportLeftMm + CampaignLayout::WidthMm,
                     l.y() + ChartHeightMm, pictures.size() - 1);
    l.skip(ChartHeightMm + 4);
}

}  // namespace

void AddNeighboursPages(CampaignLayout& l, std::vector<DiagramPicture>& pictures,
                        const CampaignData& data, const CampaignNeighbours& n,
                        const std::stop_token& stop) {
    l.newPage();
    l.heading(std::string(CampaignNeighboursHeading));
    char radius[32];
    std::snprintf(radius, sizeof radius, "%.0f", n.radiusKm);
    l.paragraph("Each band's noise factor Fa by UTC hour of the day at " + n.callsign +
                ", from its hourly values on the network's server, beside the median of the "
                "other stations within " + radius + " km of its locator, each taken at its "
                "own median at that hour, over " + SpanText(data.span(CampaignSpan::Whole).span) +
                (data.hours.wholeDay() ? "" : ", hours " + HourRangeText(data.hours)) + ".");
    try {
        PgConnection conn(n.server, stop);
        for (const BandSeries& band : data.bands) {
            if (stop.stop_requested()) return;
            if (band.band.band.empty()) {
                l.info(BandLabel(band.band) + ": not a band of the band table, so not compared.");
                continue;
            }
            AddBand(l, pictures, conn, data, band, n);
        }
    } catch (const NetworkError& e) {
        l.paragraph(std::string("The network's server could not be asked: ") + e.what());
    }
}

}  // namespace fw
