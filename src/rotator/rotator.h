#pragma once
// What a bearing scan needs from a rotator: where it points, and a command to turn. Each call
// ends within the rotator's answer timeout or at a stop; RotctldClient implements it over
// Hamlib's network daemon, tests may supply their own.
#include <stdexcept>
#include <stop_token>
#include <string>

namespace fw::rotator {

struct RotatorPosition {
    double azimuthDeg = 0;
    double elevationDeg = 0;
};

// A rotator call that failed; its text is the message the user sees.
class RotatorError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// A position the rotator answered but refused ("RPRT -1").
class RotatorRefused : public RotatorError {
  public:
    using RotatorError::RotatorError;
};

class Rotator {
  public:
    virtual ~Rotator() = default;
    // Throws RotatorError, rig::Cancelled on a stop.
    virtual RotatorPosition position(std::stop_token stop) = 0;
    // Sets the target and returns at once; the rotator turns on its own.
    virtual void setPosition(const RotatorPosition& target, std::stop_token stop) = 0;
    // "rotctld at localhost:4533", for the messages and the log.
    virtual std::string name() const = 0;
};

}  // namespace fw::rotator
