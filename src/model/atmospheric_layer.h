#pragma once
// The atmospheric noise of one place and hour over the diagram's frequency grid, computed
// once so that a redraw only converts and draws it.
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "model/atmospheric_noise.h"

namespace fw {

struct AtmosphericLayer {
    std::string legend;           // names the place, the month and the UTC hour
    std::vector<double> freqHz;   // the grid points from 0.01 to 30 MHz, ascending
    std::vector<double> log10Hz;  // decimal logarithm of each
    std::vector<double> fa;       // median, dB above kT0b
    std::vector<double> faUpper;  // upper decile: fa + Du
    std::vector<double> faLower;  // lower decile: fa - Dl
    // Empty, or the first figure that ImplausibleFigure refuses: the layer is not to be drawn.
    std::string implausible;
};

// The noise field strength in dB(uV/m) of a noise figure `fa` at the frequency whose decimal
// logarithm in Hz is `log10Hz`, with the bandwidth term 10 log10(B): the relation of the
// reference curves, fa + 20 log10(f / MHz) + 10 log10(B) - 98.9.
inline double FieldOfNoiseFigure(double fa, double log10Hz, double bandwidthTermDb) {
    return fa + 20.0 * (log10Hz - 6.0) + bandwidthTermDb - 98.9;
}

// "Atmospheric noise: JO40CQ, January, 13 h UTC".
std::string AtmosphericLegend(std::string_view place, int month, int utcHour);

// The layer for the points of `gridHz` within 0.01-30 MHz.
AtmosphericLayer BuildAtmosphericLayer(const ItuNoiseCoefficients& c, const AtmosphericSite& site,
                                       std::span<const double> gridHz, std::string legend);

}  // namespace fw
