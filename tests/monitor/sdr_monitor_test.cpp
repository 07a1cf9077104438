// The monitor with an SDR: the tests' SoapySDR module behind the job's start-up and the real
// SdrSweeper, with a device that goes and comes back between sweeps.
#include <gtest/gtest.h>

#include "fake_monitor_parts.h"
#include "monitor/monitor_job.h"
#include "stationlog/log_queries.h"
#include "stationlog/sample_log.h"
#include "support/test_sdr.h"

namespace fw {
namespace {

using namespace test;

TEST(SdrMonitor, LogsAntennaPowerAsSdrReadingsAndTheGoneDeviceAsGapsUntilItIsBack) {
    UseTestSdr();
    TempFolder folder;
    setenv("XDG_RUNTIME_DIR", folder.file("").c_str(), 1);  // the lock file's folder
    MonitorJob job;
    job.logPath = folder.file("log.sqlite");
    job.sdr = sdr::SdrSettings{"driver=fwtest,n0_db=-140", 250e3, 10.0, "", -30, 0.5};
    job.plan.reading.gain = "0";
    job.plan.reading.offsets = {{"40m", 1.5}};
    job.settings.sweeps = 3;
    ASSERT_EQ(PrepareMonitorJob(job, "80m,40m"), "");
    int measured = 0;
    job.noise = [&](const sdr::NoiseReading& r) { measured += !r.spectrum.empty(); };
    JumpingClock clock;
    // The receiver is unplugged during the second sweep's wait and back for the third.
    clock.onWait = [](std::size_t wait) {
        if (wait == 2) setenv("FW_TEST_SDR_GONE", "1", 1);
        if (wait == 3) unsetenv("FW_TEST_SDR_GONE");
    };
    const Outcome<MonitorEnd> end = RunMonitorJob(job, clock, {}, {});
    unsetenv("XDG_RUNTIME_DIR");
    ASSERT_TRUE(end) << end.reason();

    StationLog log = StationLog::Open(job.logPath, StationLog::OpenMode::ReadOnly);
    const std::vector<LogReading> readings = ReadingsIn(log, {});
    ASSERT_EQ(readings.size(), 4u);
    EXPECT_EQ(measured, 4);
    for (const LogReading& r : readings) {
        EXPECT_EQ(r.source, ReadingSource::Sdr);
        EXPECT_EQ(r.rig, "Floorwatch test SDR");
        EXPECT_EQ(r.method, "AntPwr");
        // -140 dBFS/Hz + 10 dB gain + 34.3 dB (2700 Hz) - 30 dBm, and 40m's offset.
        EXPECT_NEAR(r.antPowerDbm, -125.69 + (r.band == "40m" ? 1.5 : 0), 0.5) << r.band;
    }
    const std::vector<LogGap> gaps = GapsIn(log, {});
    ASSERT_EQ(gaps.size(), 2u);
    EXPECT_EQ(gaps[0].band + gaps[1].band, "80m40m");
    EXPECT_EQ(gaps[0].rig, "Floorwatch test SDR");
    EXPECT_EQ(gaps[0].reason.rfind("SDR not available: ", 0), 0u) << gaps[0].reason;
}

}  // namespace
}  // namespace fw
