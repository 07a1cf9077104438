// The sweep over any receiver, against a receiver that records its calls.
#include "receiver/sweep.h"

#include <gtest/gtest.h>

#include <clocale>

#include "receiver/receiver_error.h"

namespace fw::receiver {
namespace {

// Tunes and reads on paper; fails or stops at the read of target `failAt`.
struct FakeReceiver : Receiver {
    std::vector<std::string> calls;
    std::size_t failAt = SIZE_MAX;
    std::size_t reads = 0;
    std::stop_source* stopAt = nullptr;  // requested instead of failing
    bool beginFails = false;

    void open(std::stop_token) override { calls.push_back("open"); }
    void begin(std::stop_token) override {
        calls.push_back("begin");
        if (beginFails) throw ReceiverError("silent");
    }
    void tune(const ResolvedTarget& where, std::stop_token) override {
        calls.push_back("tune " + where.label);
    }
    Reading read(const ResolvedTarget& where, std::stop_token stop) override {
        calls.push_back("read " + where.label);
        if (reads++ == failAt) {
            if (!stopAt) throw ReceiverError("no samples");
            stopAt->request_stop();
            if (stop.stop_requested()) throw Cancelled();
        }
        return Reading{where, 0, {}, RigDetails{}};
    }
    std::string restore() override {
        calls.push_back("restore");
        return {};
    }
    void close() noexcept override {}
    std::string name() const override { return "fake"; }
};

std::vector<ResolvedTarget> Targets() {
    return {{Target::Band("80m"), 3.65, "80m", "80m"},
            {Target::Band("40m"), 7.1, "40m", "40m"},
            {Target::Free("10.1"), 10.1, "10.1 MHz", "30m"}};
}

TEST(ReceiverSweep, ReadingsComeInOrderAndTheEndRestoresWhateverStoppedIt) {
    std::setlocale(LC_ALL, "C");
    struct Case {
        std::size_t failAt;
        bool stop;
        std::vector<std::string> shown;
        std::string failure;
    };
    const std::vector<Case> cases{
        {SIZE_MAX, false, {"80m", "40m", "10.1 MHz"}, ""},
        {1, false, {"80m"}, "Sweep stopped at 40m: no samples"},
        {1, true, {"80m"}, ""},
        {0, true, {}, ""},
    };
    for (const Case& c : cases) {
        FakeReceiver fake;
        std::stop_source stop;
        fake.failAt = c.failAt;
        if (c.stop) fake.stopAt = &stop;
        std::vector<std::string> shown, steps;
        const SweepResult r = RunSweep(
            fake, Targets(), stop.get_token(),
            [&](const Reading& reading) { shown.push_back(reading.where.label); },
            [&](std::size_t i, std::size_t n) { steps.push_back(std::to_string(i) + "/" + std::to_string(n)); });
        EXPECT_EQ(shown, c.shown) << c.failAt;
        EXPECT_EQ(r.readings.size(), shown.size());
        EXPECT_EQ(r.failure, c.failure);
        EXPECT_EQ(r.cancelled, c.stop);
        EXPECT_EQ(r.complete(), c.failAt == SIZE_MAX);
        EXPECT_EQ(steps.front(), "0/3");
        EXPECT_EQ(fake.calls.front(), "begin");
        EXPECT_EQ(fake.calls.back(), "restore");
    }
}

TEST(ReceiverSweep, AReceiverThatDoesNotAnswerIsNeitherTunedNorRestored) {
    FakeReceiver fake;
    fake.beginFails = true;
    const SweepResult r = RunSweep(fake, Targets(), {}, {});
    EXPECT_EQ(r.failure, "Sweep not started: silent");
    EXPECT_FALSE(r.failedIndex);
    EXPECT_EQ(fake.calls, std::vector<std::string>{"begin"});

    std::stop_source stopped;
    stopped.request_stop();
    FakeReceiver idle;
    EXPECT_TRUE(RunSweep(idle, Targets(), stopped.get_token(), {}).cancelled);
    EXPECT_TRUE(idle.calls.empty());
}

}  // namespace
}  // namespace fw::receiver
