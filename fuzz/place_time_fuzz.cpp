// Feeds arbitrary text to the locator and the measurement date/time parsers: an accepted
// locator has its centre on the globe and reads back the same, an accepted date/time gives
// a real UTC month, day and hour.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "libs/calendar.h"
#include "measure/maidenhead.h"
#include "measure/utc_hour.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    if (const auto square = fw::ParseMaidenhead(text)) {
        const fw::GeoPoint& c = square->centre;
        if (!(c.latDeg > -90 && c.latDeg < 90 && c.lonDeg > -180 && c.lonDeg < 180)) std::abort();
        const auto again = fw::ParseMaidenhead(square->text);
        if (!again || again->text != square->text || again->centre.latDeg != c.latDeg ||
            again->centre.lonDeg != c.lonDeg)
            std::abort();
    }
    if (const auto utc = fw::MeasDateTimeToUtc(text)) {
        if (!fw::IsCalendarDate(utc->year, utc->month, utc->day) || utc->hour < 0 || utc->hour > 23)
            std::abort();
    }
    return 0;
}
