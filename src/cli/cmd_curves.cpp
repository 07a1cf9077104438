#include <charconv>
#include <ostream>

#include "cli/commands.h"
#include "model/noise_model.h"
#include "cli/render_options.h"

namespace fw::cli {

namespace {

// 17 significant digits with a point, whatever the regional settings: an exact round trip.
void WriteNumber(std::ostream& out, double v) {
    char buf[64];
    const auto res = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::general, 17);
    out.write(buf, res.ptr - buf);
}

}  // namespace

int CmdCurves(ArgList& args, std::ostream& out, std::ostream& /*err*/) {
    std::int32_t bandwidth = 2700;
    if (auto v = args.takeOption("--bandwidth")) bandwidth = ParseBandwidthText(*v);
    args.expectEmpty();

    const ReferenceCurves rc = computeReferenceCurves(bandwidth);
    out << "freq_hz,city_fa,city_e,residential_fa,residential_e,rural_fa,rural_e,"
           "quiet_rural_fa,quiet_rural_e,galactic_fa,galactic_e\n";
    for (std::size_t d = 0; d < rc.freqGrid.size(); ++d) {
        WriteNumber(out, rc.freqGrid[d]);
        for (int e = 0; e < NoiseEnvCount; ++e) {
            out << ',';
            WriteNumber(out, rc.refFa[e][d]);
            out << ',';
            WriteNumber(out, rc.refField[e][d]);
        }
        out << '\n';
    }
    return ExitOk;
}

}  // namespace fw::cli
