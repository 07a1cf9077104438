#include "measure/maidenhead.h"

#include <cctype>

#include "libs/calendar.h"

namespace fw {

namespace {

// A letter from 'A' up to `lastLetter` (either case) as 0.., or -1.
int LetterIndex(char c, char lastLetter) {
    const char upper = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return upper >= 'A' && upper <= lastLetter ? upper - 'A' : -1;
}

int DigitIndex(char c) {
    return c >= '0' && c <= '9' ? c - '0' : -1;
}

}  // namespace

Outcome<LocatorSquare> ParseMaidenhead(std::string_view text) {
    const std::string_view s = TrimBlanks(text);
    const auto refuse = [&] {
        return Outcome<LocatorSquare>::Fail(
            "The locator \"" + std::string(text) +
            "\" is no Maidenhead square of 2, 4, 6 or 8 characters such as JO40CQ.");
    };
    if (s.size() != 2 && s.size() != 4 && s.size() != 6 && s.size() != 8) return refuse();

    // Each pair narrows the square: longitude and latitude step, and how a character reads.
    struct Pair {
        double lonStep, latStep;
        bool letters;
        char lastLetter;
    };
    constexpr Pair pairs[] = {
        {20.0, 10.0, true, 'R'},
        {2.0, 1.0, false, 0},
        {2.0 / 24, 1.0 / 24, true, 'X'},
        {2.0 / 240, 1.0 / 240, false, 0},
    };
    LocatorSquare square;
    double lon = -180.0, lat = -90.0, lonStep = 0, latStep = 0;
    for (std::size_t i = 0; i * 2 < s.size(); ++i) {
        const Pair& p = pairs[i];
        const int x = p.letters ? LetterIndex(s[2 * i], p.lastLetter) : DigitIndex(s[2 * i]);
        const int y =
            p.letters ? LetterIndex(s[2 * i + 1], p.lastLetter) : DigitIndex(s[2 * i + 1]);
        if (x < 0 || y < 0) return refuse();
        lon += x * p.lonStep;
        lat += y * p.latStep;
        lonStep = p.lonStep;
        latStep = p.latStep;
        // One spelling for the legend: all upper case.
        square.text += static_cast<char>(std::toupper(static_cast<unsigned char>(s[2 * i])));
        square.text += static_cast<char>(std::toupper(static_cast<unsigned char>(s[2 * i + 1])));
    }
    square.centre = {lat + latStep / 2, lon + lonStep / 2};
    return Outcome<LocatorSquare>::Ok(std::move(square));
}

}  // namespace fw
