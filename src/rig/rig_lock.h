#pragma once
// One user of a rig at a time (see receiver/receiver_lock.h), keyed by the rig's identity.
#include <string>

#include "receiver/receiver_lock.h"
#include "rig/rig_settings.h"

namespace fw::rig {

// The lock file of a rig driven directly, keyed by the model and the port with a device's
// path made canonical: "model-1035-_dev_ttyUSB0.lock". A rigctld's is keyed by the address
// of the peer a connection reaches (see ConnectedPeer) and the port, so that every way of
// writing one daemon names one file: "localhost", "127.0.0.1", "[::ffff:127.0.0.1]:4532"
// give "rigctld-loopback-4532.lock".
std::string RigLockFileName(const DirectRig& rig);

// Takes the rig for `user` ("floorwatch-cli monitor", "Floorwatch"), without waiting; a
// rigctld's address is resolved once, by a connection held while the lock is. Throws
// receiver::ReceiverError "rig in use by USER (pid N)" when another job holds it, or why the
// lock file cannot be made.
receiver::ReceiverLock LockRig(const RigConnection& connection, const std::string& user);

}  // namespace fw::rig
