// The campaign report's comparison with the network's neighbours, against a throwaway
// PostgreSQL cluster, and the report that says so when the server cannot be reached.
#include <gtest/gtest.h>

#include "campaign/campaign_report.h"
#include "app/network_cluster.h"

namespace fw {
namespace {

constexpr UtcSeconds March1 = 1772323200, Days2 = 2 * 86400;

// Every text of the report, joined by blanks, and the pictures its pages place.
std::pair<std::string, std::vector<std::size_t>> Contents(const CampaignReport& report) {
    std::string text;
    std::vector<std::size_t> pictures;
    for (const ReportPage& page : report.document.pages)
        for (const PageItem& item : page.items) {
            if (const auto* t = std::get_if<PageTextItem>(&item)) text += t->text + ' ';
            if (const auto* p = std::get_if<PagePictureItem>(&item)) pictures.push_back(p->picture);
        }
    return {text, pictures};
}

TEST(CampaignNeighbours, EachBandComparedOrTheServersProblemSaid) {
    setlocale(LC_ALL, "C.UTF-8");
    std::unique_ptr<test::PgCluster> server;  // nobody has 80 m on it
    ASSERT_EQ(fw::testing::StartNetworkCluster(server, March1), "");
    StationLog log = StationLog::Open(":memory:");
    for (UtcSeconds t = March1; t < March1 + Days2; t += 3600)
        for (const auto& [band, mhz] : {std::pair{"80m", 3.65}, std::pair{"40m", 7.1}})
            log.add({t, band, mhz, 2700, "Field", 0, 0, 0, 0, 10, ReadingSource::Typed, "", "JO40CQ"});
    ItuCoefficientCache coefficients("/nonexistent");
    const TextWidthMm width = [](const PageFont&, std::string_view text) {
        return 2.0 * static_cast<double>(text.size());
    };
    struct Case { std::string server; std::vector<std::string> said; std::size_t pictures; };
    const Case cases[] = {
        {server->conninfo(),
         {"Compared with the neighbours", "40m 18\u201323 UTC: 10.0 dB above 1 neighbour within 200 km",
          "80m No neighbour within 200 km has values for these hours."},
         2},
        {server->downConninfo(), {"The network's server could not be asked: cannot connect"}, 0},
    };
    for (const Case& c : cases) {
        CampaignRequest request;
        request.neighbours = CampaignNeighbours{c.server, "DL1ABC", 200};
        const CampaignBuild build = BuildCampaignReport(log, request, {"7 Dec 2026", "v 1.0", "(c)"},
                                                        width, coefficients);
        ASSERT_TRUE(build.report) << build.reason;
        const auto [text, placed] = Contents(*build.report);
        for (const std::string& said : c.said) EXPECT_NE(text.find(said), std::string::npos) << said;
        EXPECT_EQ(build.report->pictures.size(), c.pictures);
        EXPECT_EQ(placed.size(), c.pictures);
    }
}

}  // namespace
}  // namespace fw
