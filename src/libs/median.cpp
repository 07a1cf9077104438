#include "libs/median.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace fw {

double Quantile(std::span<double> values, double q) {
    if (values.empty()) return std::numeric_limits<double>::quiet_NaN();
    const double position = static_cast<double>(values.size() - 1) * std::clamp(q, 0.0, 1.0);
    const auto lower = static_cast<std::size_t>(std::floor(position));
    std::nth_element(values.begin(), values.begin() + static_cast<std::ptrdiff_t>(lower),
                     values.end());
    const double low = values[lower];
    const double fraction = position - static_cast<double>(lower);
    if (fraction == 0.0) return low;
    // After nth_element everything past `lower` is >= low; its least is the next statistic.
    const double high =
        *std::min_element(values.begin() + static_cast<std::ptrdiff_t>(lower) + 1, values.end());
    return low + fraction * (high - low);
}

double Median(std::span<double> values) {
    return Quantile(values, 0.5);
}

}  // namespace fw
