// The rig layer against a real rigctld with Hamlib's dummy rig, and Hamlib's dummy opened
// directly. The dummy's S-meter reads -12 dB over S9 with static_data=1.
#include <gtest/gtest.h>
#include <poll.h>

#include <atomic>

#include "rig/daemon_check.h"
#include "rig/pacing.h"
#include "rig/rig_error.h"
#include "rig/rig_session.h"
#include "rig/stop_grace.h"
#include "rig/sweep.h"
#include "rigctld_process.h"
#include "support/wait_for.h"

namespace fw::rig {
namespace {

using test::RigctldProcess;

RigConnection Via(const std::string& address, int timeoutMs = 500) {
    RigConnection c{ParseRigctldAddress(address)};
    c.timeoutMs = timeoutMs;
    c.retries = 0;
    return c;
}

SweepPlan QuickPlan(const std::string& bands) {
    SweepPlan plan;
    plan.targets = BandTargets(bands);
    plan.settle = std::chrono::milliseconds(0);
    plan.reading.samples = 3;
    plan.reading.interval = std::chrono::milliseconds(0);
    return plan;
}

std::string OpenError(const RigConnection& c, DaemonCheck* check = nullptr,
                      std::stop_token stop = {}) {
    try {
        RigSession session(c, std::move(stop), check);
    } catch (const std::exception& e) {
        return e.what();
    }
    return "opened";
}

TEST(Rigctld, AReadingOfTheDummyRigIsMinusTwelveOverS9) {
    RigctldProcess daemon;
    RigSession rig(Via(daemon.address()));
    const Reading r = ReadHere(rig, QuickPlan("80m").reading, {}, '.');
    EXPECT_EQ(r.rig().samples, (std::vector<double>{-12, -12, -12}));
    EXPECT_EQ(r.rig().antVoltDbuV, AntennaVoltageDbuV(-12, 0));
    EXPECT_NEAR(r.rig().antVoltDbuV, 21.9794, 1e-4);
    EXPECT_EQ(r.entry.row.freqMHz, rig.frequencyHz() / 1e6);
}

TEST(Rigctld, ASweepTunesEveryBandAndPutsTheRigBack) {
    RigctldProcess daemon;
    RigSession rig(Via(daemon.address()));
    rig.setFrequencyHz(3712000);
    rig.setMode({"CW", 500});
    const RigMode before = rig.mode();

    std::vector<double> tunedHz;
    std::vector<std::string> tunedModes;
    SweepCallbacks seen;
    seen.reading = [&](const Reading&) {
        tunedHz.push_back(rig.frequencyHz());
        tunedModes.push_back(rig.mode().name);
    };
    const SweepResult r = RunSweep(rig, QuickPlan("LW,40m,20m,2m"), seen, {}, ',');
    EXPECT_TRUE(r.complete()) << r.failure;
    EXPECT_TRUE(r.restoreFailure.empty()) << r.restoreFailure;
    ASSERT_EQ(r.readings.size(), 4u);
    EXPECT_EQ(tunedHz, (std::vector<double>{136000, 7100000, 14175000, 145000000}));
    EXPECT_EQ(tunedModes, (std::vector<std::string>{"AM", "LSB", "USB", "USB"}));
    for (const Reading& reading : r.readings) EXPECT_EQ(reading.rig().strengthDb, -12);
    EXPECT_EQ(r.readings[3].entry.row.freqMHz, 145.0);
    EXPECT_EQ(rig.frequencyHz(), 3712000);
    EXPECT_EQ(rig.mode(), before);
    EXPECT_EQ(before.name, "CW");
}

TEST(Rigctld, UnreachableAndSilentPeersGiveClearMessagesWithoutHanging) {
    const int closedPort = test::FreeLoopbackPort();
    const std::string closed = "127.0.0.1:" + std::to_string(closedPort);
    EXPECT_EQ(OpenError(Via(closed)), "rigctld not reachable at " + closed);
    EXPECT_EQ(OpenError(Via("no-such-host.invalid:4532")),
              "rigctld not reachable at no-such-host.invalid:4532");

    test::SilentPeer silent(true);
    EXPECT_EQ(OpenError(Via("127.0.0.1:" + std::to_string(silent.port()), 200)),
              "rig not responding");
}

TEST(Rigctld, KilledInTheMiddleOfASweepKeepsTheRowsTaken) {
    RigctldProcess daemon;
    RigSession rig(Via(daemon.address()));
    SweepCallbacks killAfterTwo;
    int rows = 0;
    killAfterTwo.reading = [&](const Reading&) {
        if (++rows == 2) daemon.kill();
    };
    const SweepResult r = RunSweep(rig, QuickPlan("80m,40m,30m,20m"), killAfterTwo, {}, '.');
    ASSERT_EQ(r.readings.size(), 2u);
    EXPECT_EQ(r.readings[1].where.label, "40m");
    EXPECT_EQ(r.failedIndex, 2u);
    EXPECT_EQ(r.failure, "Sweep stopped at 30m: rigctld not reachable at " + daemon.address());
    // Left on 40 m: the restore names the frequency there.
    const std::string left =
        "rigctld not reachable at " + daemon.address() + "; the rig is left at 7100000 Hz ";
    EXPECT_EQ(r.restoreFailure.substr(0, left.size()), left);
}

// Stands before a rigctld like the daemon does when a client left just before: the second
// connection (the first after the reachability check) is dropped at once, the others are
// passed through. Notes whether the first was still open when the second came.
class DroppingProxy {
  public:
    explicit DroppingProxy(int daemonPort)
        : daemonPort_(daemonPort), thread_([this] { serve(); }) {}
    ~DroppingProxy() {
        stop_ = true;
        thread_.join();
    }
    std::string address() const { return "127.0.0.1:" + std::to_string(listener_.port()); }
    bool firstOpenAtSecond() const { return firstOpenAtSecond_; }

  private:
    int next() {
        while (!stop_) {
            pollfd p{listener_.fd(), POLLIN, 0};
            if (poll(&p, 1, 20) > 0) return accept(listener_.fd(), nullptr, nullptr);
        }
        return -1;
    }
    void pass(int client) {
        const int daemon = socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in a{};
        a.sin_family = AF_INET;
        a.sin_port = htons(static_cast<std::uint16_t>(daemonPort_));
        a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        if (connect(daemon, reinterpret_cast<sockaddr*>(&a), sizeof a) == 0) {
            pollfd p[2] = {{client, POLLIN, 0}, {daemon, POLLIN, 0}};
            char buffer[4096];
            for (bool open = true; open && !stop_;) {
                if (poll(p, 2, 20) <= 0) continue;
                for (int i = 0; i < 2 && open; ++i) {
                    if (!p[i].revents) continue;
                    const ssize_t n = read(p[i].fd, buffer, sizeof buffer);
                    open = n > 0 && write(p[1 - i].fd, buffer, n) == n;
                }
            }
        }
        close(daemon);
        if (client >= 0) close(client);
    }
    void serve() {
        std::atomic<bool> firstOpen{true};
        const int first = next();
        std::thread firstPassed([&] {
            pass(first);
            firstOpen = false;
        });
        const int second = next();
        firstOpenAtSecond_ = first >= 0 && second >= 0 && firstOpen;
        close(second);
        for (int c = next(); c >= 0; c = next()) pass(c);
        firstPassed.join();
    }

    const int daemonPort_;
    test::LoopbackSocket listener_{true};
    std::atomic<bool> stop_{false};
    std::atomic<bool> firstOpenAtSecond_{false};
    std::thread thread_;
};

// The reachability check holds its connection while Hamlib connects, so that it cannot be
// the leaving client that makes rigctld drop Hamlib's; a drop that still happens is tried again.
TEST(Rigctld, AFreshConnectionDroppedByTheDaemonIsTriedAgain) {
    RigctldProcess daemon;
    DroppingProxy proxy(daemon.port());
    RigSession rig(Via(proxy.address()));
    EXPECT_TRUE(proxy.firstOpenAtSecond());
    EXPECT_EQ(rig.strengthDb(), -12);
}

// A stopped daemon still lets the kernel complete connections until its queue is full; tries
// through one check leave at most one of them waiting, and it is answered once the daemon
// goes on.
TEST(Rigctld, AStoppedDaemonHasAtMostOneConnectionOfOursWaiting) {
    RigctldProcess daemon;
    daemon.pause();
    DaemonCheck check;
    for (int attempt = 0; attempt < 4; ++attempt) {
        EXPECT_EQ(OpenError(Via(daemon.address(), 200), &check), "rig not responding");
        EXPECT_LE(test::WaitingConnections(daemon.port()), 1) << attempt;
    }
    daemon.resume();
    RigSession rig(Via(daemon.address()), {}, &check);
    EXPECT_EQ(rig.strengthDb(), -12);
}

// A stop ends the wait for a stopped daemon's answer at once, however long the timeout.
TEST(Rigctld, AStopEndsTheWaitForAStoppedDaemon) {
    RigctldProcess daemon;
    daemon.pause();
    std::stop_source stop;
    // The stop comes once the open waits: its connection sits in the frozen daemon's queue.
    std::thread stopper([&] {
        EXPECT_TRUE(fw::test::WaitFor([&] { return test::WaitingConnections(daemon.port()) >= 1; }));
        stop.request_stop();
    });
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(OpenError(Via(daemon.address(), 120'000), nullptr, stop.get_token()), "cancelled");
    stopper.join();
    // Hang detection only: without the stop the wait lasts two minutes.
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(60));
}

// A stop while a call waits for a daemon that stopped answering: the call and the restore
// are cut a grace after the stop, not at the two minutes' timeout.
TEST(Rigctld, AStopCutsTheCallInProgressAndTheRestoreOfAStoppedDaemon) {
    RigctldProcess daemon;
    std::stop_source stop;
    const StopGrace grace(stop.get_token());
    RigSession rig(Via(daemon.address(), 120'000), grace.token());
    std::jthread stopper;
    SweepCallbacks freeze;
    freeze.reading = [&](const Reading&) {
        daemon.pause();
        stopper = test::StopAfter(stop, 300);
    };
    const SweepResult r = RunSweep(rig, QuickPlan("40m,20m"), freeze, {stop.get_token(), {}}, '.');
    EXPECT_TRUE(r.cancelled) << r.failure;
    EXPECT_EQ(r.readings.size(), 1u);
    EXPECT_EQ(r.restoreFailure,
              std::string(CutText) +
                  "; the rig is left at 7100000 Hz LSB instead of 145000000 Hz FM 15000 Hz");
    daemon.resume();
}

TEST(DirectRig, HamlibsDummyOpensWithoutRigctldAndRefusesUnknownSettings) {
    RigConnection dummy{DirectRig{1, "", 0, {{"static_data", "1"}}}};
    {
        RigSession rig(dummy);
        const SweepResult r = RunSweep(rig, QuickPlan("15m"), {}, {}, '.');
        ASSERT_TRUE(r.complete()) << r.failure;
        EXPECT_EQ(r.readings.at(0).rig().strengthDb, -12);
        EXPECT_EQ(rig.frequencyHz(), 145000000);
    }
    RigConnection unknownKey{DirectRig{1, "", 0, {{"no_such_key", "1"}}}};
    EXPECT_EQ(OpenError(unknownKey), "unknown rig setting \"no_such_key\"");
    EXPECT_EQ(OpenError(RigConnection{DirectRig{999999, "", 0, {}}}), "unknown rig model 999999");
    // A serial rig on a device that does not exist names the device.
    const std::string error =
        OpenError(RigConnection{DirectRig{1035, "/dev/fw-no-such-tty", 0, {}}});
    EXPECT_EQ(error.rfind("rig not reachable at /dev/fw-no-such-tty: ", 0), 0u) << error;
    RigSession rig(dummy);
    EXPECT_THROW(rig.setMode({"NOSUCHMODE", 0}), RigSettingsError);
}

}  // namespace
}  // namespace fw::rig
