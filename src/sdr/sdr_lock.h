#pragma once
// One user of an SDR at a time, across processes, by the receivers' lock
// (receiver/receiver_lock.h) on a file keyed by the device that SoapySDR finds for the arguments, so that every way of
// naming one receiver ("driver=rtlsdr", "serial=0001", ...) takes one lock.
#include <stop_token>
#include <string>

#include "receiver/receiver_lock.h"
#include "sdr/sdr_find.h"
#include "sdr/sdr_session.h"

namespace fw::sdr {

// "sdr-rtlsdr_serial_0001.lock": the device's driver and serial, or its label where it has
// no serial. A device reached through SoapySDR's remote module is named by the driver on the
// server, so that it is one lock with the same device opened directly on that machine. Keys
// too long for a file name are named by their SHA-256.
std::string SdrLockFileName(const SdrDeviceInfo& device);

// The device of `settings` found and taken for `user` ("floorwatch-cli sdr read",
// "Floorwatch") without waiting and before it is opened; `settings` with the arguments
// that open just that device through its own driver's module.
struct ClaimedSdr {
    receiver::ReceiverLock lock;
    SdrSettings settings;
};

// Throws SdrError "SDR not available: no device matches ..." or with why the search failed,
// receiver::ReceiverError "SDR in use by USER (pid N)" when another job holds it or why the lock file
// cannot be made, and receiver::Cancelled when `stop` is requested during the search.
ClaimedSdr ClaimSdr(const SdrSettings& settings, const std::string& user, std::stop_token stop);

}  // namespace fw::sdr
