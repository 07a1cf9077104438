#include "model/atmospheric_layer.h"

#include <array>
#include <cmath>

namespace fw {

namespace {

constexpr std::array<std::string_view, 12> MonthNames = {
    "January", "February", "March",     "April",   "May",      "June",
    "July",    "August",   "September", "October", "November", "December"};

}  // namespace

std::string AtmosphericLegend(std::string_view place, int month, int utcHour) {
    const std::string_view name =
        month >= 1 && month <= 12 ? MonthNames[month - 1] : std::string_view("?");
    std::string legend = "Atmospheric noise: ";
    legend += place;
    legend += ", ";
    legend += name;
    legend += ", " + std::to_string(utcHour) + " h UTC";
    return legend;
}

AtmosphericLayer BuildAtmosphericLayer(const ItuNoiseCoefficients& c, const AtmosphericSite& site,
                                       std::span<const double> gridHz, std::string legend) {
    AtmosphericLayer layer;
    layer.legend = std::move(legend);
    for (double hz : gridHz) {
        const double mhz = hz / 1e6;
        if (!InAtmosphericRange(mhz)) continue;
        const AtmosphericNoise n = AtmosphericNoiseAt(c, site, mhz);
        if (layer.implausible.empty()) layer.implausible = ImplausibleFigure(n, mhz);
        layer.freqHz.push_back(hz);
        layer.log10Hz.push_back(std::log10(hz));
        layer.fa.push_back(n.fa);
        layer.faUpper.push_back(n.fa + n.du);
        layer.faLower.push_back(n.fa - n.dl);
    }
    return layer;
}

}  // namespace fw
