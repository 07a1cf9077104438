#include "iq/iq_recording.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cmath>

#include "iq/iq_stream.h"
#include "support/iq_files.h"
#include "support/synthetic_iq.h"

namespace fw {
namespace {

using namespace fw::test;

std::string Temp(const std::string& name) { return ::testing::TempDir() + "fw_iq_" + name; }

constexpr double Rate = 51200;  // N = 512
constexpr double N0Db = -60.0;  // FS^2/Hz: a standard deviation of 0.16 FS per component

std::vector<std::complex<float>> Noise(std::size_t count) {
    return SyntheticIq(Rate, std::pow(10.0, N0Db / 10), {}, 7).take(count);
}

TEST(IqRecording, EachFormatGivesItsRateCentreSamplesAndNoiseDensity) {
    const auto samples = Noise(512 * 200);
    WriteBytes(Temp("i16.wav"), WavBytes(samples, false, Rate, 7100000));
    WriteBytes(Temp("f32.wav"), WavBytes(samples, true, Rate, std::nullopt));
    WriteSigmf(Temp("cf32"), samples, "cf32_le", Rate, 14.2e6);
    WriteSigmf(Temp("ci16"), samples, "ci16_le", Rate, 14.2e6);
    WriteSigmf(Temp("cu8"), samples, "cu8", Rate, 14.2e6);
    const struct { std::string path; std::optional<double> centre; float step; } cases[] = {
        {Temp("i16.wav"), 7.1e6, 1 / 32768.0f},
        {Temp("f32.wav"), std::nullopt, 0},
        {Temp("cf32.sigmf-meta"), 14.2e6, 0},
        {Temp("ci16.sigmf-data"), 14.2e6, 1 / 32768.0f},
        {Temp("cu8"), 14.2e6, 1 / 127.5f},
    };
    for (const auto& c : cases) {
        const auto rec = OpenIqRecording(c.path);
        ASSERT_TRUE(rec.ok()) << rec.reason();
        EXPECT_EQ(rec->sampleRateHz, Rate) << c.path;
        EXPECT_EQ(rec->centreHz, c.centre) << c.path;
        ASSERT_EQ(rec->sampleCount, samples.size()) << c.path;
        std::size_t at = 0;
        float worst = 0;
        ASSERT_TRUE(StreamIqSamples(rec.value(), [&](std::span<const std::complex<float>> s) {
                        for (const auto& v : s) worst = std::max(worst, std::abs(v - samples[at++]));
                    }).ok());
        EXPECT_LE(worst, c.step) << c.path;  // within one quantisation step (both parts)
        const auto noise = MeasureRecordingNoise(rec.value(), 0);
        ASSERT_TRUE(noise.ok()) << noise.reason();
        EXPECT_NEAR(noise->floor.densityDbfsPerHz, N0Db, 0.1) << c.path;
    }
}

TEST(IqRecording, DamagedAndUnsupportedFilesAreRefusedWithTheReason) {
    const auto samples = Noise(1024);
    const std::string wav = WavBytes(samples, false, Rate, std::nullopt);
    const struct { std::string name, bytes, reason; } wavs[] = {
        {"text.wav", "hello, this is no recording", "neither a WAV file nor a SigMF recording"},
        {"mono.wav", WavBytes(samples, false, Rate, std::nullopt, 1), "has 1 channels"},
        {"cut.wav", wav.substr(0, wav.size() - 100), "cut short"},
        {"nodata.wav", wav.substr(0, 36), "has no data chunk"},
        {"zerorate.wav", WavBytes(samples, true, 0, std::nullopt), "sample rate is 0"},
        {"pcm8.wav", [&] { std::string b = wav; b[34] = 8; return b; }(), "neither 16-bit integers"},
    };
    for (const auto& c : wavs) {
        WriteBytes(Temp(c.name), c.bytes);
        const auto rec = OpenIqRecording(Temp(c.name));
        EXPECT_NE(rec.reason().find(c.reason), std::string::npos) << c.name << ": " << rec.reason();
    }
    const struct { std::string meta, reason; } metas[] = {
        {"{\"global\": ", "not valid JSON"},
        {R"({"global": {"core:datatype": "ri16_le", "core:sample_rate": 1e6}})", "\"ri16_le\" is not supported"},
        {R"({"global": {"core:datatype": "cu8"}})", "core:sample_rate is missing"},
        {R"({"global": {"core:datatype": "cu8", "core:sample_rate": 1e6, "core:num_channels": 2}})", "more than one channel"},
    };
    for (const auto& c : metas) {
        WriteBytes(Temp("bad.sigmf-meta"), c.meta);
        const auto rec = OpenIqRecording(Temp("bad.sigmf-data"));
        EXPECT_NE(rec.reason().find(c.reason), std::string::npos) << c.meta << ": " << rec.reason();
    }
    WriteSigmf(Temp("lonely"), samples, "cu8", Rate, 1e6);
    ::unlink(Temp("lonely.sigmf-data").c_str());
    EXPECT_NE(OpenIqRecording(Temp("lonely")).reason().find("No such file"), std::string::npos);
}

TEST(IqRecording, ALongRecordingStreamsInBoundedPiecesAndAFileCutWhileReadingFails) {
    const std::size_t count = IqPieceSamples * 2 + 1000;
    WriteBytes(Temp("long.wav"), WavBytes(Noise(count), false, Rate, std::nullopt));
    const auto rec = OpenIqRecording(Temp("long.wav"));
    ASSERT_TRUE(rec.ok()) << rec.reason();
    std::vector<std::size_t> pieces;
    const auto read = StreamIqSamples(rec.value(), [&](auto s) { pieces.push_back(s.size()); });
    EXPECT_EQ(read->samples, count);
    EXPECT_EQ(pieces, (std::vector<std::size_t>{IqPieceSamples, IqPieceSamples, 1000}));
    ASSERT_EQ(::truncate(Temp("long.wav").c_str(), 4 * IqPieceSamples), 0);
    EXPECT_NE(StreamIqSamples(rec.value(), [](auto) {}).reason().find("ended early"), std::string::npos);
}

}  // namespace
}  // namespace fw
