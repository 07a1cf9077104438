#include "noisefloor/full_scale.h"

#include <cmath>

namespace fw {

namespace {

template <class T>
FullScaleCount CountPairs(std::span<const T> interleaved, T low, T high) {
    FullScaleCount c;
    c.samples = interleaved.size() / 2;
    for (std::size_t i = 0; i + 1 < interleaved.size(); i += 2) {
        const T a = interleaved[i];
        const T b = interleaved[i + 1];
        c.atFullScale += (a == low) | (a == high) | (b == low) | (b == high);
    }
    return c;
}

}  // namespace

FullScaleCount CountFullScale(std::span<const std::int16_t> interleaved) {
    return CountPairs<std::int16_t>(interleaved, -32768, 32767);
}

FullScaleCount CountFullScale(std::span<const std::int8_t> interleaved) {
    return CountPairs<std::int8_t>(interleaved, -128, 127);
}

FullScaleCount CountFullScale(std::span<const std::uint8_t> interleaved) {
    return CountPairs<std::uint8_t>(interleaved, 0, 255);
}

FullScaleCount CountFullScale(std::span<const std::complex<float>> samples, float fullScale) {
    FullScaleCount c;
    c.samples = samples.size();
    for (const auto& s : samples)
        c.atFullScale += (std::fabs(s.real()) >= fullScale) | (std::fabs(s.imag()) >= fullScale);
    return c;
}

bool IsOverloaded(const FullScaleCount& count) {
    // More than samples / allowance, exactly, for whole counts.
    return count.atFullScale > count.samples / FullScaleAllowance;
}

std::string OverloadText(const FullScaleCount& count) {
    return "overload: " + std::to_string(count.atFullScale) + " of " + std::to_string(count.samples) +
           " samples at full scale; lower the gain";
}

}  // namespace fw
