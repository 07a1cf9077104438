#pragma once
// A clock that jumps instead of sleeping and a scripted receiver, for the monitor's tests.
#include <functional>
#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "model/levels.h"
#include "monitor/monitor_clock.h"
#include "monitor/sweeper.h"

namespace fw::test {

// Starts at 2026-03-01 00:00 UTC. A wait moves the time to its end at once; `onWait` runs
// first and may request the stop or change the world between two sweeps.
class JumpingClock final : public MonitorClock {
  public:
    TimePoint now() override { return now_; }
    bool waitUntil(TimePoint t, std::stop_token stop) override {
        waits.push_back(UtcSecondsAt(t));
        if (onWait) onWait(waits.size());
        if (stop.stop_requested()) return false;
        if (t > now_) now_ = t;
        return true;
    }
    void advance(std::chrono::seconds s) { now_ += s; }
    static UtcSeconds Start() { return 1772323200; }

    std::vector<UtcSeconds> waits;
    std::function<void(std::size_t waitNumber)> onWait;

  private:
    TimePoint now_ = TimePointOf(Start());
};

// Each read takes `readSeconds` of the clock's time and gives an antenna-voltage row of
// 20 dBuV, unless the script says the band fails in that sweep or the connect fails.
class ScriptedSweeper final : public Sweeper {
  public:
    explicit ScriptedSweeper(JumpingClock& clock) : clock_(clock) {}

    std::string connect() override {
        calls.push_back("connect");
        if (failingConnects.count(sweep)) return "rigctld not reachable at 127.0.0.1:4532";
        connected = true;
        return {};
    }
    void disconnect() override {
        calls.push_back("disconnect");
        connected = false;
    }
    void beginSweep() override { calls.push_back("begin"); }
    std::string endSweep() override {
        calls.push_back("end");
        return {};
    }
    BandReadResult read(const LogBand& band) override {
        calls.push_back("read " + band.band);
        clock_.advance(readSeconds.count(sweep) ? readSeconds.at(sweep) : defaultReadSeconds);
        if (onRead) onRead(band);
        const auto failure = failingReads.find({sweep, band.band});
        if (failure != failingReads.end()) {
            const std::string why = failure->second;
            if (readsFailOnce) failingReads.erase(failure);
            return why;
        }
        const MeasurementLevels l = LevelsFromAntennaVoltage(20, band.freqMHz, 2.15);
        return MeasRow{band.freqMHz, l.FieldDbuVm, 2700,          "AntVol",
                       2.15,         l.SUnits,     l.AntVoltDbuV, l.AntPowerDbm};
    }
    std::string rigName() const override { return "Scripted"; }
    ReadingCalibration calibration() const override { return {-1.5, std::nullopt}; }

    // The monitor's sweep number (1, 2, ...), kept up to date by the test from the status;
    // the scripts below are keyed by it.
    int sweep = 0;
    bool connected = false;
    std::vector<std::string> calls;
    std::chrono::seconds defaultReadSeconds{10};
    std::map<int, std::chrono::seconds> readSeconds;                  // per sweep
    std::map<std::pair<int, std::string>, std::string> failingReads;  // (sweep, band) -> why
    bool readsFailOnce = false;     // each of failingReads fails the first read only
    std::set<int> failingConnects;  // sweeps where connect fails
    std::function<void(const LogBand&)> onRead;

  private:
    JumpingClock& clock_;
};

}  // namespace fw::test
