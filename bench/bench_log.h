#pragma once
// The station logs the benchmarks read: 13 bands every 10 minutes from 2025-01-01, each
// reading with a daily course, a slow drift and some scatter, as a rig gives them. Every
// seventh reading was taken with a 500 Hz filter, the others with 2700 Hz.
#include <unistd.h>

#include <cmath>
#include <filesystem>
#include <string>
#include <vector>

#include "model/levels.h"
#include "stationlog/station_log.h"
#include "stationlog/utc_text.h"

namespace fw::bench {

inline constexpr UtcSeconds SweepSeconds = 600;

inline UtcSeconds LogStart() {
    return *ParseUtcMinute("2025-01-01T00:00");
}

inline LogReading MakeReading(std::int64_t i) {
    const auto& band = BandTable[static_cast<std::size_t>(i % 13)];
    const UtcSeconds t = LogStart() + (i / 13) * SweepSeconds + (i % 13) * 2;
    const double hour = static_cast<double>(t % 86400) / 3600.0;
    const double scatter = static_cast<double>((i * 2654435761LL) % 1000) / 250.0;
    const double bandwidth = i % 7 == 0 ? 500 : 2700;
    const double dbuv = 18 + 6 * std::sin(hour * 0.2618) + scatter;
    const MeasurementLevels l = LevelsFromAntennaVoltage(dbuv, band.frequencyMHz, 2.15);
    return LogReading{t,
                      std::string(band.text),
                      band.frequencyMHz,
                      bandwidth,
                      "AntVol",
                      2.15,
                      l.SUnits,
                      dbuv,
                      l.AntPowerDbm,
                      l.FieldDbuVm,
                      ReadingSource::Rig,
                      "Hamlib Dummy",
                      "JO40CQ"};
}

// A log of `count` readings in a folder of its own, written once and removed with the object.
class BenchLog {
  public:
    explicit BenchLog(std::int64_t count, const std::string& name)
        : folder_((std::filesystem::temp_directory_path() /
                   ("fw-logbench-" + std::to_string(getpid()) + "-" + name))
                      .string()) {
        std::filesystem::create_directories(folder_);
        path_ = folder_ + "/" + name + ".sqlite";
        StationLog log = StationLog::Open(path_);
        std::vector<LogReading> batch;
        for (std::int64_t i = 0; i < count; ++i) {
            batch.push_back(MakeReading(i));
            if (batch.size() < 100'000) continue;
            log.addAll(batch);
            batch.clear();
        }
        log.addAll(batch);
    }
    ~BenchLog() {
        // With the files a reader of a WAL log leaves beside it.
        std::error_code ec;
        std::filesystem::remove_all(folder_, ec);
    }
    BenchLog(const BenchLog&) = delete;
    BenchLog& operator=(const BenchLog&) = delete;

    const std::string& path() const { return path_; }

  private:
    std::string folder_;
    std::string path_;
};

}  // namespace fw::bench
