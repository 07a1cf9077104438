// The rotator and the scan against a real rotctld with Hamlib's dummy rotator, and the tests'
// SDR given a noise source that the rotator's azimuth turns past.
#include <gtest/gtest.h>

#include <clocale>
#include <cstdlib>

#include "rotator/bearing_scan.h"
#include "rotator/rotator_claim.h"
#include "rotator/scan_receiver.h"
#include "rig/pacing.h"
#include "rig/rig_error.h"
#include "rig/rigctld_process.h"
#include "support/test_sdr.h"

namespace fw::rotator {
namespace {

using rig::test::Daemon;
using rig::test::RigctldProcess;

rig::RigctldAddress Address(const RigctldProcess& daemon) {
    return ParseRotctldAddress(daemon.address());
}

TEST(ScanSpan, BearingsGoAcrossNorthAndRefuseWhatIsNoScan) {
    EXPECT_EQ(ScanBearings({}).size(), 36u);
    EXPECT_EQ(ScanBearings({300, 60, 30}), (std::vector<double>{300, 330, 0, 30, 60}));
    EXPECT_EQ(ScanBearings({10, 35, 10}), (std::vector<double>{10, 20, 30}));
    const struct {
        ScanSpan span;
        const char* refusal;
    } refused[] = {
        {{360, 10, 10}, "a bearing must be from 0 to 359 degrees, not 360"},
        {{0, 10, 0}, "the step must be from 1 to 180 degrees, not 0"},
        {{0, 10, 10}, "a scan needs at least three bearings; from 0 to 10 every 10 degrees gives 2"},
        {{0, 0, 10}, "a scan needs at least three bearings; from 0 to 0 every 10 degrees gives 1"},
    };
    for (const auto& r : refused) {
        try {
            ScanBearings(r.span);
            ADD_FAILURE() << r.refusal;
        } catch (const ScanInputError& e) {
            EXPECT_EQ(std::string(e.what()), r.refusal);
        }
    }
}

TEST(RotctldAddress, DefaultsToPort4533AndTakesIpv6InBrackets) {
    EXPECT_EQ(rig::AddressText(ParseRotctldAddress("")), "localhost:4533");
    EXPECT_EQ(rig::AddressText(ParseRotctldAddress("rotor")), "rotor:4533");
    EXPECT_EQ(rig::AddressText(ParseRotctldAddress("[::1]:4600")), "[::1]:4600");
    EXPECT_THROW(ParseRotctldAddress("::1:4600"), rig::RigSettingsError);
}

// Never moves: the turn that waits for it names it when its time is up.
struct StuckRotator final : Rotator {
    RotatorPosition position(std::stop_token) override { return {45, 0}; }
    void setPosition(const RotatorPosition&, std::stop_token) override {}
    std::string name() const override { return "rotctld at stuck:4533"; }
};

TEST(Turn, ARotatorThatDoesNotArriveIsNamedWithWhereItIs) {
    StuckRotator stuck;
    try {
        TurnTo(stuck, 120, 0, {}, TurnLimits{2, std::chrono::milliseconds(0)});
        ADD_FAILURE();
    } catch (const RotatorError& e) {
        EXPECT_STREQ(e.what(), "rotctld at stuck:4533 did not arrive at 120° within 0 s; it reports 45°");
    }
}

TEST(Turn, WaitsUntilTheDummyRotatorHasArrivedAndOneUserHoldsIt) {
    test::UseTestSdr();  // a lock folder of this process
    const RigctldProcess daemon(Daemon::Rotator);
    ClaimedRotator claimed = ClaimRotator(Address(daemon), "rotator test");
    EXPECT_NEAR(claimed.rotator->position({}).azimuthDeg, 0, 0.01);
    const RotatorPosition there = TurnTo(*claimed.rotator, 8, 0, {});
    EXPECT_NEAR(there.azimuthDeg, 8, 2.0);
    // Another way of writing the same daemon takes the same lock.
    const std::string other = "localhost:" + std::to_string(daemon.port());
    try {
        ClaimRotator(ParseRotctldAddress(other), "another test");
        ADD_FAILURE();
    } catch (const receiver::ReceiverError& e) {
        EXPECT_NE(std::string(e.what()).find("rotator in use by rotator test (pid "), std::string::npos);
    }
    std::stop_source stopped;
    stopped.request_stop();
    EXPECT_THROW(TurnTo(*claimed.rotator, 100, 0, stopped.get_token()), rig::Cancelled);
}

TEST(Scan, TheEstimateFindsTheTestSdrsSourceAndTheRotatorComesBack) {
    std::setlocale(LC_ALL, "C.UTF-8");
    test::UseTestSdr();
    const RigctldProcess daemon(Daemon::Rotator);
    setenv("FW_TEST_SDR_SOURCE", (daemon.address() + ",37").c_str(), 1);
    ClaimedRotator claimed = ClaimRotator(Address(daemon), "scan test");
    sdr::SdrSettings settings;
    settings.args = "driver=fwtest";
    settings.seconds = 0.1;
    const rig::ReadingPlan plan;
    const auto where = rig::ResolveTarget(receiver::Target::Band("40m"), plan, '.');
    const auto receiver = OpenScanSdr(settings, plan, where, "scan test", {}, '.');
    std::vector<BearingLevel> seen;
    ScanCallbacks callbacks;
    callbacks.reading = [&](const BearingLevel& l) { seen.push_back(l); };
    const ScanResult result = RunBearingScan(
        *claimed.rotator, ScanBearings({10, 60, 10}),
        [&](std::stop_token stop) { return receiver->read(stop); }, callbacks, {}, {});
    unsetenv("FW_TEST_SDR_SOURCE");
    ASSERT_TRUE(result.complete()) << result.failure;
    ASSERT_EQ(seen.size(), 6u);
    ASSERT_TRUE(result.estimate);
    EXPECT_NEAR(result.estimate->strongestDeg, 37, 3);
    EXPECT_EQ(result.returnFailure, "");
    EXPECT_NEAR(claimed.rotator->position({}).azimuthDeg, 0, 2);
    EXPECT_EQ(ScanCsv(seen).substr(0, 24), "azimuth_deg,level_db\n10,");
}

}  // namespace
}  // namespace fw::rotator
