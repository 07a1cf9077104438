#include "iq/iq_recording.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
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

std::string Le(std::uint64_t value, int width) {
    std::string field;
    PutLe(field, value, width);
    return field;
}

TEST(IqRecording, DamagedOrUnusualRecordingsAreReadWithANoteOrRefusedByName) {
    const std::string wav = WavBytes(Noise(512 * 20), false, Rate, std::nullopt);  // data size at 40
    const auto patched = [&](std::size_t at, std::uint64_t v) { return std::string(wav).replace(at, 4, Le(v, 4)); };
    const auto withSample700 = [](float bad) {
        auto samples = Noise(512 * 20);
        samples[700] = {0.1f, bad};
        return WavBytes(samples, true, Rate, std::nullopt);
    };
    // RF64: the ds64 chunk gives the data size that the data chunk leaves at 0xFFFFFFFF.
    const std::string rf64 = "RF64" + wav.substr(4, 8) + "ds64" + Le(28, 4) + Le(0, 8) +
                             Le(wav.size() - 44, 8) + Le(0, 12) + patched(40, 0xFFFFFFFF).substr(12);
    for (const char* fifo : {"fifo.wav", "fifo.sigmf-meta", "fifodata.sigmf-data"}) ::mkfifo(Temp(fifo).c_str(), 0600);
    WriteBytes(Temp("fifodata.sigmf-meta"), R"({"global": {"core:datatype": "ci16_le", "core:sample_rate": 51200}})");
    WriteBytes(Temp("huge.wav"), wav);
    ASSERT_EQ(::truncate(Temp("huge.wav").c_str(), 5ll << 30), 0);  // sparse
    const struct { std::string name, bytes, reason, note; std::uint64_t samples; } cases[] = {
        {"fifo.wav", "", "not a regular file", "", 0},
        {"fifo.sigmf-meta", "", "not a regular file", "", 0},
        {"fifodata.sigmf-data", "", "not a regular file", "", 0},
        {"nan.wav", withSample700(std::nanf("")), "sample 700 is not a finite number", "", 10240},
        {"inf.wav", withSample700(INFINITY), "sample 700 is not a finite number", "", 10240},
        {"1e30.wav", withSample700(1e30f), "sample 700 is not a finite number", "", 10240},
        {"1hz.wav", patched(24, 1), "the sample rate of 1 Hz is outside 8 kHz to 200 MHz", "", 0},
        {"unfinished.wav", patched(40, 0), "", "read to the end of the file", 10240},
        {"partial.wav", patched(40, wav.size() - 41) + "abc", "", "last 3 bytes", 10240},
        {"rf64.wav", rf64, "", "", 10240},
        {"huge.wav", "", "larger than 4 GB", "", 0},
    };
    for (const auto& c : cases) {
        if (!c.bytes.empty()) WriteBytes(Temp(c.name), c.bytes);
        const auto rec = OpenIqRecording(Temp(c.name));
        const auto noise = rec ? MeasureRecordingNoise(rec.value(), 0) : Outcome<IqNoise>::Fail(rec.reason());
        EXPECT_EQ(rec ? rec->sampleCount : 0, c.samples) << c.name << ": " << rec.reason();
        EXPECT_EQ(noise.ok(), c.reason.empty()) << c.name << ": " << noise.reason();
        EXPECT_NE(noise.reason().find(c.reason), std::string::npos) << c.name << ": " << noise.reason();
        const std::string notes = rec && !rec->notes.empty() ? rec->notes.front() : "";
        EXPECT_TRUE(c.note.empty() ? notes.empty() : notes.find(c.note) != std::string::npos) << c.name << notes;
    }
    ::unlink(Temp("huge.wav").c_str());
}

TEST(IqRecording, EachSigmfCaptureIsItsOwnReadingAndABadHeaderOrRateIsNamed) {
    // Three captures of 5120 samples from sample 1000, the second 10 dB quieter.
    auto samples = Noise(1000 + 3 * 5120);
    for (std::size_t i = 1000 + 5120; i < 1000 + 2 * 5120; ++i) samples[i] /= std::sqrt(10.0f);
    WriteBytes(Temp("multi.sigmf-data"), IqBytes(samples, "cf32_le"));
    const auto meta = [](const std::string& rate, const std::string& captures) {
        WriteBytes(Temp("multi.sigmf-meta"), R"({"global": {"core:datatype": "cf32_le", "core:sample_rate": )" +
                                                 rate + R"(}, "captures": [)" + captures + "]}");
        return OpenIqRecording(Temp("multi"));
    };
    const auto rec = meta("51200", R"({"core:sample_start": 1000, "core:frequency": 7.1e6},
        {"core:sample_start": 6120, "core:frequency": 14.2e6}, {"core:sample_start": 11240, "core:frequency": 21.1e6})");
    ASSERT_TRUE(rec.ok()) << rec.reason();
    const auto parts = IqReadings(rec.value());
    ASSERT_EQ(parts.size(), 3u);
    const struct { double centre, n0Db; } expected[] = {{7.1e6, N0Db}, {14.2e6, N0Db - 10}, {21.1e6, N0Db}};
    for (std::size_t i = 0; i < 3; ++i) {
        EXPECT_TRUE(parts[i].centreHz == expected[i].centre && parts[i].sampleCount == 5120u) << i;
        const auto noise = MeasureRecordingNoise(parts[i], 0);
        EXPECT_NEAR(noise.ok() ? noise->floor.densityDbfsPerHz : 0, expected[i].n0Db, 0.5) << noise.reason();
    }
    const struct { std::string rate, captures, reason; } bad[] = {
        {"0.001", "{}", "the sample rate of 0.001 Hz is outside"},
        {"51200", R"({"core:header_bytes": 4})", "core:header_bytes (4) does not fit the data"},
        {"51200", R"({"core:sample_start": 9}, {"core:sample_start": 3})", "not in the order"},
    };
    for (const auto& c : bad) {
        const std::string reason = meta(c.rate, c.captures).reason();
        EXPECT_NE(reason.find(c.reason), std::string::npos) << c.captures << ": " << reason;
    }
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
