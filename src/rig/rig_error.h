#pragma once
// The one failure type of the rig layer: its text is the message the user sees.
#include <stdexcept>
#include <string>

#include "receiver/receiver_error.h"

namespace fw::rig {

inline constexpr const char* NotRespondingText = "rig not responding";

// A rig call that failed: "rig not responding", "rigctld not reachable at HOST:PORT",
// "rig not reachable at DEVICE: ...", a refused setting, or Hamlib's own error text.
class RigError : public receiver::ReceiverError {
  public:
    using receiver::ReceiverError::ReceiverError;
};

// A connection text (address, KEY=VALUE list, model, speed) that cannot be read.
class RigSettingsError : public std::invalid_argument {
  public:
    using std::invalid_argument::invalid_argument;
};

// Inputs of a reading or sweep that the entry path refuses (unknown band, unreadable free
// frequency, gain or bandwidth); found before the rig is touched.
class ReadingInputError : public std::invalid_argument {
  public:
    using std::invalid_argument::invalid_argument;
};

// "rigctld not reachable at HOST:PORT".
std::string RigctldUnreachableText(const std::string& address);

}  // namespace fw::rig
