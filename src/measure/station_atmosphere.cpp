#include "measure/station_atmosphere.h"

#include "measure/maidenhead.h"
#include "measure/utc_hour.h"

namespace fw {

Outcome<AtmosphericLayer> StationAtmosphericLayer(std::string_view locator,
                                                  std::string_view measDateTime,
                                                  std::span<const double> gridHz,
                                                  const ItuCoefficientCache& coefficients) {
    using Result = Outcome<AtmosphericLayer>;
    constexpr std::string_view Prefix = "No atmospheric noise: ";
    const Outcome<LocatorSquare> square = ParseMaidenhead(locator);
    if (!square) return Result::Fail(std::string(Prefix) + square.reason());
    const Outcome<UtcHour> utc = MeasDateTimeToUtc(measDateTime);
    if (!utc) return Result::Fail(std::string(Prefix) + utc.reason());
    const auto kept = coefficients.Month(utc->month);
    const Outcome<ItuNoiseCoefficients>& c = *kept;
    if (!c) return Result::Fail(std::string(Prefix) + c.reason());

    const GeoPoint& at = square->centre;
    const AtmosphericSite site = MakeAtmosphericSite(c.value(), at.latDeg, at.lonDeg, utc->hour);
    AtmosphericLayer layer = BuildAtmosphericLayer(
        c.value(), site, gridHz, AtmosphericLegend(square->text, utc->month, utc->hour));
    if (!layer.implausible.empty())
        return Result::Fail(std::string(Prefix) +
                            coefficients.ImplausibleText(utc->month, layer.implausible));
    return Result::Ok(std::move(layer));
}

}  // namespace fw
