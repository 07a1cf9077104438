// log compare over a station log of two years of 13 bands every 10 minutes (1,366,560
// readings): the first year against the second, every band, over days. Beside the baseline
// that steps through the same rows, reading the columns the comparison needs and nothing
// more.
#include <benchmark/benchmark.h>

#include <string>

#include "bench_log.h"
#include "stationlog/log_queries.h"
#include "stationlog/station_log.h"
#include "stationlog/utc_text.h"
#include "stats/span_comparison.h"

namespace {

constexpr std::int64_t ReadingCount = 13LL * 144 * 730;
const fw::LogSpan FirstYear{*fw::ParseUtcMinute("2025-01-01T00:00"),
                            *fw::ParseUtcMinute("2026-01-01T00:00")};
const fw::LogSpan SecondYear{*fw::ParseUtcMinute("2026-01-01T00:00"),
                             *fw::ParseUtcMinute("2027-01-01T00:00")};

const std::string& TwoYearLog() {
    static const fw::bench::BenchLog log(ReadingCount, "two-years");
    return log.path();
}

void BM_LogCompareTwoYears(benchmark::State& state) {
    fw::StationLog log = fw::StationLog::Open(TwoYearLog(), fw::StationLog::OpenMode::ReadOnly);
    for (auto _ : state) {
        const auto rows = fw::QueryComparison(log, {FirstYear, SecondYear, {}, {}});
        if (rows.size() != 13 || !rows.front().shift) state.SkipWithError("not 13 bands compared");
        benchmark::DoNotOptimize(rows.data());
    }
}
BENCHMARK(BM_LogCompareTwoYears)->Unit(benchmark::kSecond)->Iterations(2);

void BM_LogCompareTwoYears_Baseline(benchmark::State& state) {
    fw::StationLog log = fw::StationLog::Open(TwoYearLog(), fw::StationLog::OpenMode::ReadOnly);
    for (auto _ : state) {
        double sum = 0;
        for (const fw::LogSpan& span : {FirstYear, SecondYear}) {
            fw::SqliteStatement s(log.database(),
                                  "SELECT utc, band, freq_mhz, bandwidth_hz, field_dbuvm FROM "
                                  "readings WHERE utc >= ? AND utc < ? ORDER BY utc, id");
            fw::BindSpan(s, span, 1);
            while (s.step())
                sum += static_cast<double>(s.integer(0)) + static_cast<double>(s.text(1).size()) +
                       s.real(2) + s.real(3) + s.real(4);
        }
        benchmark::DoNotOptimize(sum);
    }
}
BENCHMARK(BM_LogCompareTwoYears_Baseline)->Unit(benchmark::kSecond)->Iterations(2);

}  // namespace
