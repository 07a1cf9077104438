#pragma once
// The samples of a recording as complex floats of full scale 1.0, in pieces, so that a
// recording of any length is read in a few megabytes.
#include <complex>
#include <cstdint>
#include <functional>
#include <span>
#include <stop_token>

#include "iq/iq_recording.h"
#include "model/outcome.h"
#include "noisefloor/noise_floor.h"
#include "signature/noise_signature.h"

namespace fw {

// Samples per piece: 8 MB of complex floats.
inline constexpr std::size_t IqPieceSamples = 1u << 20;

using IqSink = std::function<void(std::span<const std::complex<float>>)>;

struct IqStreamed {
    std::uint64_t samples = 0;  // I/Q pairs read
    FullScaleCount fullScale;   // counted on the recording's own format
    bool beyondMiddleCodes = false;  // 8-bit: some code other than 127 and 128 was seen
};

// Reads every sample of `rec` in order and hands it to `sink` in pieces of at most
// IqPieceSamples; what was read, or why reading failed or stopped.
Outcome<IqStreamed> StreamIqSamples(const IqRecording& rec, const IqSink& sink,
                                    std::stop_token stop = {});

// The noise floor of a whole recording and its used bins; `centreHz` labels the bins. An
// overloaded recording is refused unless `allowOverload`, an 8-bit one whose noise stays
// within the two middle codes always.
struct IqNoise {
    NoiseFloor floor;
    std::vector<SpectrumBin> spectrum;
    // The signature of the first SignatureMaxSamples samples, or why there is none.
    Outcome<NoiseSignature> signature = Outcome<NoiseSignature>::Fail("no samples");
};
Outcome<IqNoise> MeasureRecordingNoise(const IqRecording& rec, double centreHz,
                                       bool allowOverload = false, std::stop_token stop = {});

}  // namespace fw
