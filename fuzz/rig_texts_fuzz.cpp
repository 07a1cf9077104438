// The rig's and the monitor's option texts: calibration offsets, --rig-conf pairs, band
// lists and durations. Each is accepted or refused by its own exception, never otherwise;
// what is accepted is sound (finite offsets of known bands, pairs that read back the same,
// known bands, a duration above zero).
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "model/levels.h"
#include "monitor/duration_text.h"
#include "rig/reading.h"
#include "rig/rig_error.h"
#include "rig/rig_settings.h"
#include "rig/sweep.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const char sep = data[0] & 1 ? ',' : '.';
    const std::string_view text(reinterpret_cast<const char*>(data) + 1, size - 1);
    try {
        for (const auto& [band, db] : fw::rig::ParseCalibrationOffsets(text, sep))
            if (!std::isfinite(db) || !fw::KnownBandFrequencyMHz(band)) std::abort();
    } catch (const fw::rig::ReadingInputError&) {
    }
    try {
        const auto pairs = fw::rig::ParseConfPairs(text);
        if (fw::rig::ParseConfPairs(fw::rig::ConfPairsText(pairs)) != pairs) std::abort();
    } catch (const fw::rig::RigSettingsError&) {
    }
    try {
        for (const fw::receiver::Target& t : fw::rig::BandTargets(text))
            if (!fw::KnownBandFrequencyMHz(t.band)) std::abort();
    } catch (const fw::rig::ReadingInputError&) {
    }
    if (const auto d = fw::ParseDurationText(text); d && d->count() <= 0) std::abort();
    return 0;
}
