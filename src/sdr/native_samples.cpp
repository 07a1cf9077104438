#include "sdr/native_samples.h"

#include <SoapySDR/Formats.hpp>

#include <cstdint>
#include <cstring>
#include <vector>

namespace fw::sdr {

namespace {

// Interleaved integers of type T at `offset`, scaled as the recordings' readers scale them.
template <class T>
FullScaleCount Convert(std::span<const std::byte> raw, std::span<std::complex<float>> out,
                       float offset, float scale) {
    std::vector<T> codes(out.size() * 2);
    if (!codes.empty()) std::memcpy(codes.data(), raw.data(), codes.size() * sizeof(T));
    for (std::size_t k = 0; k < out.size(); ++k)
        out[k] = {(codes[2 * k] - offset) / scale, (codes[2 * k + 1] - offset) / scale};
    return CountFullScale(std::span<const T>(codes));
}

}  // namespace

SampleFormat ReadFormatFor(const std::string& nativeFormat) {
    if (nativeFormat == SOAPY_SDR_CS16) return SampleFormat::CS16;
    if (nativeFormat == SOAPY_SDR_CS8) return SampleFormat::CS8;
    if (nativeFormat == SOAPY_SDR_CU8) return SampleFormat::CU8;
    return SampleFormat::CF32;
}

const char* FormatName(SampleFormat format) {
    switch (format) {
        case SampleFormat::CS16:
            return SOAPY_SDR_CS16;
        case SampleFormat::CS8:
            return SOAPY_SDR_CS8;
        case SampleFormat::CU8:
            return SOAPY_SDR_CU8;
        case SampleFormat::CF32:
            break;
    }
    return SOAPY_SDR_CF32;
}

std::size_t PairBytes(SampleFormat format) {
    switch (format) {
        case SampleFormat::CS16:
            return 4;
        case SampleFormat::CS8:
        case SampleFormat::CU8:
            return 2;
        case SampleFormat::CF32:
            break;
    }
    return sizeof(std::complex<float>);
}

FullScaleCount ConvertPairs(SampleFormat format, std::span<const std::byte> raw,
                            std::span<std::complex<float>> out) {
    switch (format) {
        case SampleFormat::CS16:
            return Convert<std::int16_t>(raw, out, 0, 32768);
        case SampleFormat::CS8:
            return Convert<std::int8_t>(raw, out, 0, 128);
        case SampleFormat::CU8:
            // Offset binary around 127.5, as 8-bit receivers deliver it.
            return Convert<std::uint8_t>(raw, out, 127.5f, 127.5f);
        case SampleFormat::CF32:
            break;
    }
    std::memcpy(out.data(), raw.data(), out.size_bytes());
    return CountFullScale(std::span<const std::complex<float>>(out), LiveFloatFullScale);
}

}  // namespace fw::sdr
