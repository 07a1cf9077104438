// The SDR noise estimate: one second of 2.048 MS/s from a 16-bit WAV recording, analysed,
// beside a baseline that only reads the same samples; the counter of_real_time is the CPU
// time per second of samples (1/50 = 0.02 at most). Then the peak memory of analysing a 1 GB
// recording. Then end to end: floorwatch-cli iq noise on that second as a program of its own,
// with the FFT wisdom kept from an earlier run and on a first run without it, each as a ratio
// to reading the file (cat), in the CPU time of the child programs (a busy machine stretches
// wall time).
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <sys/resource.h>
#include <unistd.h>

#include <cstdlib>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "iq/iq_stream.h"
#include "libs/process_start.h"
#include "support/iq_files.h"
#include "support/synthetic_iq.h"

namespace {

constexpr double Rate = 2.048e6;

std::string TempFile(const std::string& name) {
    return (std::filesystem::temp_directory_path() /
            ("fw-bench-" + std::to_string(getpid()) + "-" + name)).string();
}

// A file removed when the program ends.
struct BenchFile {
    std::string path;
    ~BenchFile() { std::filesystem::remove(path); }
};

const fw::IqRecording& OneSecond() {
    static const BenchFile file{TempFile("one-second.wav")};
    static const fw::IqRecording rec = [] {
        const auto samples = fw::test::SyntheticIq(Rate, 1e-9, {{1000, 1e-3}}, 3).take(Rate);
        fw::test::WriteBytes(file.path, fw::test::WavBytes(samples, false, Rate, 7100000));
        return fw::OpenIqRecording(file.path).value();
    }();
    return rec;
}

void IqNoise_Baseline(benchmark::State& state) {
    for (auto _ : state) {
        float sum = 0;
        const auto read = fw::StreamIqSamples(OneSecond(), [&](auto s) { sum += s.back().real(); });
        benchmark::DoNotOptimize(sum);
        if (!read) state.SkipWithError(read.reason().c_str());
    }
}

void IqNoise(benchmark::State& state) {
    for (auto _ : state) {
        const auto noise = fw::MeasureRecordingNoise(OneSecond(), 7.1e6);
        if (!noise) state.SkipWithError(noise.reason().c_str());
        benchmark::DoNotOptimize(noise);
    }
    // Seconds of CPU per second of samples.
    state.counters["of_real_time"] = benchmark::Counter(
        1.0, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

// A field of /proc/self/status in kB ("VmRSS", "VmHWM").
long StatusKb(const std::string& field) {
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind(field + ":", 0) == 0) return std::stol(line.substr(field.size() + 1));
    return 0;
}

// 1 GB of 16-bit samples: noise in the first 16 MB, the rest a hole that reads as zeros, so
// the file costs no disk. The process's peak resident memory is reset before the analysis
// (clear_refs), so the peak afterwards less the memory before is what the analysis needed.
void IqNoiseOneGigabyteMemory(benchmark::State& state) {
    const BenchFile file{TempFile("one-gigabyte.wav")};
    const std::uint32_t samples = (1u << 30) / 4;
    const auto noise = fw::test::SyntheticIq(Rate, 1e-9, {}, 5).take(1u << 22);
    std::string bytes = fw::test::WavBytes(noise, false, Rate, 7100000);
    // The header claims the whole gigabyte; the file is extended to it below.
    const std::size_t dataSizeAt = bytes.find("data") + 4;
    for (int i = 0; i < 4; ++i) bytes[dataSizeAt + i] = static_cast<char>((samples * 4u) >> (8 * i));
    fw::test::WriteBytes(file.path, bytes);
    std::filesystem::resize_file(file.path, dataSizeAt + 4 + std::uint64_t{samples} * 4);

    const auto rec = fw::OpenIqRecording(file.path);
    if (!rec) return state.SkipWithError(rec.reason().c_str());
    for (auto _ : state) {
        const long before = StatusKb("VmRSS");
        std::ofstream("/proc/self/clear_refs") << "5";
        if (!fw::MeasureRecordingNoise(rec.value(), 7.1e6)) state.SkipWithError("analysis failed");
        state.counters["analysis_peak_MB"] = (StatusKb("VmHWM") - before) / 1024.0;
    }
}

double ChildrenCpuSeconds() {
    rusage use{};
    getrusage(RUSAGE_CHILDREN, &use);
    const auto seconds = [](const timeval& t) { return static_cast<double>(t.tv_sec) + t.tv_usec / 1e6; };
    return seconds(use.ru_utime) + seconds(use.ru_stime);
}

// CPU seconds of running `program` with its output sent to /dev/null.
double SecondsOfRun(const std::string& program, const std::vector<std::string>& args) {
    std::fflush(stdout);
    const int savedOut = dup(1), savedErr = dup(2);
    const int null = ::open("/dev/null", O_WRONLY);
    dup2(null, 1);
    dup2(null, 2);
    const double start = ChildrenCpuSeconds();
    const int status = fw::RunProgram(program, args);
    const double took = ChildrenCpuSeconds() - start;
    dup2(savedOut, 1);
    dup2(savedErr, 2);
    for (int fd : {null, savedOut, savedErr}) ::close(fd);
    return status == 0 ? took : -1;
}

// `withWisdom`: the cache folder holds the wisdom of an earlier run; else each run starts
// with an empty one and measures its transform.
void EndToEnd(benchmark::State& state, bool withWisdom) {
    const std::string cache = TempFile("cache");
    setenv("XDG_CACHE_HOME", cache.c_str(), 1);
    const std::vector<std::string> args = {"iq", "noise", OneSecond().dataPath, "--freq", "7.1"};
    if (withWisdom && SecondsOfRun(FW_CLI_PATH, args) < 0) state.SkipWithError("floorwatch-cli failed");
    double cli = 0, cat = 0;
    for (auto _ : state) {
        if (!withWisdom) std::filesystem::remove_all(cache);
        const double c = SecondsOfRun(FW_CLI_PATH, args);
        const double r = SecondsOfRun("cat", {OneSecond().dataPath});
        if (c < 0 || r < 0) state.SkipWithError("a run failed");
        cli += c;
        cat += r;
        state.SetIterationTime(c);
    }
    std::filesystem::remove_all(cache);
    unsetenv("XDG_CACHE_HOME");
    state.counters["ratio_to_reading"] = cat > 0 ? cli / cat : 0;
}

void IqNoiseEndToEnd(benchmark::State& state) { EndToEnd(state, true); }
void IqNoiseEndToEndFirstRun(benchmark::State& state) { EndToEnd(state, false); }

}  // namespace

BENCHMARK(IqNoiseEndToEnd)->UseManualTime()->Iterations(10)->Unit(benchmark::kMillisecond);
BENCHMARK(IqNoiseEndToEndFirstRun)->UseManualTime()->Iterations(3)->Unit(benchmark::kMillisecond);
BENCHMARK(IqNoise_Baseline)->Unit(benchmark::kMillisecond);
BENCHMARK(IqNoise)->Unit(benchmark::kMillisecond);
BENCHMARK(IqNoiseOneGigabyteMemory)->Iterations(1)->Unit(benchmark::kMillisecond);
