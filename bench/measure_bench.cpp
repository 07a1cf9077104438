// The measurement list and the USER data file at 100,000 rows: load and save beside a
// baseline that only reads the file's lines, and the list-box rebuild (sort + lines).
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <string>

#include "model/levels.h"
#include "measure/meas_list.h"
#include "measure/user_data_file.h"

namespace {

constexpr std::size_t RowCount = 100'000;

// Rows on the thirteen bands with the thirteen S-values, in a scrambled frequency order
// with many equal frequencies, as a long session of entries would give.
fw::MeasList MakeList(std::size_t rows) {
    fw::MeasList list;
    list.reserve(rows);
    for (std::size_t i = 0; i < rows; ++i) {
        const auto& band = fw::BandTable[(i * 7) % fw::BandTable.size()];
        const auto& sv = fw::SValueTable[(i * 5) % fw::SValueTable.size()];
        const double gain = static_cast<double>(i % 7) * 0.75;
        const fw::MeasurementLevels m = fw::LevelsFromSValue(sv.sUnits, band.frequencyMHz, gain);
        list.appendRow(fw::MeasRow{band.frequencyMHz, m.FieldDbuVm, 2700, "S-Val", m.GainDbi,
                                   m.SUnits, m.AntVoltDbuV, m.AntPowerDbm});
    }
    return list;
}

const fw::MeasList& BenchList() {
    static const fw::MeasList list = MakeList(RowCount);
    return list;
}

// A folder of this run, removed when the program ends.
const std::string& BenchFolder() {
    struct Folder {
        std::string path =
            (std::filesystem::temp_directory_path() / ("fw-bench-" + std::to_string(getpid())))
                .string();
        Folder() { std::filesystem::create_directories(path); }
        ~Folder() {
            std::error_code ec;
            std::filesystem::remove_all(path, ec);
        }
    };
    static const Folder folder;
    return folder.path;
}

// The data file of BenchList(), written once.
const std::string& BenchFile() {
    static const std::string path = [] {
        const std::string p = BenchFolder() + "/user_data.txt";
        fw::SaveUserDataFile(p, "JO40CQ", "2026-12-06 08:05", BenchList(), ',');
        return p;
    }();
    return path;
}

std::size_t ReadLinesOnly(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::string line;
    std::size_t lines = 0;
    while (std::getline(in, line)) ++lines;
    return lines;
}

// Thread CPU time, so that other work on the machine does not skew the ratios.
double CpuSeconds() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

void BM_ReadLinesOnly(benchmark::State& state) {
    const std::string& path = BenchFile();
    for (auto _ : state) benchmark::DoNotOptimize(ReadLinesOnly(path));
}

// Runs `op` once per iteration and, outside the measured time, the baseline of reading the
// data file's lines; the counter "x_read_lines" is the ratio of their CPU times.
template <typename Op>
void AgainstReadingLines(benchmark::State& state, Op op) {
    const std::string& path = BenchFile();
    double opSeconds = 0;
    double baseSeconds = 0;
    for (auto _ : state) {
        state.PauseTiming();
        double t0 = CpuSeconds();
        benchmark::DoNotOptimize(ReadLinesOnly(path));
        baseSeconds += CpuSeconds() - t0;
        state.ResumeTiming();

        t0 = CpuSeconds();
        if (!op()) state.SkipWithError("operation failed");
        opSeconds += CpuSeconds() - t0;
    }
    state.counters["x_read_lines"] = baseSeconds > 0 ? opSeconds / baseSeconds : 0;
    state.counters["rows"] = RowCount;
}

void BM_LoadUserDataFile(benchmark::State& state) {
    AgainstReadingLines(state, [] {
        const fw::UserDataLoad r = fw::LoadUserDataFile(BenchFile(), ',');
        benchmark::DoNotOptimize(r.list.MeasFreqMHz().data());
        return r.status == fw::UserDataStatus::Ok && r.list.size() == RowCount;
    });
}

void BM_SaveUserDataFile(benchmark::State& state) {
    const std::string path = BenchFolder() + "/saved.txt";
    AgainstReadingLines(state, [&path] {
        return !fw::SaveUserDataFile(path, "JO40CQ", "2026-12-06 08:05", BenchList(), ',');
    });
}

// The list-box rebuild after an entry: an unsorted list is sorted and formatted.
void BM_SortAndListLinesUnsorted(benchmark::State& state) {
    for (auto _ : state) {
        state.PauseTiming();
        fw::MeasList list = BenchList();
        state.ResumeTiming();
        fw::SortMeasList(list);
        const auto lines = fw::UserListLines(list, ',');
        benchmark::DoNotOptimize(lines.data());
    }
    state.counters["rows"] = RowCount;
}

// The rebuild on a scroll step: the list is already sorted and is sorted again.
void BM_SortAndListLinesSorted(benchmark::State& state) {
    fw::MeasList list = BenchList();
    fw::SortMeasList(list);
    for (auto _ : state) {
        fw::SortMeasList(list);
        const auto lines = fw::UserListLines(list, ',');
        benchmark::DoNotOptimize(lines.data());
    }
    state.counters["rows"] = RowCount;
}

}  // namespace

BENCHMARK(BM_ReadLinesOnly)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadUserDataFile)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SaveUserDataFile)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SortAndListLinesUnsorted)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SortAndListLinesSorted)->Unit(benchmark::kMillisecond);
