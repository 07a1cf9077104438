#include "monitor/duration_text.h"

#include <cstdint>

namespace fw {

std::optional<std::chrono::seconds> ParseDurationText(std::string_view text) {
    constexpr std::int64_t limit = 100LL * 366 * 86400;
    if (text.empty()) return std::nullopt;
    std::int64_t total = 0;
    int lastUnit = 1 << 30;  // units must come largest first, each once
    std::size_t i = 0;
    while (i < text.size()) {
        std::int64_t number = 0;
        const std::size_t digitsStart = i;
        for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
            number = number * 10 + (text[i] - '0');
            if (number > limit) return std::nullopt;
        }
        if (i == digitsStart) return std::nullopt;
        int unit = 1;
        if (i < text.size()) {
            switch (text[i]) {
                case 's':
                    unit = 1;
                    break;
                case 'm':
                    unit = 60;
                    break;
                case 'h':
                    unit = 3600;
                    break;
                case 'd':
                    unit = 86400;
                    break;
                default:
                    return std::nullopt;
            }
            ++i;
        } else if (digitsStart != 0) {
            return std::nullopt;  // "1h30": a bare number only stands alone
        }
        if (unit >= lastUnit) return std::nullopt;
        lastUnit = unit;
        total += number * unit;
        if (total > limit) return std::nullopt;
    }
    if (total == 0) return std::nullopt;
    return std::chrono::seconds(total);
}

}  // namespace fw
