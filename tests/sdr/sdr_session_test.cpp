#include "sdr/sdr_session.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <thread>

#include "receiver/receiver_error.h"
#include "rig/rig_error.h"
#include "sdr/sdr_lock.h"
#include "sdr/sdr_open.h"
#include "support/test_sdr.h"
#include "support/wait_for.h"

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
    const auto devices = FindAllSdrDevices();
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
    EXPECT_THROW(session.capture(7e6, 0.2, stop.get_token()), receiver::Cancelled);
    setenv("FW_TEST_SDR_SILENT", "1", 1);
    EXPECT_EQ(Reason([&] { session.capture(7e6, 0.2, {}); }), "SDR not available: no samples for 3 s");
    setenv("FW_TEST_SDR_GONE", "1", 1);
    EXPECT_NE(Reason([&] { session.capture(7e6, 0.2, {}); }).find("SDR not available: "), std::string::npos);
    EXPECT_EQ(FindAllSdrDevices().size(), 0u);
    test::UseTestSdr();
}

// A driver that takes its time opening the device is waited for, but does not hold a stop.
TEST(SdrSession, AStopDoesNotWaitForADriverStillOpeningTheDevice) {
    test::UseTestSdr();
    const SdrSettings slow{"driver=fwtest,open_ms=300", 250e3, std::nullopt, "", 0, 0.2};
    EXPECT_EQ(OpenSdrSession(slow, {})->label(), "Floorwatch test SDR");

    const SdrSettings hung{"driver=fwtest,open_ms=60000", 250e3, std::nullopt, "", 0, 0.2};
    std::stop_source stop;
    const std::string opening = ::testing::TempDir() + "fw_sdr_opening";
    std::remove(opening.c_str());
    setenv("FW_TEST_SDR_OPENING", opening.c_str(), 1);
    std::jthread stopper([&] {
        EXPECT_TRUE(fw::test::WaitFor([&] { return std::ifstream(opening).good(); }));
        stop.request_stop();
    });
    EXPECT_THROW(OpenSdrSession(hung, stop.get_token()), receiver::Cancelled);
    unsetenv("FW_TEST_SDR_OPENING");
}

SdrSettings Plain(std::string args) { return {std::move(args), 250e3, std::nullopt, "", 0, 1}; }

std::string Capture(const std::string& a) { return Reason([&] { SdrSession(Plain(a)).capture(7e6, 0.2, {}); }); }

// The search runs in a program of its own: a module crashing there is a message, and a
// device named by its driver is opened through that driver's module alone.
TEST(SdrDriver, AModuleCrashingWhileDevicesAreLookedForCostsAMessage) {
    test::UseTestSdr();
    setenv("FW_TEST_SDR_CRASH_FIND", "1", 1);
    EXPECT_EQ(Reason([] { FindAllSdrDevices(); }), "device search failed: a SoapySDR module crashed");
    EXPECT_EQ(Capture("driver=fwtest"), "no error");
    EXPECT_EQ(Reason([] { ClaimSdr(Plain("serial=FW0001"), "Floorwatch", {}); }),
              "SDR not available: device search failed: a SoapySDR module crashed");
    test::UseTestSdr();
}

// Full scale is the converter's: the device's own integer format is read where it has one (a
// CS8 converter's 127 is 0.992 in CF32, where it would go unseen).
TEST(SdrDriver, OverloadIsCountedInTheDevicesOwnFormat) {
    test::UseTestSdr();
    for (const std::string native : {"CF32", "CS16", "CS8", "CU8"}) {
        const std::string args = "driver=fwtest,native=" + native;
        const auto c = SdrSession(Plain(args + ",n0_db=-90")).capture(7e6, 0.2, {});
        EXPECT_NEAR(c.floor.densityDbfsPerHz, -90, 0.3) << native;
        EXPECT_EQ(c.floor.fullScaleSamples, 0u) << native;
        const std::string refused = Capture(args + ",n0_db=-60");
        EXPECT_EQ(refused.substr(0, 10), "overload: ") << native;
    }
}

// Every name of one receiver takes one lock: its driver and serial, or its label.
TEST(SdrDriver, OneLockPerDeviceWhateverItsArgumentsSay) {
    const auto name = [](std::map<std::string, std::string> keys) {
        return SdrLockFileName({keys["driver"], keys["label"], keys["serial"], keys});
    };
    EXPECT_EQ(name({{"driver", "rtlsdr"}, {"serial", "0001"}, {"label", "A"}}),
              "sdr-rtlsdr_serial_0001.lock");
    EXPECT_EQ(name({{"driver", "remote"}, {"remote:driver", "rtlsdr"}, {"serial", "0001"}}),
              "sdr-rtlsdr_serial_0001.lock");

    test::UseTestSdr();
    const ClaimedSdr held = ClaimSdr(Plain("driver=fwtest, n0_db=-120"), "floorwatch-cli monitor", {});
    EXPECT_EQ(held.settings.args, "driver=fwtest, n0_db=-120, serial=FW0001");
    EXPECT_EQ(Reason([&] { ClaimSdr(Plain("serial=FW0001"), "Floorwatch", {}); }),
              "SDR in use by floorwatch-cli monitor (pid " + std::to_string(getpid()) + ")");
    EXPECT_EQ(Reason([] { ClaimSdr(Plain("serial=FW0002"), "Floorwatch", {}); }),
              "SDR not available: no device matches \"serial=FW0002\"");
}

}  // namespace
}  // namespace fw::sdr
