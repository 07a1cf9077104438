#pragma once
// One user of a receiver at a time. A device serialises single calls, not tune -> settle ->
// read, so two jobs on one receiver (the monitor and a sweep, in one process or two) would
// measure on each other's bands. Each job holds an advisory lock (flock) on a file that
// stands for the device, keyed by its identity, and a second job is refused at once, before
// it touches the device. The rig names its file in rig/rig_lock.h, the SDR in sdr/sdr_lock.h.
#include <string>

#include "libs/unique_fd.h"

namespace fw::receiver {

// The folder of the lock files: $XDG_RUNTIME_DIR/Floorwatch, or the cache folder
// ($XDG_CACHE_HOME, else ~/.cache) /Floorwatch where no runtime folder is set. Empty when
// neither that nor HOME is set.
std::string LockFolder();

// Letters, digits, "." and "-" kept; everything else (a "/" of a device path, ":" of an IPv6
// address, "=" and "," of SDR arguments) becomes "_"; "default" for an empty text.
std::string FileNamePart(const std::string& text);

class ReceiverLock {
  public:
    // Takes the device whose lock file in LockFolder() is `fileName` for `user`
    // ("floorwatch-cli monitor", "Floorwatch"), without waiting; `device` ("rig", "SDR")
    // names it in the messages. `held` (a connection that fixed the device's identity) stays
    // open as long as the lock. Throws ReceiverError "SDR in use by USER (pid N)" when
    // another job holds it, or why the lock file cannot be made.
    ReceiverLock(const std::string& fileName, const std::string& user, const std::string& device,
                 UniqueFd held = {});
    // The lock ends with the descriptor, also when the process is killed.
    ReceiverLock(ReceiverLock&&) = default;
    ReceiverLock& operator=(ReceiverLock&&) = default;

  private:
    UniqueFd held_;  // opened before fd_, so closed after it
    UniqueFd fd_;
};

}  // namespace fw::receiver
