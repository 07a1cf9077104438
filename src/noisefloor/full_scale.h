#pragma once
// Samples at the converter's full scale, counted on the format the converter delivers, and
// the rule that refuses an overloaded reading: a clipped capture reads a noise floor that is
// too low and proves nothing about the band.
#include <complex>
#include <cstdint>
#include <span>
#include <string>

namespace fw {

struct FullScaleCount {
    std::uint64_t atFullScale = 0;  // I/Q pairs with I or Q at full scale
    std::uint64_t samples = 0;      // I/Q pairs counted
    FullScaleCount& operator+=(const FullScaleCount& other) {
        atFullScale += other.atFullScale;
        samples += other.samples;
        return *this;
    }
};

// Floats reach full scale at |I| or |Q| >= 1.0. A live CF32 stream converted by the driver
// from integers rarely reaches exactly 1.0, so live captures count from 0.999.
inline constexpr float FloatFullScale = 1.0f;
inline constexpr float LiveFloatFullScale = 0.999f;
// More than one I/Q pair in this many at full scale overloads a reading.
inline constexpr std::uint64_t FullScaleAllowance = 100000;

// Interleaved I, Q of the integer formats: CS16 at -32768/32767, CS8 at -128/127, CU8 at 0/255.
FullScaleCount CountFullScale(std::span<const std::int16_t> interleaved);
FullScaleCount CountFullScale(std::span<const std::int8_t> interleaved);
FullScaleCount CountFullScale(std::span<const std::uint8_t> interleaved);
FullScaleCount CountFullScale(std::span<const std::complex<float>> samples,
                              float fullScale = FloatFullScale);

bool IsOverloaded(const FullScaleCount& count);
// "overload: N of M samples at full scale; lower the gain"
std::string OverloadText(const FullScaleCount& count);

}  // namespace fw
