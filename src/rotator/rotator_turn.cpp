#include "rotator/rotator_turn.h"

#include <cmath>
#include <optional>

#include "rig/pacing.h"

namespace fw::rotator {

namespace {

// Less change than this between two answers is a rotator at rest.
constexpr double RestingDeg = 0.05;

}  // namespace

double AngleBetween(double aDeg, double bDeg) {
    const double d = std::fmod(std::fabs(aDeg - bDeg), 360.0);
    return d > 180 ? 360 - d : d;
}

std::string DegreesText(double deg) {
    const long whole = std::lround(deg);
    return std::to_string(((whole % 360) + 360) % 360) + "°";
}

RotatorPosition TurnTo(Rotator& rotator, double azimuthDeg, double elevationDeg,
                       std::stop_token stop, const TurnLimits& limits) {
    using Clock = std::chrono::steady_clock;
    try {
        rotator.setPosition({azimuthDeg, elevationDeg}, stop);
    } catch (const RotatorRefused&) {
        if (azimuthDeg <= 180) throw;
        rotator.setPosition({azimuthDeg - 360, elevationDeg}, stop);
    }
    const rig::Pacing pacing{stop, {}};
    const auto deadline = Clock::now() + limits.arrival;
    std::optional<double> before;             // the azimuth reported last time
    std::optional<Clock::time_point> within;  // since when it is within the tolerance
    for (;;) {
        const RotatorPosition now = rotator.position(stop);
        if (AngleBetween(now.azimuthDeg, azimuthDeg) <= limits.toleranceDeg) {
            if (!within) within = Clock::now();
            const bool resting = before && AngleBetween(now.azimuthDeg, *before) < RestingDeg;
            if (resting || Clock::now() - *within >= limits.rest) return now;
        }
        before = now.azimuthDeg;
        if (Clock::now() >= deadline)
            throw RotatorError(rotator.name() + " did not arrive at " + DegreesText(azimuthDeg) +
                               " within " +
                               std::to_string(std::chrono::duration_cast<std::chrono::seconds>(limits.arrival).count()) +
                               " s; it reports " + DegreesText(now.azimuthDeg));
        rig::Wait(pacing, limits.poll);
    }
}

}  // namespace fw::rotator
