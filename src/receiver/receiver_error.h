#pragma once
// The failures every receiver shares: its text is the message the user sees.
#include <exception>
#include <stdexcept>

namespace fw::receiver {

// A receiver call that failed: the device is unreachable, silent or refused a setting, or is
// in use by another job. The rig's and the SDR's own errors derive from it.
class ReceiverError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// Thrown out of a wait or check when a stop was requested.
class Cancelled : public std::exception {
  public:
    const char* what() const noexcept override { return "cancelled"; }
};

}  // namespace fw::receiver
