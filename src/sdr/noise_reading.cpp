#include "sdr/noise_reading.h"

#include <charconv>
#include <cmath>
#include <cstdio>

#include "libs/int_text.h"
#include "rig/rig_error.h"

namespace fw::sdr {

namespace {

void AppendNumber(std::string& out, double v, int precision) {
    char buf[64];
    const auto end = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::fixed, precision).ptr;
    out.append(buf, end);
}

}  // namespace

receiver::Reading MakeNoiseReading(const receiver::ResolvedTarget& where, const NoiseFloor& floor,
                              std::vector<SpectrumBin> spectrum, double refDbm,
                              const rig::ReadingPlan& plan, char sep) {
    receiver::SdrDetails d;
    d.floor = floor;
    d.spectrum = std::move(spectrum);
    d.refDbm = refDbm;
    const double bandwidthHz = ParseIntText(plan.bandwidth).value_or(0);
    if (!(bandwidthHz > 0)) throw rig::ReadingInputError("the bandwidth must be above 0 Hz");
    const double offsetDb = rig::OffsetFor(plan.offsets, where.offsetBand);
    d.antPowerDbm = AntennaPowerDbm(floor.densityDbfsPerHz, bandwidthHz, refDbm, offsetDb);
    EntryAccepted entry = rig::PowerEntry(where, d.antPowerDbm, plan, sep);
    return receiver::Reading{where, offsetDb, std::move(entry), std::move(d)};
}

std::string NoiseSummary(const NoiseFloor& floor) {
    std::string s = "N0 ";
    AppendNumber(s, floor.densityDbfsPerHz, 2);
    s += " dBFS/Hz, K " + std::to_string(floor.segments) + ", N " + std::to_string(floor.fftLength) +
         ", " + std::to_string(floor.binsUsed) + " bins, occupancy ";
    AppendNumber(s, floor.occupancy * 100.0, 1);
    s += " %";
    if (floor.percentile != 20) {
        s += ", from the ";
        AppendNumber(s, floor.percentile, 0);
        s += "th percentile";
    }
    if (floor.overloaded)
        s += ", OVERLOADED (" + std::to_string(floor.fullScaleSamples) + " samples at full scale)";
    return s;
}

std::string SpectrumCsv(const std::vector<SpectrumBin>& bins) {
    std::string csv = "freq_hz,density_dbfs_hz\n";
    for (const SpectrumBin& b : bins) {
        AppendNumber(csv, b.freqHz, 1);
        csv += ',';
        AppendNumber(csv, b.densityDbfsPerHz, 3);
        csv += '\n';
    }
    return csv;
}

}  // namespace fw::sdr
