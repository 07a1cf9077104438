#include "stationlog/log_reading.h"

#include <utility>

namespace fw {

std::string_view SourceText(ReadingSource source) {
    return source == ReadingSource::Rig ? "rig" : "typed";
}

std::optional<ReadingSource> SourceFromText(std::string_view text) {
    if (text == "rig") return ReadingSource::Rig;
    if (text == "typed") return ReadingSource::Typed;
    return std::nullopt;
}

LogReading ReadingFromRow(const MeasRow& row, UtcSeconds utc, std::string band,
                          ReadingSource source, std::string rig, std::string locator) {
    LogReading r;
    r.utc = utc;
    r.band = std::move(band);
    r.freqMHz = row.freqMHz;
    r.bandwidthHz = row.bandwidthHz;
    r.method = row.entryUnit;
    r.gainDbi = row.gainDbi;
    r.sUnits = row.sUnits;
    r.antVoltDbuV = row.antVoltDbuV;
    r.antPowerDbm = row.antPowerDbm;
    r.fieldDbuVm = row.fieldDbuVm;
    r.source = source;
    r.rig = std::move(rig);
    r.locator = std::move(locator);
    return r;
}

MeasRow RowFromReading(const LogReading& r) {
    return MeasRow{r.freqMHz, r.fieldDbuVm, r.bandwidthHz, r.method,
                   r.gainDbi, r.sUnits,     r.antVoltDbuV, r.antPowerDbm};
}

}  // namespace fw
