// Log to measurement list over a log of 10 million readings (set FW_BENCH_LIST_READINGS for
// another count): the peak memory it adds to the process, in MB, beside a baseline that keeps
// a row for every reading of a band and takes the median in memory, as the list was made
// before. The figure is the counter "peak_MB"; the log is written once, before either runs.
// Its time: the list, with the count of damaged readings that `log to-list` makes first,
// beside one plain scan of the same rows (the ratio printed at the end).
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdlib>
#include <map>
#include <string>

#include "bench_log.h"
#include "peak_memory.h"
#include "stationlog/log_queries.h"
#include "stationlog/log_to_list.h"

namespace {

std::int64_t ReadingCount() {
    const char* text = std::getenv("FW_BENCH_LIST_READINGS");
    return text ? std::atoll(text) : 10'000'000;
}

const std::string& ListLog() {
    static const fw::bench::BenchLog log(ReadingCount(), "list-log");
    return log.path();
}

// Runs `work` once per iteration and reports the most memory it added to the process.
template <typename Work>
void MeasurePeak(benchmark::State& state, Work work) {
    const std::string& path = ListLog();
    double peakMb = 0;
    fw::bench::PeakMemory peak;
    for (auto _ : state) {
        state.PauseTiming();
        peak.reset();
        state.ResumeTiming();
        fw::StationLog log = fw::StationLog::Open(path, fw::StationLog::OpenMode::ReadOnly);
        benchmark::DoNotOptimize(work(log));
        peakMb = std::max(peakMb, peak.addedMb());
    }
    state.counters["peak_MB"] = peakMb;
    state.counters["readings"] = static_cast<double>(ReadingCount());
}

void BM_LogToList(benchmark::State& state) {
    MeasurePeak(state, [](fw::StationLog& log) { return fw::QueryLoggedList(log, {}).readings; });
}

// Every reading's row kept per band, each band's middle row found in memory.
void BM_LogToList_Baseline(benchmark::State& state) {
    MeasurePeak(state, [](fw::StationLog& log) {
        std::map<fw::LogBand, std::vector<fw::MeasRow>, fw::LogBandOrder> byBand;
        fw::ForEachReading(log, {}, [&](const fw::LogReading& r) {
            byBand[fw::BandOf(r)].push_back(fw::RowFromReading(r));
        });
        double sum = 0;
        for (auto& [band, rows] : byBand) {
            const auto middle = rows.begin() + static_cast<std::ptrdiff_t>(rows.size() / 2);
            std::nth_element(rows.begin(), middle, rows.end(),
                             [](const fw::MeasRow& a, const fw::MeasRow& b) {
                                 return a.fieldDbuVm < b.fieldDbuVm;
                             });
            sum += middle->fieldDbuVm;
        }
        return sum;
    });
}

// The log is written before the clock runs: its first use builds it.
void BM_ListAgainstScan(benchmark::State& state) {
    const std::string& path = ListLog();
    for (auto _ : state) {
        fw::StationLog log = fw::StationLog::Open(path, fw::StationLog::OpenMode::ReadOnly);
        benchmark::DoNotOptimize(fw::DamagedEntriesIn(log).readingLevels);
        benchmark::DoNotOptimize(fw::QueryLoggedList(log, {}).readings);
    }
}

// The rows the list is made of, read once.
void BM_ListAgainstScan_Baseline(benchmark::State& state) {
    const std::string& path = ListLog();
    for (auto _ : state) {
        fw::StationLog log = fw::StationLog::Open(path, fw::StationLog::OpenMode::ReadOnly);
        fw::SqliteStatement s(log.database(),
                              "SELECT band, freq_mhz, bandwidth_hz, field_dbuvm FROM readings"
                              " WHERE utc >= ? AND utc < ?");
        fw::BindSpan(s, {}, 1);
        double sum = 0;
        while (s.step()) sum += s.real(3);
        benchmark::DoNotOptimize(sum);
    }
}

}  // namespace

BENCHMARK(BM_ListAgainstScan)->Unit(benchmark::kSecond)->Iterations(1);
BENCHMARK(BM_ListAgainstScan_Baseline)->Unit(benchmark::kSecond)->Iterations(1);
BENCHMARK(BM_LogToList)->Unit(benchmark::kSecond)->Iterations(1);
BENCHMARK(BM_LogToList_Baseline)->Unit(benchmark::kSecond)->Iterations(1);
