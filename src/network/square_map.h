#pragma once
// The noise per locator square as a picture: the squares on a latitude/longitude grid in the
// colour of their Fa, a colour scale, the locator fields' names and the stations as dots.
#include <string>
#include <vector>

#include "diagram/picture.h"
#include "network/hourly_questions.h"

namespace fw {

// The colour of `value` on a scale from `low` (blue) over green and yellow to `high` (red).
Rgb ScaleColour(double value, double low, double high);

// The map; `title` above it. An empty list gives the grid of the field JO with the title.
DiagramPicture DrawSquareMap(const std::vector<SquareValue>& squares, const std::string& title);

}  // namespace fw
