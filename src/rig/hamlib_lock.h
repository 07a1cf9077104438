#pragma once
// Hamlib keeps process-wide state (debug buffers, the backend list) without locks of its own,
// so every call into it holds this lock.
#include <mutex>

namespace fw::rig {

std::mutex& HamlibMutex();

// Turns Hamlib's own printing to standard error off, once; call with the lock held.
void SilenceHamlib();

}  // namespace fw::rig
