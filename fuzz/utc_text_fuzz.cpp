// The station log's UTC texts both ways: any stored time converts without overflow and a log
// time's stamp reads back as its minute; an accepted --from/--to text prints as itself.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string_view>

#include "stationlog/utc_text.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fw::UtcSeconds t = 0;
    std::memcpy(&t, data, std::min(size, sizeof t));
    const std::string stamp = fw::UtcStampText(t);
    if (fw::UtcHourOfDay(t) < 0 || fw::UtcHourOfDay(t) > 23) std::abort();
    if (fw::IsLogTime(t)) {
        const auto minute = fw::ParseUtcMinute(stamp.substr(0, 16));
        if (!minute || *minute != t - t % 60 || fw::UtcSecondsOf(fw::UtcFieldsOf(t)) != t)
            std::abort();
    }
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    if (const auto parsed = fw::ParseUtcMinute(text))
        if (fw::UtcStampText(*parsed).substr(0, 16) != text) std::abort();
    return 0;
}
