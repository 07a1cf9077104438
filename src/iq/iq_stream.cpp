#include "iq/iq_stream.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <limits>
#include <optional>
#include <vector>

#include "iq/byte_file.h"

namespace fw {

namespace {

bool Int16AtFullScale(std::int16_t v) {
    return v == std::numeric_limits<std::int16_t>::min() || v == std::numeric_limits<std::int16_t>::max();
}

bool Absurd(float v) { return !(std::fabs(v) <= MaxSampleMagnitude); }  // NaN too

// Converts one piece and adds its full-scale count to `streamed`; the index in the piece of
// a float sample that is not a finite number, if any.
std::optional<std::size_t> Convert(IqSampleFormat format, std::span<const std::byte> raw,
                                   std::span<std::complex<float>> out, IqStreamed& streamed) {
    const std::byte* p = raw.data();
    switch (format) {
        case IqSampleFormat::Float32: {
            bool absurd = false;
            for (auto& s : out) {
                s = {std::bit_cast<float>(LittleU32(p)), std::bit_cast<float>(LittleU32(p + 4))};
                absurd |= Absurd(s.real()) | Absurd(s.imag());
                p += 8;
            }
            if (absurd) {
                const auto bad = std::find_if(out.begin(), out.end(), [](const auto& s) {
                    return Absurd(s.real()) || Absurd(s.imag());
                });
                return static_cast<std::size_t>(bad - out.begin());
            }
            streamed.fullScale += CountFullScale(out);
            return std::nullopt;
        }
        case IqSampleFormat::Int16:
            for (auto& s : out) {
                const auto i = static_cast<std::int16_t>(LittleU16(p));
                const auto q = static_cast<std::int16_t>(LittleU16(p + 2));
                streamed.fullScale.atFullScale += Int16AtFullScale(i) || Int16AtFullScale(q);
                s = {i / 32768.0f, q / 32768.0f};
                p += 4;
            }
            streamed.fullScale.samples += out.size();
            return std::nullopt;
        case IqSampleFormat::UInt8: {
            const std::span codes(reinterpret_cast<const std::uint8_t*>(p), 2 * out.size());
            streamed.fullScale += CountFullScale(codes);
            // Offset binary around 127.5, as 8-bit receivers deliver it.
            for (std::size_t k = 0; k < out.size(); ++k) {
                const int i = codes[2 * k];
                const int q = codes[2 * k + 1];
                streamed.beyondMiddleCodes |= (i != 127 && i != 128) || (q != 127 && q != 128);
                out[k] = {(i - 127.5f) / 127.5f, (q - 127.5f) / 127.5f};
            }
            return std::nullopt;
        }
    }
    return std::nullopt;
}

}  // namespace

Outcome<IqStreamed> StreamIqSamples(const IqRecording& rec, const IqSink& sink,
                                    std::stop_token stop) {
    using Result = Outcome<IqStreamed>;
    ByteFile file(rec.dataPath);
    if (!file.error().empty()) return Result::Fail("Cannot open " + file.error() + ".");
    const auto sampleBytes = static_cast<std::size_t>(IqSampleBytes(rec.format));
    // A short recording needs no more than its own samples.
    const auto piece = static_cast<std::size_t>(std::min<std::uint64_t>(IqPieceSamples, rec.sampleCount));
    std::vector<std::byte> raw(piece * sampleBytes);
    std::vector<std::complex<float>> samples(piece);
    IqStreamed streamed;
    std::uint64_t& done = streamed.samples;
    while (done < rec.sampleCount) {
        if (stop.stop_requested()) return Result::Fail("Cancelled");
        const auto count = static_cast<std::size_t>(
            std::min<std::uint64_t>(piece, rec.sampleCount - done));
        const std::span<std::byte> want(raw.data(), count * sampleBytes);
        const std::int64_t got = file.readAt(rec.dataOffset + done * sampleBytes, want);
        if (got < 0) return Result::Fail("Cannot read " + file.error() + ".");
        if (static_cast<std::size_t>(got) != want.size()) {
            return Result::Fail("Cannot read " + rec.dataPath +
                                                ": the file ended early (was it cut while reading?).");
        }
        if (const auto bad = Convert(rec.format, want, std::span(samples).first(count), streamed)) {
            const std::string header = rec.headerBytes == 0 ? "" :
                "; is core:header_bytes (" + std::to_string(rec.headerBytes) + ") right?";
            return Result::Fail("Cannot use the recording " + rec.dataPath + ": sample " +
                                std::to_string(rec.firstSample + done + *bad) + " is not a finite number" +
                                header + ".");
        }
        sink(std::span<const std::complex<float>>(samples.data(), count));
        done += count;
    }
    return Result::Ok(streamed);
}

Outcome<IqNoise> MeasureRecordingNoise(const IqRecording& rec, double centreHz,
                                       bool allowOverload, std::stop_token stop) {
    NoiseFloorEstimator estimator(rec.sampleRateHz, centreHz);
    estimator.keepTransforms(SignatureMaxSamples);
    const auto read = StreamIqSamples(
        rec, [&](std::span<const std::complex<float>> s) { estimator.add(s); }, stop);
    if (!read) return Outcome<IqNoise>::Fail(read.reason());
    estimator.addFullScale(read->fullScale);
    if (rec.format == IqSampleFormat::UInt8 && !read->beyondMiddleCodes && read->samples > 0) {
        return Outcome<IqNoise>::Fail(rec.dataPath +
                                      ": the level is below the converter's resolution (every sample "
                                      "is code 127 or 128); raise the gain");
    }
    auto floor = estimator.result(allowOverload);
    if (!floor) return Outcome<IqNoise>::Fail(rec.dataPath + ": " + floor.reason());
    IqNoise noise{floor.value(), estimator.usedSpectrum()};
    noise.signature = ComputeSignature(estimator, noise.floor, noise.spectrum);
    return Outcome<IqNoise>::Ok(std::move(noise));
}

}  // namespace fw
