#pragma once
// IQ recordings as SDR programs write them: a two-channel WAV file (16-bit integers or 32-bit
// floats, the centre frequency in an "auxi" chunk where present) or a SigMF pair
// (.sigmf-meta + .sigmf-data, cf32_le, ci16_le or cu8). Only the headers are read here; the
// samples are streamed by StreamIqSamples.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "model/outcome.h"

namespace fw {

enum class IqSampleFormat { Float32, Int16, UInt8 };

// Sample rates a recording may state; any other is a damaged header.
inline constexpr double MinRecordingRateHz = 8000;
inline constexpr double MaxRecordingRateHz = 200e6;
// A float sample beyond a million times full scale (+120 dBFS) comes from no converter: like
// NaN and infinity, it is named as a sample that is not a finite number.
inline constexpr float MaxSampleMagnitude = 1e6f;

// One SigMF capture: its own centre frequency over its own samples.
struct IqCapture {
    std::uint64_t dataOffset = 0;
    std::uint64_t firstSample = 0;  // core:sample_start
    std::uint64_t sampleCount = 0;
    std::optional<double> centreHz;
};

struct IqRecording {
    std::string dataPath;
    std::uint64_t dataOffset = 0;  // where the first sample starts
    std::uint64_t firstSample = 0;  // the number of that sample in the file, for messages
    std::uint64_t sampleCount = 0;  // whole I/Q pairs
    std::uint64_t headerBytes = 0;  // SigMF: named where the samples read as nonsense
    IqSampleFormat format = IqSampleFormat::Float32;
    double sampleRateHz = 0;
    std::optional<double> centreHz;  // none when the file does not say
    std::vector<IqCapture> captures;  // SigMF: one per capture, in order; WAV: none
    std::vector<std::string> notes;  // what was read in an unusual way, for the user
};

// The parts of a recording measured one by one: each capture of a SigMF recording, or the
// whole recording.
std::vector<IqRecording> IqReadings(const IqRecording& rec);

// "the sample rate of 1 Hz is outside 8 kHz to 200 MHz", or empty for a rate that holds.
std::string RecordingRateProblem(double rateHz);

// Bytes of one I/Q pair.
int IqSampleBytes(IqSampleFormat format);

// Opens a WAV file, or a SigMF recording named by its .sigmf-meta, its .sigmf-data or their
// common base name. A damaged or unsupported file fails with the reason, naming the file.
Outcome<IqRecording> OpenIqRecording(const std::string& path);

// The parts, for the opener and the tests.
Outcome<IqRecording> OpenWavRecording(const std::string& path);
Outcome<IqRecording> OpenSigmfRecording(const std::string& metaPath, const std::string& dataPath);

}  // namespace fw
