#pragma once
// Turning a rotator to a bearing and waiting until it reports it has arrived.
#include <chrono>
#include <stop_token>
#include <string>

#include "rotator/rotator.h"

namespace fw::rotator {

struct TurnLimits {
    double toleranceDeg = 2.0;  // arrived when the reported azimuth is this close
    // A slow rotator takes about a minute for the whole circle.
    std::chrono::milliseconds arrival{std::chrono::seconds(120)};
    std::chrono::milliseconds poll{250};  // between two questions for the position
    // A rotator still turning within the tolerance is given this long to come to rest, so
    // that the reading is taken where the antenna stays.
    std::chrono::milliseconds rest{2000};
};

// The angle between two bearings, 0..180.
double AngleBetween(double aDeg, double bDeg);

// "123°", a bearing in whole degrees, 0..359.
std::string DegreesText(double deg);

// Sets the target and asks the position until the azimuth is within the tolerance and has
// stopped changing (or `rest` has passed since it came within), at the elevation given. A rotator that turns from -180° to 180° and refuses a bearing above 180°
// is given it as the negative one. Throws RotatorError "rotctld at HOST:PORT did not arrive
// at 120° within 120 s; it reports 45°", rig::Cancelled on a stop.
RotatorPosition TurnTo(Rotator& rotator, double azimuthDeg, double elevationDeg,
                       std::stop_token stop, const TurnLimits& limits = {});

}  // namespace fw::rotator
