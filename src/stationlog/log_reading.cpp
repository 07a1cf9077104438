#include "stationlog/log_reading.h"

#include <utility>

namespace fw {

std::string_view SourceText(ReadingSource source) {
    switch (source) {
        case ReadingSource::Rig:
            return "rig";
        case ReadingSource::Typed:
            return "typed";
        case ReadingSource::Sdr:
            return "sdr";
    }
    return "rig";
}

std::optional<ReadingSource> SourceFromText(std::string_view text) {
    if (text == "rig") return ReadingSource::Rig;
    if (text == "typed") return ReadingSource::Typed;
    if (text == "sdr") return ReadingSource::Sdr;
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
