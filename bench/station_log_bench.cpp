// The station log at 1,000,000 readings (13 bands every 10 minutes for about 18 months):
// opening it, the 24-hour profile of one band over a year, the level-over-time view of a
// month, and logging one reading with its commit. Each beside a baseline that reads the same
// rows (or opens the same file, or inserts the same row into memory) without processing.
#include <benchmark/benchmark.h>

#include <string>

#include "bench_log.h"
#include "diagram/raster_canvas.h"
#include "logviews/level_over_time_view.h"
#include "stationlog/log_queries.h"
#include "stationlog/station_log.h"
#include "stationlog/utc_text.h"
#include "stationlog/view_data.h"

namespace {

constexpr std::int64_t ReadingCount = 1'000'000;
const fw::LogSpan Year{*fw::ParseUtcMinute("2025-03-01T00:00"),
                       *fw::ParseUtcMinute("2026-03-01T00:00")};
const fw::LogSpan Month{*fw::ParseUtcMinute("2025-10-01T00:00"),
                        *fw::ParseUtcMinute("2025-11-01T00:00")};

using fw::bench::MakeReading;

// The log of this run, written once and removed when the program ends.
const std::string& BenchLog() {
    static const fw::bench::BenchLog log(ReadingCount, "station-log");
    return log.path();
}

// Steps through the rows of `sql` for the span, reading every column, and nothing more.
std::int64_t ReadRowsOnly(fw::StationLog& log, const char* sql, const fw::LogSpan& span,
                          const std::string& band) {
    fw::SqliteStatement s(log.database(), sql);
    s.bind(1, std::string_view(band));
    s.bind(2, *span.from);
    s.bind(3, *span.to);
    std::int64_t rows = 0;
    double sum = 0;
    while (s.step()) {
        sum += static_cast<double>(s.integer(0)) + s.real(1) + s.real(2);
        ++rows;
    }
    benchmark::DoNotOptimize(sum);
    return rows;
}

constexpr const char* BandRowsSql =
    "SELECT utc, field_dbuvm, bandwidth_hz FROM readings WHERE band = ? AND utc >= ? AND utc < ?"
    " ORDER BY utc";

void BM_LogOpen(benchmark::State& state) {
    const std::string& path = BenchLog();
    for (auto _ : state) {
        fw::StationLog log = fw::StationLog::Open(path, fw::StationLog::OpenMode::ReadOnly);
        benchmark::DoNotOptimize(&log);
    }
}

// Opens the same file with SQLite alone and reads its version.
void BM_LogOpen_Baseline(benchmark::State& state) {
    const std::string& path = BenchLog();
    for (auto _ : state) {
        fw::SqliteDb db(path, fw::SqliteDb::Mode::ReadWriteCreate);
        benchmark::DoNotOptimize(db.queryInt("PRAGMA user_version"));
    }
}

void BM_HourlyProfileYear(benchmark::State& state) {
    fw::StationLog log = fw::StationLog::Open(BenchLog());
    std::int64_t readings = 0;
    for (auto _ : state) {
        const fw::HourlyProfile p = fw::QueryHourlyProfile(log, {"80m", 3.65}, Year, 2700);
        readings = 0;
        for (const fw::HourStats& h : p.hours) readings += h.count;
        benchmark::DoNotOptimize(p.hours.data());
    }
    state.counters["readings"] = static_cast<double>(readings);
}

void BM_HourlyProfileYear_Baseline(benchmark::State& state) {
    fw::StationLog log = fw::StationLog::Open(BenchLog());
    for (auto _ : state) benchmark::DoNotOptimize(ReadRowsOnly(log, BandRowsSql, Year, "80m"));
}

// The month of all thirteen bands, queried and drawn as the window draws it.
void BM_LevelOverTimeMonth(benchmark::State& state) {
    fw::StationLog log = fw::StationLog::Open(BenchLog());
    const std::vector<fw::LogBand> bands = fw::AllBands();
    fw::RasterCanvas canvas(800, 500);
    std::size_t readings = 0;
    for (auto _ : state) {
        fw::LevelOverTimeInputs in;
        in.series = fw::QueryLevelSeries(log, bands, Month, 2700);
        in.from = *Month.from;
        in.to = *Month.to;
        fw::DrawLevelOverTime(canvas, in);
        readings = 0;
        for (const fw::LevelSeries& s : in.series) readings += s.utc.size();
        benchmark::DoNotOptimize(canvas.picture().rgb.data());
    }
    state.counters["readings"] = static_cast<double>(readings);
}

void BM_LevelOverTimeMonth_Baseline(benchmark::State& state) {
    fw::StationLog log = fw::StationLog::Open(BenchLog());
    for (auto _ : state)
        for (const fw::LogBand& band : fw::AllBands())
            benchmark::DoNotOptimize(ReadRowsOnly(log, BandRowsSql, Month, band.band));
}

// One reading logged, its commit included, into the full log.
void BM_LogOneReading(benchmark::State& state) {
    fw::StationLog log = fw::StationLog::Open(BenchLog());
    std::int64_t i = ReadingCount;
    for (auto _ : state) log.add(MakeReading(i++));
}

// The same insert into a log held in memory: no file, no commit to disk.
void BM_LogOneReading_Baseline(benchmark::State& state) {
    fw::StationLog log = fw::StationLog::Open(":memory:");
    std::int64_t i = ReadingCount;
    for (auto _ : state) log.add(MakeReading(i++));
}

}  // namespace

BENCHMARK(BM_LogOpen)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_LogOpen_Baseline)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_HourlyProfileYear)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_HourlyProfileYear_Baseline)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LevelOverTimeMonth)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LevelOverTimeMonth_Baseline)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LogOneReading)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_LogOneReading_Baseline)->Unit(benchmark::kMillisecond)->UseRealTime();
