#include "iq/iq_stream.h"

#include <bit>
#include <vector>

#include "iq/byte_file.h"

namespace fw {

namespace {

void Convert(IqSampleFormat format, std::span<const std::byte> raw,
             std::span<std::complex<float>> out) {
    const std::byte* p = raw.data();
    switch (format) {
        case IqSampleFormat::Float32:
            for (auto& s : out) {
                s = {std::bit_cast<float>(LittleU32(p)), std::bit_cast<float>(LittleU32(p + 4))};
                p += 8;
            }
            return;
        case IqSampleFormat::Int16:
            for (auto& s : out) {
                s = {static_cast<std::int16_t>(LittleU16(p)) / 32768.0f,
                     static_cast<std::int16_t>(LittleU16(p + 2)) / 32768.0f};
                p += 4;
            }
            return;
        case IqSampleFormat::UInt8:
            // Offset binary around 127.5, as 8-bit receivers deliver it.
            for (auto& s : out) {
                s = {(std::to_integer<int>(p[0]) - 127.5f) / 127.5f,
                     (std::to_integer<int>(p[1]) - 127.5f) / 127.5f};
                p += 2;
            }
            return;
    }
}

}  // namespace

Outcome<std::uint64_t> StreamIqSamples(const IqRecording& rec, const IqSink& sink,
                                       std::stop_token stop) {
    ByteFile file(rec.dataPath);
    if (!file.error().empty()) return Outcome<std::uint64_t>::Fail("Cannot open " + file.error() + ".");
    const auto sampleBytes = static_cast<std::size_t>(IqSampleBytes(rec.format));
    // A short recording needs no more than its own samples.
    const auto piece = static_cast<std::size_t>(std::min<std::uint64_t>(IqPieceSamples, rec.sampleCount));
    std::vector<std::byte> raw(piece * sampleBytes);
    std::vector<std::complex<float>> samples(piece);
    std::uint64_t done = 0;
    while (done < rec.sampleCount) {
        if (stop.stop_requested()) return Outcome<std::uint64_t>::Fail("Cancelled");
        const auto count = static_cast<std::size_t>(
            std::min<std::uint64_t>(piece, rec.sampleCount - done));
        const std::span<std::byte> want(raw.data(), count * sampleBytes);
        const std::int64_t got = file.readAt(rec.dataOffset + done * sampleBytes, want);
        if (got < 0) return Outcome<std::uint64_t>::Fail("Cannot read " + file.error() + ".");
        if (static_cast<std::size_t>(got) != want.size()) {
            return Outcome<std::uint64_t>::Fail("Cannot read " + rec.dataPath +
                                                ": the file ended early (was it cut while reading?).");
        }
        Convert(rec.format, want, std::span(samples).first(count));
        sink(std::span<const std::complex<float>>(samples.data(), count));
        done += count;
    }
    return Outcome<std::uint64_t>::Ok(done);
}

Outcome<IqNoise> MeasureRecordingNoise(const IqRecording& rec, double centreHz,
                                       std::stop_token stop) {
    NoiseFloorEstimator estimator(rec.sampleRateHz, centreHz);
    const auto read = StreamIqSamples(
        rec, [&](std::span<const std::complex<float>> s) { estimator.add(s); }, stop);
    if (!read) return Outcome<IqNoise>::Fail(read.reason());
    auto floor = estimator.result();
    if (!floor) return Outcome<IqNoise>::Fail(rec.dataPath + ": " + floor.reason());
    return Outcome<IqNoise>::Ok({floor.value(), estimator.usedSpectrum()});
}

}  // namespace fw
