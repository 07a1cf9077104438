#pragma once
// `rig read`, `rig sweep`, `sdr read` and `sdr sweep`: one implementation behind the options of
// either receiver. Each row is written to standard output as it is read, and appended to a
// data file at the end, also when the sweep ended early.
#include <functional>
#include <iosfwd>
#include <memory>
#include <optional>
#include <stop_token>
#include <string>

#include "cli/cli_args.h"
#include "receiver/receiver.h"
#include "receiver/receiver_lock.h"
#include "rig/reading.h"

namespace fw::cli {

// A receiver taken for this command and not yet opened.
struct TakenReceiver {
    receiver::ReceiverLock lock;
    std::unique_ptr<receiver::Receiver> receiver;
    // Its reading where it is tuned now, without retuning it, where it has one.
    std::function<receiver::Reading(std::stop_token)> readHere;
};

// What tells the two receivers' commands apart.
struct ReceiverCommand {
    std::string name;  // "rig", "sdr"
    bool sweep = false;
    std::optional<std::string> band, freq, bands, appendTo;
    rig::ReadingPlan reading;  // gain, bandwidth and calibration; checked against every target
    // Takes the receiver for `user` ("floorwatch-cli rig sweep"): throws
    // receiver::ReceiverError when another job holds it.
    std::function<TakenReceiver(const std::string& user, std::stop_token stop,
                                std::stop_token hurry)>
        take;
    // Reads without --band or --freq where the receiver is tuned now (TakenReceiver's
    // readHere); otherwise one of them is required.
    bool readsHere = false;
    // A single reading's failure, from the place and the reason; without one it is told as
    // a sweep's.
    std::function<std::string(const std::string& where, const std::string& reason)> readFailure;
};

// Checks the options and every target before the file and the receiver are touched, then
// reads. ExitOk, or ExitRefused when a reading failed, was cancelled or the receiver could
// not be put back. Throws UsageError, rig::ReadingInputError, receiver::ReceiverError and
// receiver::Cancelled (a stop while the receiver was opened).
int RunReceiverCommand(const ReceiverCommand& command, std::ostream& out, std::ostream& err);

}  // namespace fw::cli
