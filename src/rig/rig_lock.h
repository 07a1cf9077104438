#pragma once
// One user of a rig at a time. Hamlib serialises single calls, not tune -> settle -> sample,
// so two jobs on one rig (the monitor and a sweep, in one process or two) would measure on
// each other's bands. Each job holds an advisory lock (flock) on a file that stands for the
// rig, and a second job is refused at once, before it touches the rig. An SDR is locked the
// same way (see sdr/sdr_lock.h): two jobs would retune each other's captures.
#include <string>

#include "libs/unique_fd.h"
#include "rig/rig_settings.h"

namespace fw::rig {

// The folder of the lock files: $XDG_RUNTIME_DIR/Floorwatch, or the cache folder
// ($XDG_CACHE_HOME, else ~/.cache) /Floorwatch where no runtime folder is set. Empty when
// neither that nor HOME is set.
std::string RigLockFolder();

// Letters, digits, "." and "-" kept; everything else (a "/" of a device path, ":" of an IPv6
// address, "=" and "," of SDR arguments) becomes "_"; "default" for an empty text.
std::string FileNamePart(const std::string& text);

// The lock file of a rig driven directly, keyed by the model and the port with a device's
// path made canonical: "model-1035-_dev_ttyUSB0.lock". A rigctld's is keyed by the address
// of the peer a connection reaches (see ConnectedPeer) and the port, so that every way of
// writing one daemon names one file: "localhost", "127.0.0.1", "[::ffff:127.0.0.1]:4532"
// give "rigctld-loopback-4532.lock".
std::string RigLockFileName(const DirectRig& rig);

class RigLock {
  public:
    // Takes the rig for `user` ("floorwatch-cli monitor", "Floorwatch"), without waiting; a
    // rigctld's address is resolved once, by a connection held while the lock is. Throws RigError "rig in use by USER (pid N)" when another job holds it, or why the lock
    // file cannot be made.
    RigLock(const RigConnection& connection, const std::string& user);
    // Takes any other receiver by the name of its lock file in RigLockFolder(); `device`
    // ("SDR") names it in the messages: "SDR in use by USER (pid N)".
    RigLock(const std::string& fileName, const std::string& user, const std::string& device);
    // The lock ends with the descriptor, also when the process is killed.
    RigLock(RigLock&&) = default;
    RigLock& operator=(RigLock&&) = default;

  private:
    UniqueFd peer_;  // opened before fd_, so closed after it
    UniqueFd fd_;
};

}  // namespace fw::rig
