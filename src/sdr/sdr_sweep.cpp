#include "sdr/sdr_sweep.h"

#include "rig/pacing.h"
#include "rig/rig_error.h"

namespace fw::sdr {

NoiseReading ReadNoise(SdrSession& session, const rig::ResolvedTarget& where,
                       const SdrSettings& settings, const rig::ReadingPlan& plan,
                       std::stop_token stop, char sep) {
    Capture c = session.capture(where.frequencyMHz * 1e6, settings.seconds, stop);
    NoiseReading r = MakeNoiseReading(where, c.floor, std::move(c.spectrum), settings.refDbm, plan, sep);
    r.signature = std::move(c.signature);
    r.overflows = c.overflows;
    r.timeouts = c.timeouts;
    return r;
}

SdrSweepResult RunSdrSweep(SdrSession& session, const std::vector<rig::ResolvedTarget>& targets,
                           const SdrSettings& settings, const rig::ReadingPlan& plan,
                           const std::function<void(const NoiseReading&)>& onReading,
                           std::stop_token stop, char sep) {
    SdrSweepResult result;
    for (const rig::ResolvedTarget& where : targets) {
        try {
            result.readings.push_back(ReadNoise(session, where, settings, plan, stop, sep));
        } catch (const rig::Cancelled&) {
            result.cancelled = true;
            return result;
        } catch (const std::exception& e) {
            result.failure = "Sweep stopped at " + where.label + ": " + e.what();
            return result;
        }
        if (onReading) onReading(result.readings.back());
    }
    return result;
}

}  // namespace fw::sdr
