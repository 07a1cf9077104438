#include "stationlog/log_to_list.h"

#include <algorithm>
#include <map>

#include "libs/date_text.h"
#include "libs/fw_math.h"
#include "libs/startup_values.h"
#include "stationlog/utc_text.h"

namespace fw {

namespace {

double MeanLevel(double a, double b) {
    if (a <= UnknownLevel || b <= UnknownLevel) return UnknownLevel;
    return (a + b) / 2;
}

MeasRow MedianRow(std::vector<MeasRow>& rows) {
    std::sort(rows.begin(), rows.end(),
              [](const MeasRow& a, const MeasRow& b) { return a.fieldDbuVm < b.fieldDbuVm; });
    const std::size_t n = rows.size();
    if (n % 2 == 1) return rows[n / 2];
    const MeasRow& a = rows[n / 2 - 1];
    const MeasRow& b = rows[n / 2];
    MeasRow m = a;
    m.fieldDbuVm = (a.fieldDbuVm + b.fieldDbuVm) / 2;
    if (a.entryUnit == b.entryUnit && a.gainDbi == b.gainDbi && a.bandwidthHz == b.bandwidthHz) {
        m.sUnits = MeanLevel(a.sUnits, b.sUnits);
        m.antVoltDbuV = MeanLevel(a.antVoltDbuV, b.antVoltDbuV);
        m.antPowerDbm = MeanLevel(a.antPowerDbm, b.antPowerDbm);
        return m;
    }
    m.entryUnit = "Field";
    m.gainDbi = m.sUnits = m.antVoltDbuV = m.antPowerDbm = UnknownLevel;
    return m;
}

using RowsByBand = std::map<LogBand, std::vector<MeasRow>, LogBandOrder>;

std::vector<BandMedian> Medians(RowsByBand& byBand) {
    std::vector<BandMedian> out;
    for (auto& [band, rows] : byBand)
        out.push_back({band, static_cast<int>(rows.size()), MedianRow(rows)});
    return out;
}

}  // namespace

std::vector<BandMedian> ComputeBandMedians(std::span<const LogReading> readings) {
    RowsByBand byBand;
    for (const LogReading& r : readings) byBand[BandOf(r)].push_back(RowFromReading(r));
    return Medians(byBand);
}

LoggedList QueryLoggedList(StationLog& log, const LogSpan& span) {
    // Streamed: only the rows are kept, not whole readings, so a long span stays small.
    RowsByBand byBand;
    LoggedList out;
    UtcSeconds last = 0;
    ForEachReading(log, span, [&](const LogReading& r) {
        byBand[BandOf(r)].push_back(RowFromReading(r));
        ++out.readings;
        last = r.utc;
        if (!r.locator.empty()) out.locator = r.locator;
    });
    if (out.readings == 0) return out;
    for (const BandMedian& m : Medians(byBand)) out.list.appendRow(m.row);
    out.dateTime = DateTimeText(LocalTimeOf(span.to.value_or(last)));
    return out;
}

std::string ListLocator(const LoggedList& logged) {
    return logged.locator.empty() ? std::string(NoLocatorText) : logged.locator;
}

}  // namespace fw
