// Feeds arbitrary text to the coefficient parser and computes the noise of every accepted
// file at a few places, hours and frequencies: the computation must not fail, and every
// figure that passes the plausibility check must be a finite number within its range.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "model/atmospheric_noise.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const auto parsed = fw::ParseItuCoefficients(text, "fuzz");
    if (!parsed) return 0;
    const struct {
        double lat, lon;
        int hour;
    } sites[] = {{50.7, 8.2, 13}, {-33.9, 151.2, 0}, {89.9, -179.9, 23}, {0, 0, 6}};
    for (const auto& s : sites) {
        const fw::AtmosphericSite site =
            fw::MakeAtmosphericSite(parsed.value(), s.lat, s.lon, s.hour);
        for (const double mhz : {0.01, 0.1, 3.65, 14.175, 30.0}) {
            const fw::AtmosphericNoise n = fw::AtmosphericNoiseAt(parsed.value(), site, mhz);
            if (!fw::ImplausibleFigure(n, mhz).empty()) continue;
            for (const double v : {n.fa, n.du, n.dl, n.sigmaFam, n.sigmaDu, n.sigmaDl})
                if (!std::isfinite(v)) std::abort();
            if (n.fa < fw::PlausibleFaLowDb || n.fa > fw::PlausibleFaHighDb) std::abort();
        }
    }
    return 0;
}
