#pragma once
// The rig waits and stops as every receiver does (receiver/pacing.h).
#include "receiver/pacing.h"

namespace fw::rig {

using receiver::Cancelled;
using receiver::CheckStop;
using receiver::Pacing;
using receiver::Wait;
using receiver::WaitSlice;

}  // namespace fw::rig
