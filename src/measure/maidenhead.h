#pragma once
// The station's place from its Maidenhead locator.
#include <string>
#include <string_view>

#include "model/outcome.h"

namespace fw {

struct GeoPoint {
    double latDeg = 0;  // north positive
    double lonDeg = 0;  // east positive
};

struct LocatorSquare {
    std::string text;  // the locator in its usual spelling: JO40CQ, JO40cq -> JO40CQ
    GeoPoint centre;   // centre of the square
};

// A Maidenhead square of 2, 4, 6 or 8 characters (field A-R, square 0-9, subsquare A-X,
// extended square 0-9), case-insensitive, blanks around it ignored. Any other text gives a
// one-line reason that quotes it.
Outcome<LocatorSquare> ParseMaidenhead(std::string_view text);

}  // namespace fw
