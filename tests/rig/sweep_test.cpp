// Readings and sweeps against a scripted rig: no device, no sleeping.
#include <gtest/gtest.h>

#include <functional>

#include "rig/plan_limits.h"
#include "rig/rig_error.h"
#include "rig/rig_receiver.h"
#include "rig/sweep.h"

namespace fw::rig {
namespace {

// Records every call; throws "rig not responding" from call number `failAt` on.
struct ScriptedRig : RigControl {
    double hz = 145e6;
    RigMode tuned{"FM", 15000};
    std::vector<double> strengths{-12};
    std::size_t nextStrength = 0;
    std::vector<std::string> calls;
    std::size_t failAt = SIZE_MAX;
    std::function<void()> onStrength;

    void call(std::string what) {
        calls.push_back(std::move(what));
        if (calls.size() > failAt) throw RigError(NotRespondingText);
    }
    double frequencyHz() override {
        call("get freq");
        return hz;
    }
    void setFrequencyHz(double f) override {
        call("freq " + std::to_string(static_cast<long long>(f)));
        hz = f;
    }
    RigMode mode() override {
        call("get mode");
        return tuned;
    }
    void setMode(const RigMode& m) override {
        call("mode " + m.name + " " + std::to_string(m.passbandHz));
        tuned = m;
    }
    double strengthDb() override {
        call("strength");
        if (onStrength) onStrength();
        return strengths[nextStrength++ % strengths.size()];
    }
};

// Sleeps nothing; remembers the slices asked for and can stop the work after some of them.
struct Clock {
    std::stop_source stop;
    std::vector<long> slices;
    std::size_t stopAfter = SIZE_MAX;

    Pacing pacing() {
        return Pacing{stop.get_token(), [this](std::chrono::milliseconds ms) {
                          slices.push_back(static_cast<long>(ms.count()));
                          if (slices.size() == stopAfter) stop.request_stop();
                      }};
    }
};

EntryAccepted TypedVoltageEntry(const std::string& band, const std::string& freq,
                                const std::string& voltage, char sep) {
    EntryInputs in;
    in.band = band.empty() ? "80m" : band;
    in.freeFrequency = band.empty();
    in.frequency = freq;
    in.method = EntryMethod::AntennaVoltage;
    in.antennaVoltage = voltage;
    in.gain = DefaultGainText(sep);
    in.bandwidth = "2700";
    return std::get<EntryAccepted>(EvaluateEntry(in, sep));
}

TEST(RigReading, MedianOfSamplesBecomesTheRowOfATypedVoltageEntry) {
    for (char sep : {',', '.'}) {
        ScriptedRig rig;
        rig.strengths = {-10, -14, 20, -12, -13};
        Clock clock;
        ReadingPlan plan;
        plan.offsets = {{"20m", 1.25}};
        const receiver::ResolvedTarget where = ResolveTarget(receiver::Target::Band("20m"), plan, sep);
        const Reading r = TakeReading(rig, where, plan, clock.pacing(), sep);
        EXPECT_EQ(r.rig().samples, (std::vector<double>{-10, -14, 20, -12, -13}));
        EXPECT_EQ(r.rig().strengthDb, -12);
        EXPECT_EQ(r.offsetDb, 1.25);
        EXPECT_EQ(r.rig().antVoltDbuV, AntennaVoltageDbuV(-12, 1.25));
        const EntryAccepted typed =
            TypedVoltageEntry("20m", "", ExactNumberText(r.rig().antVoltDbuV, sep), sep);
        EXPECT_EQ(r.entry.row, typed.row);
        EXPECT_EQ(r.entry.row.entryUnit, "AntVol");
        EXPECT_EQ(r.entry.row.antVoltDbuV, r.rig().antVoltDbuV);
        EXPECT_EQ(r.entry.row.freqMHz, 14.175);
        // Four gaps of 200 ms between five samples, each in slices of at most 50 ms.
        EXPECT_EQ(clock.slices, std::vector<long>(16, 50));
        EXPECT_EQ(rig.calls, std::vector<std::string>(5, "strength"));
    }
}

// A calibration or meter far off gives no plausible row: refused with the range, as a typed
// entry of that voltage is.
TEST(RigReading, ALevelNoReceiverSeesIsRefusedWithTheRange) {
    for (const double offsetDb : {-1e5, 400.0, -140.0}) {
        ScriptedRig rig;
        Clock clock;
        ReadingPlan plan;
        plan.offsets = {{"80m", offsetDb}};
        const receiver::ResolvedTarget where = ResolveTarget(receiver::Target::Band("80m"), plan, '.');
        EXPECT_THROW(TakeReading(rig, where, plan, clock.pacing(), '.'), ReadingInputError);
    }
}

TEST(RigSweep, TunesSettlesReadsEachBandAndRestoresTheRig) {
    ScriptedRig rig;
    Clock clock;
    SweepPlan plan;
    plan.targets = BandTargets("MW,40m,20m");
    plan.reading.samples = 2;
    plan.reading.interval = std::chrono::milliseconds(60);
    std::vector<SweepProgress> progress;
    std::vector<std::string> rows;
    const SweepResult r =
        RunSweep(rig, plan,
                 {[&](const SweepProgress& p) { progress.push_back(p); },
                  [&](const Reading& reading) { rows.push_back(reading.where.label); }},
                 clock.pacing(), '.');
    EXPECT_TRUE(r.complete());
    EXPECT_TRUE(r.restoreFailure.empty());
    EXPECT_EQ(rows, (std::vector<std::string>{"MW", "40m", "20m"}));
    ASSERT_EQ(r.readings.size(), 3u);
    EXPECT_EQ(r.readings[2].entry.row.freqMHz, 14.175);
    ASSERT_EQ(progress.size(), 3u);
    EXPECT_EQ(progress[1].index, 1u);
    EXPECT_EQ(progress[1].count, 3u);
    EXPECT_EQ(progress[1].text, "40m: 7.1 MHz LSB");
    const std::vector<std::string> expected{
        "get freq", "get mode", "freq 475000",    "mode AM 0",
        "strength", "strength", "freq 7100000",   "mode LSB 0",
        "strength", "strength", "freq 14175000",  "mode USB 0",
        "strength", "strength", "freq 145000000", "mode FM 15000"};
    EXPECT_EQ(rig.calls, expected);
    // Per band: 300 ms settle (6 slices), then 60 ms between the samples (50 + 10).
    std::vector<long> band{50, 50, 50, 50, 50, 50, 50, 10};
    std::vector<long> all;
    for (int i = 0; i < 3; ++i) all.insert(all.end(), band.begin(), band.end());
    EXPECT_EQ(clock.slices, all);
}

TEST(RigSweep, AFailurePartWayKeepsTheRowsTakenNamesTheBandAndStillRestores) {
    // Calls: get freq, get mode, then 3 per band (freq, mode, one sample).
    ScriptedRig rig;
    rig.failAt = 2 + 3 * 2 + 1;  // from the mode of the third band on
    Clock clock;
    SweepPlan plan;
    plan.targets = BandTargets("80m,40m,30m,20m");
    plan.reading.samples = 1;
    const SweepResult r = RunSweep(rig, plan, {}, clock.pacing(), '.');
    ASSERT_EQ(r.readings.size(), 2u);
    EXPECT_EQ(r.readings[1].where.label, "40m");
    EXPECT_EQ(r.failedIndex, 2u);
    EXPECT_EQ(r.failure, "Sweep stopped at 30m: rig not responding");
    EXPECT_EQ(r.failureReason, "rig not responding");
    EXPECT_FALSE(r.cancelled);
    // The rig stays silent: the message says where the sweep left it (30 m's frequency,
    // 40 m's mode), and both restores were tried.
    EXPECT_EQ(r.restoreFailure,
              "rig not responding; the rig is left at 10125000 Hz LSB instead of 145000000 Hz FM "
              "15000 Hz");
    EXPECT_EQ(rig.calls[rig.calls.size() - 2], "freq 145000000");
    EXPECT_EQ(rig.calls.back(), "mode FM 15000");

    // The first tuning already goes unanswered: where the rig is, nobody knows.
    ScriptedRig silent;
    silent.failAt = 2;
    EXPECT_EQ(RunSweep(silent, plan, {}, clock.pacing(), '.').restoreFailure,
              "rig not responding; the rig may not be back at 145000000 Hz FM 15000 Hz");

    ScriptedRig dead;
    dead.failAt = 0;
    const SweepResult none = RunSweep(dead, plan, {}, clock.pacing(), '.');
    EXPECT_TRUE(none.readings.empty());
    EXPECT_EQ(none.failure, "Sweep not started: rig not responding");
    EXPECT_EQ(none.failureReason, "rig not responding");
    EXPECT_EQ(dead.calls, std::vector<std::string>{"get freq"});  // nothing was tuned
}

// A rig that refuses its own frequency back still gets its own mode back, and the frequency
// at the next restore.
TEST(RigSweep, TheModeIsRestoredWhenTheFrequencyIsRefused) {
    struct RefusingRig : ScriptedRig {
        bool refuse = true;
        void setFrequencyHz(double f) override {
            if (f == 145e6 && refuse) throw RigError("Invalid parameter");
            ScriptedRig::setFrequencyHz(f);
        }
    } rig;
    Clock clock;
    RigReceiver receiver(rig, SweepPlan{}, '.', clock.pacing().sleep);
    SweepPlan free;
    receiver.tune(ResolveTarget(receiver::Target::Free("7.03"), free.reading, '.'), {});
    EXPECT_EQ(receiver.restore(),
              "Invalid parameter; the rig is left at 7030000 Hz FM 15000 Hz instead of "
              "145000000 Hz FM 15000 Hz");
    EXPECT_EQ(rig.tuned, (RigMode{"FM", 15000}));
    rig.refuse = false;
    EXPECT_EQ(receiver.restore(), "");
    EXPECT_EQ(rig.hz, 145e6);
}

TEST(RigSweep, ACancelEndsWithinOneSliceKeepsRowsAndRestores) {
    struct Case {
        std::size_t stopAfterSlices;  // 0: stop requested while a sample is read
        std::size_t rows;
    };
    // 8 slices per band as above: a stop in the second band's settle keeps one row, one
    // between the first band's samples none.
    for (const Case& c : {Case{10, 1}, Case{8, 0}, Case{1, 0}, Case{0, 0}}) {
        ScriptedRig rig;
        Clock clock;
        clock.stopAfter = c.stopAfterSlices;
        if (c.stopAfterSlices == 0) rig.onStrength = [&] { clock.stop.request_stop(); };
        SweepPlan plan;
        plan.targets = BandTargets("80m,40m,20m");
        plan.reading.samples = 2;
        plan.reading.interval = std::chrono::milliseconds(60);
        const SweepResult r = RunSweep(rig, plan, {}, clock.pacing(), '.');
        EXPECT_TRUE(r.cancelled) << c.stopAfterSlices;
        EXPECT_TRUE(r.failure.empty());
        EXPECT_EQ(r.readings.size(), c.rows) << c.stopAfterSlices;
        if (c.stopAfterSlices) {
            EXPECT_EQ(clock.slices.size(), c.stopAfterSlices);
        }
        ASSERT_GE(rig.calls.size(), 2u);
        EXPECT_EQ(rig.calls[rig.calls.size() - 2], "freq 145000000");
        EXPECT_EQ(rig.calls.back(), "mode FM 15000");
    }
}

TEST(RigSweep, AValueOutsideThePlanLimitsIsRefusedBeforeAnyRigCall) {
    // Under a comma separator. The limits themselves pass: 0,01 and 300 MHz, -60 and 60 dB.
    SweepPlan edge;
    edge.targets = {receiver::Target::Free("0,01"), receiver::Target::Free("300")};
    edge.reading.offsets = {{"LW", -60}, {"2m", 60}};
    EXPECT_NO_THROW(CheckSweepPlan(edge, ','));
    const std::vector<std::pair<std::function<void(SweepPlan&)>, std::string>> cases = {
        {[](SweepPlan& p) { p.reading.offsets["20m"] = 60.5; },
         "the calibration of 20m must lie between -60 and 60 dB, not 60,5"},
        {[](SweepPlan& p) { p.targets.push_back(receiver::Target::Free("0,009")); },
         "the frequency must lie between 0,01 and 300 MHz, not 0,009"},
        {[](SweepPlan& p) { p.targets.push_back(receiver::Target::Free("300,5")); },
         "the frequency must lie between 0,01 and 300 MHz, not 300,5"},
    };
    for (const auto& [change, message] : cases) {
        ScriptedRig rig;
        Clock clock;
        SweepPlan plan = edge;
        change(plan);
        try {
            RunSweep(rig, plan, {}, clock.pacing(), ',');
            ADD_FAILURE() << "accepted: " << message;
        } catch (const ReadingInputError& e) {
            EXPECT_EQ(std::string(e.what()), message);
        }
        EXPECT_TRUE(rig.calls.empty()) << message;
    }
}

}  // namespace
}  // namespace fw::rig
