#include "stats/span_comparison.h"

#include <algorithm>
#include <limits>

#include "libs/median.h"
#include "stats/hourly_values.h"
#include "stats/rank_test.h"

namespace fw {

BandComparison CompareBand(const LogBand& band, std::vector<double> before,
                           std::vector<double> after) {
    BandComparison c{band, before.size(), after.size(), Median(before), Median(after),
                     std::nullopt, std::numeric_limits<double>::quiet_NaN()};
    std::sort(before.begin(), before.end());
    std::sort(after.begin(), after.end());
    if (before.size() < MinComparedValues || after.size() < MinComparedValues) return c;
    c.shift = EstimateShift(before, after);
    c.pValue = MannWhitneyP(before, after);
    return c;
}

std::vector<BandComparison> QueryComparison(StationLog& log, const ComparisonRequest& request) {
    BandHourlyValues before = QueryHourlyFa(log, request.before, request.hours);
    BandHourlyValues after = QueryHourlyFa(log, request.after, request.hours);
    std::vector<LogBand> bands = request.bands;
    if (bands.empty()) {
        for (const auto& [band, values] : before) bands.push_back(band);
        for (const auto& [band, values] : after)
            if (!before.contains(band)) bands.push_back(band);
    }
    std::sort(bands.begin(), bands.end(), LogBandOrder{});
    bands.erase(std::unique(bands.begin(), bands.end()), bands.end());
    std::vector<BandComparison> out;
    for (const LogBand& band : bands) out.push_back(CompareBand(band, before[band], after[band]));
    return out;
}

}  // namespace fw
