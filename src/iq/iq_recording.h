#pragma once
// IQ recordings as SDR programs write them: a two-channel WAV file (16-bit integers or 32-bit
// floats, the centre frequency in an "auxi" chunk where present) or a SigMF pair
// (.sigmf-meta + .sigmf-data, cf32_le, ci16_le or cu8). Only the headers are read here; the
// samples are streamed by StreamIqSamples.
#include <cstdint>
#include <optional>
#include <string>

#include "model/outcome.h"

namespace fw {

enum class IqSampleFormat { Float32, Int16, UInt8 };

struct IqRecording {
    std::string dataPath;
    std::uint64_t dataOffset = 0;  // where the first sample starts
    std::uint64_t sampleCount = 0;  // whole I/Q pairs
    IqSampleFormat format = IqSampleFormat::Float32;
    double sampleRateHz = 0;
    std::optional<double> centreHz;  // none when the file does not say
};

// Bytes of one I/Q pair.
int IqSampleBytes(IqSampleFormat format);

// Opens a WAV file, or a SigMF recording named by its .sigmf-meta, its .sigmf-data or their
// common base name. A damaged or unsupported file fails with the reason, naming the file.
Outcome<IqRecording> OpenIqRecording(const std::string& path);

// The parts, for the opener and the tests.
Outcome<IqRecording> OpenWavRecording(const std::string& path);
Outcome<IqRecording> OpenSigmfRecording(const std::string& metaPath, const std::string& dataPath);

}  // namespace fw
