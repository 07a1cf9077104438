#pragma once
// One user of an SDR at a time, across processes, by the rig's lock (rig/rig_lock.h) on a
// file keyed by the device arguments.
#include <string>

#include "rig/rig_lock.h"

namespace fw::sdr {

// "sdr-driver_rtlsdr_serial_0001.lock": the arguments' KEY=VALUE pairs in the order of their
// keys, so that "serial=1,driver=x" and "driver=x, serial=1" name the same device. Arguments
// too long for a file name are named by their SHA-256.
std::string SdrLockFileName(const std::string& args);

// Takes the SDR of `args` for `user` ("floorwatch-cli sdr read", "Floorwatch") without
// waiting and before the device is touched. Throws rig::RigError "SDR in use by USER (pid N)"
// when another job holds it, or why the lock file cannot be made.
rig::RigLock LockSdr(const std::string& args, const std::string& user);

}  // namespace fw::sdr
