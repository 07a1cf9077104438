#include "sdr/sdr_session.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "rig/pacing.h"
#include "sdr/sdr_open.h"
#include "support/test_sdr.h"

namespace fw::sdr {
namespace {

std::string Reason(const std::function<void()>& action) {
    try {
        action();
    } catch (const std::exception& e) {
        return e.what();
    }
    return "no error";
}

TEST(SdrSession, TheTestDeviceIsFoundOpenedTunedAndMeasured) {
    test::UseTestSdr();
    const auto devices = FindSdrDevices();
    ASSERT_EQ(devices.size(), 1u);
    EXPECT_EQ(DeviceLine(devices.front()), "driver=fwtest  Floorwatch test SDR  serial=FW0001");

    // The gain adds to the set density; left on, the AGC would add 20 dB more.
    SdrSession session({"driver=fwtest,n0_db=-130,carriers=40", 0, 12.0, "B", -20, 1.0});
    EXPECT_EQ(session.label(), "Floorwatch test SDR");
    EXPECT_EQ(session.sampleRateHz(), 2.048e6);  // the supported rate closest to it
    const Capture c = session.capture(7.1e6, 1.0, {});
    EXPECT_NEAR(c.floor.densityDbfsPerHz, -118.0, 0.1);
    EXPECT_EQ(c.floor.segments, 62);  // 1 s of 2.048 MS/s in spectra of 32768
    EXPECT_NEAR(c.floor.occupancy, 120.0 / c.floor.binsUsed, 0.002);  // 40 carriers, 3 bins each
    EXPECT_NEAR(c.spectrum[c.spectrum.size() / 2].freqHz, 7.1e6, 300);
    EXPECT_EQ(c.overflows + c.timeouts, 0);
}

TEST(SdrSession, MissingVanishedSilentAndStoppedDevicesEndWithAReason) {
    test::UseTestSdr();
    const SdrSettings plain{"driver=fwtest", 250e3, std::nullopt, "", 0, 0.2};
    EXPECT_EQ(Reason([] { SdrSession s({"driver=fwtest", 0, {}, "C", 0, 1}); }),
              "SDR not available: the device has no antenna \"C\" (it has A, B)");
    EXPECT_EQ(Reason([] { SdrSession s({"driver=none", 0, {}, "", 0, 1}); }),
              "SDR not available: no device matches \"driver=none\"");

    SdrSession session(plain);
    std::stop_source stop;
    stop.request_stop();
    EXPECT_THROW(session.capture(7e6, 0.2, stop.get_token()), rig::Cancelled);
    setenv("FW_TEST_SDR_SILENT", "1", 1);
    EXPECT_EQ(Reason([&] { session.capture(7e6, 0.2, {}); }), "SDR not available: no samples for 3 s");
    setenv("FW_TEST_SDR_GONE", "1", 1);
    EXPECT_NE(Reason([&] { session.capture(7e6, 0.2, {}); }).find("SDR not available: "), std::string::npos);
    EXPECT_EQ(FindSdrDevices().size(), 0u);
    test::UseTestSdr();
}

// A driver that takes its time opening the device is waited for, but does not hold a stop.
TEST(SdrSession, AStopDoesNotWaitForADriverStillOpeningTheDevice) {
    test::UseTestSdr();
    const SdrSettings slow{"driver=fwtest,open_ms=300", 250e3, std::nullopt, "", 0, 0.2};
    EXPECT_EQ(OpenSdrSession(slow, {})->label(), "Floorwatch test SDR");

    const SdrSettings hung{"driver=fwtest,open_ms=60000", 250e3, std::nullopt, "", 0, 0.2};
    std::stop_source stop;
    std::jthread stopper([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        stop.request_stop();
    });
    EXPECT_THROW(OpenSdrSession(hung, stop.get_token()), rig::Cancelled);
}

}  // namespace
}  // namespace fw::sdr
