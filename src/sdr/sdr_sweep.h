#pragma once
// Noise readings with a live SDR: one at a target, or one per band of a sweep. A sweep that
// fails or is cancelled part-way keeps the readings taken.
#include <functional>
#include <stop_token>
#include <string>
#include <vector>

#include "rig/reading.h"
#include "sdr/noise_reading.h"
#include "sdr/sdr_session.h"

namespace fw::sdr {

// Tunes to the target, captures settings.seconds and builds its "AntPwr" row. Throws
// SdrError, rig::Cancelled, rig::ReadingInputError.
NoiseReading ReadNoise(SdrSession& session, const rig::ResolvedTarget& where,
                       const SdrSettings& settings, const rig::ReadingPlan& plan,
                       std::stop_token stop, char sep);

struct SdrSweepResult {
    std::vector<NoiseReading> readings;
    bool cancelled = false;
    std::string failure;  // "Sweep stopped at 20m: SDR not available: ..."
    bool complete() const { return !cancelled && failure.empty(); }
};

SdrSweepResult RunSdrSweep(SdrSession& session, const std::vector<rig::ResolvedTarget>& targets,
                           const SdrSettings& settings, const rig::ReadingPlan& plan,
                           const std::function<void(const NoiseReading&)>& onReading,
                           std::stop_token stop, char sep);

}  // namespace fw::sdr
