#pragma once
// A fresh folder per test and a small hand-made station log for the log tests.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <string>
#include <vector>

#include "stationlog/log_reading.h"
#include "stationlog/utc_text.h"

namespace fw::test {

class TempFolder {
  public:
    TempFolder() {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "fw-stationlog-XXXXXX").string();
        path_ = mkdtemp(pattern.data());
    }
    ~TempFolder() {
        std::error_code ec;
        std::filesystem::remove_all(path_, ec);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    std::string file(const std::string& name) const { return (path_ / name).string(); }

  private:
    std::filesystem::path path_;
};

inline UtcSeconds At(const char* minute) {
    return *ParseUtcMinute(minute);
}

// Four readings on 80 m, one typed field strength at a free 1 MHz in 1 kHz, one S-meter
// reading on 20 m from a rig whose name needs quoting in CSV. In logging order.
inline std::vector<LogReading> SampleReadings() {
    const ReadingSource rig = ReadingSource::Rig;
    return {
        LogReading{At("2026-03-01T00:10"), "80m", 3.65, 2700, "AntVol", 2.15, 7, 22, -85, 1.5, rig,
                   "Hamlib Dummy", "JO40CQ"},
        LogReading{At("2026-03-01T00:15"), "", 1, 1000, "Field", -999, -999, -999, -999, 20,
                   ReadingSource::Typed, "", "JO40CQ"},
        LogReading{At("2026-03-01T00:40"), "80m", 3.65, 2700, "AntVol", 2.15, 8, 28, -79, 7.5, rig,
                   "Hamlib Dummy", "JO40CQ"},
        LogReading{At("2026-03-01T01:10"), "80m", 3.65, 2700, "AntVol", 2.15, 7.5, 25, -82, 4, rig,
                   "Hamlib Dummy", "JO40CQ"},
        LogReading{At("2026-03-01T23:59") + 59, "20m", 14.175, 2700, "S-Val", 0, 9, 33.98, -73.01,
                   12.25, rig, "Rig \"A\", B", "JO41AA"},
        LogReading{At("2026-03-02T00:20"), "80m", 3.65, 2700, "AntVol", 2.15, 7.25, 23.5, -83.5,
                   3.5, rig, "Hamlib Dummy", ""},
    };
}

}  // namespace fw::test
