// floorwatch-cli noise: the atmospheric, man-made, galactic and total noise of one place,
// hour, environment and frequency, as the ITU-R reference software computes them.
#include <ostream>

#include "cli/commands.h"
#include "cli/csv_number.h"
#include "cli/place_time_options.h"
#include "libs/real_text.h"
#include "model/noise_total.h"

namespace fw::cli {

namespace {

NoiseEnvId EnvironmentFromName(const std::string& name) {
    const struct {
        const char* name;
        NoiseEnvId env;
    } names[] = {{"city", NoiseEnvId::City},
                 {"residential", NoiseEnvId::Residential},
                 {"rural", NoiseEnvId::Rural},
                 {"quiet_rural", NoiseEnvId::QuietRural}};
    for (const auto& n : names)
        if (name == n.name) return n.env;
    throw Refusal("--env must be city, residential, rural or quiet_rural, not \"" + name + "\"!");
}

double ParseFrequencyMHz(const std::string& text) {
    const auto v = ParseRealPointOrComma(text);
    if (!v || !(*v > 0))
        throw Refusal("--freq must be a frequency in MHz above 0, not \"" +
                      text + "\"!");
    return *v;
}

}  // namespace

int CmdNoise(ArgList& args, std::ostream& out, std::ostream& err) {
    const PlaceTime at = TakePlaceTime(args);
    const auto freq = args.takeOption("--freq");
    const auto env = args.takeOption("--env");
    const auto ituData = args.takeOption("--itu-data");
    args.expectEmpty();
    if (!freq) throw UsageError("noise needs --freq MHZ");

    const double freqMHz = ParseFrequencyMHz(*freq);
    const NoiseEnvId environment = EnvironmentFromName(env.value_or("rural"));
    const auto store = ItuCoefficientsFor(ituData);
    const ItuCoefficientCache& cache = *store;
    const ItuNoiseCoefficients& c = CoefficientsOrRefuse(cache, at.month, err);
    const NoiseBreakdown b = ComputeNoiseBreakdown(
        c, MakeAtmosphericSite(c, at.latDeg, at.lonDeg, at.utcHour), environment, freqMHz);
    if (b.atmospheric) RefuseImplausible(cache, at.month, *b.atmospheric, freqMHz);

    out << "FaA_dB,DuA_dB,DlA_dB,SigmaFam_dB,SigmaDu_dB,SigmaDl_dB,FaM_dB,DuM_dB,DlM_dB,"
           "FaG_dB,DuG_dB,DlG_dB,FamT_dB,DuT_dB,DlT_dB\n";
    if (b.atmospheric) {
        const AtmosphericNoise& a = *b.atmospheric;
        for (double v : {a.fa, a.du, a.dl, a.sigmaFam, a.sigmaDu, a.sigmaDl}) {
            WriteCsvNumber(out, v);
            out << ',';
        }
    } else {
        out << ",,,,,,";  // no atmospheric figures outside 0.01-30 MHz
    }
    const double rest[] = {b.manMade.fa,  b.manMade.du, b.manMade.dl, b.galactic.fa, b.galactic.du,
                           b.galactic.dl, b.total.fam,  b.total.du,   b.total.dl};
    for (std::size_t i = 0; i < std::size(rest); ++i) {
        if (i > 0) out << ',';
        WriteCsvNumber(out, rest[i]);
    }
    out << '\n';
    return ExitOk;
}

}  // namespace fw::cli
