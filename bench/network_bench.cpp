// The station network against a throwaway PostgreSQL cluster: an upload of 1,000,000 readings
// beside psql's COPY of the same rows into the same table, and the neighbour comparison and
// the square map over 100 stations x 13 bands x 30 days of 10-minute readings (5.6 M
// readings, as the hourly values they give) beside reading the hourly rows they need. The
// work is the server's as much as the client's, so the ratios printed here are of wall time.
//
// Figures on the 2-core development machine, shared with other work (December 2026):
// - upload of 1 M readings 8.5 s, psql's COPY of the same rows 4.4 s: 1.9 x (before the
//   upload read its next batch while the server took one: 16.1 s against 7.2 s, 2.2 x);
// - 100 stations, 30 days: compare 27 ms, map 91 ms;
// - a simulated 1,000-station month (FW_BENCH_NETWORK_STATIONS=1000: 9.4 M hourly values,
//   standing for 56 M readings), measured: compare 153 ms, map 960 ms. Its uploads were not
//   run; extrapolated from the rate above (about 120,000 readings a second into one
//   server), the month's 56 M readings take the server about 8 minutes of upload work,
//   some 16 s a day.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>

#include "network/hourly_questions.h"
#include "network/log_upload.h"
#include "network/server_schema.h"
#include "network/stations.h"
#include "stationlog/station_log.h"
#include "support/pg_cluster.h"
#include "support/run_program.h"

namespace {

using Clock = std::chrono::steady_clock;
constexpr fw::UtcSeconds Start = 1772323200;  // 2026-03-01 00:00 UTC

fw::test::PgCluster& Cluster() {
    static fw::test::PgCluster cluster;
    return cluster;
}

double Seconds(Clock::time_point since) {
    return std::chrono::duration<double>(Clock::now() - since).count();
}

// A fresh database with the network's tables and the station DL1ABC.
std::string FreshDatabase(const std::string& name) {
    fw::PgConnection admin(Cluster().conninfo());
    admin.exec("DROP DATABASE IF EXISTS " + name);
    admin.exec("CREATE DATABASE " + name);
    fw::PgConnection conn(Cluster().conninfo(fw::test::PgCluster::Admin, name));
    fw::InitServerSchema(conn);
    fw::AddStation(conn, {"DL1ABC", *fw::ParseMaidenhead("JO40CQ").operator->(), ""});
    return name;
}

// A station log of `n` readings: 13 bands every 10 minutes.
const std::string& LogOf(int n) {
    static std::string path;
    if (!path.empty()) return path;
    path = Cluster().conninfo().substr(5, Cluster().conninfo().find(' ') - 5) + "/bench.sqlite";
    fw::StationLog log = fw::StationLog::Open(path);
    std::vector<fw::LogReading> chunk;
    for (int i = 0; i < n; ++i) {
        chunk.push_back({Start + i / 13 * 600, "40m", 7.1, 2700, "AntVol", 2.15, 7, 22, -85,
                         1.5 + (i % 17) * 0.25, fw::ReadingSource::Rig, "Hamlib Dummy", "JO40CQ"});
        if (chunk.size() == 50'000 || i + 1 == n) log.addAll(chunk), chunk.clear();
    }
    return path;
}

double uploadSeconds = 0;

void BM_NetworkUpload(benchmark::State& state) {
    if (!Cluster().error().empty()) return state.SkipWithError(Cluster().error().c_str());
    const std::string& path = LogOf(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        const std::string db = FreshDatabase("upload");
        fw::PgConnection conn(Cluster().conninfo("dl1abc", db));
        fw::StationLog log = fw::StationLog::Open(path, fw::StationLog::OpenMode::ReadOnly);
        fw::UploadRequest request;
        request.callsign = "DL1ABC";
        const auto t0 = Clock::now();
        const fw::UploadCounts counts = fw::UploadLog(conn, log, request);
        uploadSeconds = Seconds(t0);
        state.SetIterationTime(uploadSeconds);
        state.counters["readings_per_s"] = static_cast<double>(counts.readings) / uploadSeconds;
    }
}
BENCHMARK(BM_NetworkUpload)->Arg(1'000'000)->Iterations(1)->UseManualTime()->Unit(benchmark::kSecond);

// psql's COPY of the same rows (with their Fa and identity, as the upload sends them) into
// the same partitioned table with its indexes, as the tables' owner.
void BM_NetworkUpload_Baseline(benchmark::State& state) {
    if (!Cluster().error().empty()) return state.SkipWithError(Cluster().error().c_str());
    const std::string& path = LogOf(static_cast<int>(state.range(0)));
    const std::string rows = path + ".copy";
    for (auto _ : state) {
        const std::string db = FreshDatabase("copy");
        const std::string conninfo = Cluster().conninfo(fw::test::PgCluster::Admin, db);
        {
            // The rows as the upload leaves them on the server, written out by the server.
            fw::PgConnection upload(Cluster().conninfo(fw::test::PgCluster::Admin, "upload"));
            upload.exec("COPY (SELECT * FROM floorwatch.readings) TO '" + rows + "'");
            fw::PgConnection conn(conninfo);
            // The months up to the last reading, as the upload makes them.
            const fw::UtcSeconds last = Start + (state.range(0) - 1) / 13 * 600;
            conn.exec("SELECT floorwatch.make_partitions(to_timestamp(" + std::to_string(Start) +
                      "), to_timestamp(" + std::to_string(last) + "))");
        }
        const auto t0 = Clock::now();
        const int code = fw::test::RunProgram(
            {"psql", "-q", conninfo, "-c", "\\copy floorwatch.readings FROM '" + rows + "'"});
        const double copySeconds = Seconds(t0);
        state.SetIterationTime(copySeconds);
        if (code != 0) state.SkipWithError("psql failed");
        std::printf("upload %.2f s, psql COPY %.2f s: %.2f x\n", uploadSeconds, copySeconds,
                    uploadSeconds / copySeconds);
    }
}
BENCHMARK(BM_NetworkUpload_Baseline)->Arg(1'000'000)->Iterations(1)->UseManualTime()->Unit(benchmark::kSecond);

// How many stations and days the questions' benchmarks ask about: 100 stations and 30 days
// unless FW_BENCH_NETWORK_STATIONS or FW_BENCH_NETWORK_DAYS say otherwise.
int Setting(const char* name, int fallback) {
    const char* env = std::getenv(name);
    return env ? std::atoi(env) : fallback;
}
int Days() { return Setting("FW_BENCH_NETWORK_DAYS", 30); }

// Stations on a grid over JN/JO (10 columns of 1 degree, rows over 8 degrees of latitude)
// with the hourly values that 13 bands of 10-minute readings would give them, made on the
// server: both questions read only the hourly values.
std::string CampaignDatabase() {
    static std::string db;
    if (!db.empty()) return db;
    const int stations = Setting("FW_BENCH_NETWORK_STATIONS", 100), days = Days();
    db = FreshDatabase("campaign");
    fw::PgConnection conn(Cluster().conninfo(fw::test::PgCluster::Admin, db));
    const int rows = std::max(1, stations / 10);
    for (int i = 0; i < stations; ++i) {
        const double lon = 6 + (i % 10) + 0.5, lat = 47 + (i / 10) * 8.0 / rows + 0.05;
        const int ilon = static_cast<int>(lon), ilat = static_cast<int>(lat);
        char loc[5] = {static_cast<char>('A' + (ilon + 180) / 20), static_cast<char>('A' + (ilat + 90) / 10),
                       static_cast<char>('0' + (ilon + 180) % 20 / 2), static_cast<char>('0' + (ilat + 90) % 10), 0};
        const std::string call = "DL" + std::to_string(i % 10) + static_cast<char>('A' + i / 10 / 26) +
                                 static_cast<char>('A' + i / 10 % 26);
        conn.exec("INSERT INTO floorwatch.stations (callsign, locator, lat, lon, role)"
                  " VALUES ($1, $2, $3, $4, $1)",
                  {call, fw::ParseMaidenhead(loc).value().text, fw::PgNumber(lat), fw::PgNumber(lon)});
    }
    const auto t0 = Clock::now();
    conn.exec("INSERT INTO floorwatch.hourly SELECT s.callsign, b.band, t,"
              " 40 + 10 * sin(extract(hour FROM t) / 4) + random() * 6, 6"
              " FROM floorwatch.stations s,"
              " unnest(ARRAY['LW','MW','160m','80m','40m','30m','20m','17m','15m','12m','10m',"
              "'6m','2m']) AS b(band),"
              " generate_series(to_timestamp(" + std::to_string(Start) + "), to_timestamp(" +
              std::to_string(Start + days * 86400) + ") - interval '1 hour', interval '1 hour') t");
    conn.exec("VACUUM ANALYZE");
    std::printf("campaign: %d stations, %lld hourly values (%lld readings) over %d days made in %.1f s\n",
                stations + 1,  // and the station of FreshDatabase
                static_cast<long long>(conn.exec("SELECT count(*) FROM floorwatch.hourly").integer(0, 0)),
                (stations + 1LL) * 13 * days * 144, days, Seconds(t0));
    return db;
}

fw::HourlyQuestion Question() {
    return {"40m", Start, Start + Days() * 86400, {}};
}

template <typename Work>
void RunTimed(benchmark::State& state, Work work) {
    if (!Cluster().error().empty()) return state.SkipWithError(Cluster().error().c_str());
    fw::PgConnection conn(Cluster().conninfo(fw::test::PgCluster::Admin, CampaignDatabase()));
    for (auto _ : state) {
        const auto t0 = Clock::now();
        work(conn);
        state.SetIterationTime(Seconds(t0));
    }
}

void BM_NetworkCompare(benchmark::State& state) {
    RunTimed(state, [](fw::PgConnection& conn) {
        benchmark::DoNotOptimize(fw::CompareWithNeighbours(conn, "DL4AE", Question(), 200).hours.size());
    });
}
BENCHMARK(BM_NetworkCompare)->UseManualTime()->Unit(benchmark::kMillisecond);

void BM_NetworkMap(benchmark::State& state) {
    RunTimed(state, [](fw::PgConnection& conn) {
        benchmark::DoNotOptimize(fw::NoiseBySquare(conn, Question()).size());
    });
}
BENCHMARK(BM_NetworkMap)->UseManualTime()->Unit(benchmark::kMillisecond);

// Reading one band's hourly values of the span, which both questions need.
void BM_NetworkCompare_Baseline(benchmark::State& state) {
    RunTimed(state, [](fw::PgConnection& conn) {
        const fw::HourlyQuestion q = Question();
        benchmark::DoNotOptimize(conn.exec("SELECT callsign, hour_utc, median_fa_db FROM floorwatch.hourly"
                                           " WHERE band = $1 AND hour_utc >= to_timestamp($2)"
                                           " AND hour_utc < to_timestamp($3)",
                                           {q.band, std::to_string(q.from), std::to_string(q.to)})
                                     .rows());
    });
}
BENCHMARK(BM_NetworkCompare_Baseline)->UseManualTime()->Unit(benchmark::kMillisecond);

void BM_NetworkMap_Baseline(benchmark::State& state) {
    BM_NetworkCompare_Baseline(state);
}
BENCHMARK(BM_NetworkMap_Baseline)->UseManualTime()->Unit(benchmark::kMillisecond);

}  // namespace
