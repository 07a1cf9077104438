#pragma once
// What readings and sweeps need from a rig. RigSession implements it over Hamlib; tests
// and other callers may supply their own.
#include <string>

namespace fw::rig {

// A receive mode by Hamlib's name ("LSB", "USB", "AM", ...) with its passband in Hz;
// passband 0 means the rig's normal passband for the mode.
struct RigMode {
    std::string name;
    long passbandHz = 0;
    friend bool operator==(const RigMode&, const RigMode&) = default;
};

// Every call either succeeds or throws RigError; each is bounded by the connection's timeout
// (and by a stop, where the implementation can cut it).
class RigControl {
  public:
    virtual ~RigControl() = default;
    virtual double frequencyHz() = 0;
    virtual void setFrequencyHz(double hz) = 0;
    virtual RigMode mode() = 0;
    virtual void setMode(const RigMode& mode) = 0;
    // The S-meter in dB over S9 (Hamlib's STRENGTH).
    virtual double strengthDb() = 0;
};

}  // namespace fw::rig
