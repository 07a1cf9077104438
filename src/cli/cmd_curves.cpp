#include <optional>
#include <ostream>

#include "cli/commands.h"
#include "cli/csv_number.h"
#include "cli/place_time_options.h"
#include "cli/render_options.h"
#include "libs/fw_math.h"
#include "model/atmospheric_layer.h"
#include "model/noise_model.h"

namespace fw::cli {

namespace {

// The atmospheric noise of one place and hour for the --atmospheric columns.
struct Atmosphere {
    ItuNoiseCoefficients coefficients;
    AtmosphericSite site;
};

// Fa of the median, upper and lower decile, then the same as E; empty above 30 MHz.
void WriteAtmosphericColumns(std::ostream& out, const Atmosphere& a, double hz, double log10Hz,
                             double bandwidthTerm) {
    if (!InAtmosphericRange(hz / 1e6)) {
        out << ",,,,,,";
        return;
    }
    const AtmosphericNoise n = AtmosphericNoiseAt(a.coefficients, a.site, hz / 1e6);
    const double fa[] = {n.fa, n.fa + n.du, n.fa - n.dl};
    for (double v : fa) {
        out << ',';
        WriteCsvNumber(out, v);
    }
    for (double v : fa) {
        out << ',';
        WriteCsvNumber(out, FieldOfNoiseFigure(v, log10Hz, bandwidthTerm));
    }
}

}  // namespace

int CmdCurves(ArgList& args, std::ostream& out, std::ostream& err) {
    std::int32_t bandwidth = StartBandwidthHz;
    if (auto v = args.takeOption("--bandwidth")) bandwidth = ParseBandwidthText(*v);
    std::optional<PlaceTime> place;
    std::optional<std::string> ituData;
    if (args.takeFlag("--atmospheric")) {
        place = TakePlaceTime(args);
        ituData = args.takeOption("--itu-data");
    }
    args.expectEmpty();

    std::optional<Atmosphere> atmosphere;
    const ReferenceCurves rc = computeReferenceCurves(bandwidth);
    if (place) {
        const auto store = ItuCoefficientsFor(ituData);
    const ItuCoefficientCache& cache = *store;
        const ItuNoiseCoefficients& c = CoefficientsOrRefuse(cache, place->month, err);
        atmosphere =
            Atmosphere{c, MakeAtmosphericSite(c, place->latDeg, place->lonDeg, place->utcHour)};
        // Every figure is checked before the first line is printed.
        for (double hz : rc.freqGrid)
            if (InAtmosphericRange(hz / 1e6))
                RefuseImplausible(cache, place->month,
                                  AtmosphericNoiseAt(c, atmosphere->site, hz / 1e6), hz / 1e6);
    }
    const double bandwidthTerm = 10.0 * SafeLog10(static_cast<double>(bandwidth));
    out << "freq_hz,city_fa,city_e,residential_fa,residential_e,rural_fa,rural_e,"
           "quiet_rural_fa,quiet_rural_e,galactic_fa,galactic_e";
    if (atmosphere)
        out << ",atmospheric_fa,atmospheric_fa_upper,atmospheric_fa_lower,atmospheric_e,"
               "atmospheric_e_upper,atmospheric_e_lower";
    out << '\n';
    for (std::size_t d = 0; d < rc.freqGrid.size(); ++d) {
        WriteCsvNumber(out, rc.freqGrid[d]);
        for (int e = 0; e < NoiseEnvCount; ++e) {
            out << ',';
            WriteCsvNumber(out, rc.refFa[e][d]);
            out << ',';
            WriteCsvNumber(out, rc.refField[e][d]);
        }
        if (atmosphere)
            WriteAtmosphericColumns(out, *atmosphere, rc.freqGrid[d], rc.log10Freq[d],
                                    bandwidthTerm);
        out << '\n';
    }
    return ExitOk;
}

}  // namespace fw::cli
