#pragma once
// A live capture read in the receiver's own sample format where it offers one of the integer
// formats, so that full scale is its converter's: a CS8 stream converted to CF32 by the driver
// never reaches 1.0, and an overload would go unseen.
#include <complex>
#include <cstddef>
#include <span>
#include <string>

#include "noisefloor/full_scale.h"

namespace fw::sdr {

enum class SampleFormat { CF32, CS16, CS8, CU8 };

// The format a stream is read in, from the device's native one ("CS16", ...): that one when
// it is an integer format of these, else CF32.
SampleFormat ReadFormatFor(const std::string& nativeFormat);
// SoapySDR's name of it and the bytes of one I/Q pair.
const char* FormatName(SampleFormat format);
std::size_t PairBytes(SampleFormat format);

// The I/Q pairs in `raw` (of `format`) as floats at full scale 1 into `out` (as many), and
// how many of them lie at the converter's full scale (CF32: |I| or |Q| >= 0.999).
FullScaleCount ConvertPairs(SampleFormat format, std::span<const std::byte> raw,
                            std::span<std::complex<float>> out);

}  // namespace fw::sdr
