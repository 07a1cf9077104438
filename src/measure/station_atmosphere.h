#pragma once
// The atmospheric layer of the diagram from the texts the program holds: the station's
// locator and the measurement date and time.
#include <span>
#include <string_view>

#include "measure/itu_coefficient_cache.h"
#include "model/atmospheric_layer.h"

namespace fw {

// The layer over the points of `gridHz` within 0.01-30 MHz for the centre of the locator's
// square, the UTC month and the UTC hour of the local date/time; or the one line that says
// why it cannot be drawn (a locator or date/time that does not parse, a missing or damaged
// coefficient file, implausible figures). A file read unchecked is told by
// coefficients.warning().
Outcome<AtmosphericLayer> StationAtmosphericLayer(std::string_view locator,
                                                  std::string_view measDateTime,
                                                  std::span<const double> gridHz,
                                                  const ItuCoefficientCache& coefficients);

}  // namespace fw
