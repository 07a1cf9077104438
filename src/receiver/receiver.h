#pragma once
// A receiver that the program reads the noise with: the Hamlib rig (rig::RigReceiver) or an
// SDR (sdr::SdrReceiver). Readings, sweeps and the monitor work through this interface alone.
//
// Use from one thread at a time. A call that fails throws ReceiverError (or the source's
// error derived from it) with the text the user sees, or rig::ReadingInputError where the
// entry path refuses the level read; a stop requested through the token throws Cancelled,
// between device calls and within a wait slice (a capture within a tenth of a second).
//
//     receiver.open(stop);               // connect
//     receiver.begin(stop);              // note the tuning to put back
//     receiver.tune(where, stop);        // for each target
//     Reading r = receiver.read(where, stop);
//     std::string why = receiver.restore();
//     receiver.close();
#include <stop_token>
#include <string>

#include "receiver/reading.h"
#include "receiver/target.h"

namespace fw::receiver {

class Receiver {
  public:
    virtual ~Receiver() = default;

    // Connects to the device; a receiver that is open stays so. close() and open() connect
    // afresh after a failure.
    virtual void open(std::stop_token stop) = 0;
    // Notes where the device is tuned now, to put it back on restore(); a tuning noted and not
    // yet restored is kept. Also a check that the device answers. Called while open.
    virtual void begin(std::stop_token stop) = 0;
    // Tunes to `where` and lets the device settle. Called while open.
    virtual void tune(const ResolvedTarget& where, std::stop_token stop) = 0;
    // Takes a reading where the receiver is tuned to `where`. Called while open.
    virtual Reading read(const ResolvedTarget& where, std::stop_token stop) = 0;
    // Puts the tuning that begin() noted back where tune() changed it, connecting again where
    // the device was closed. Empty when it is back or was never moved, otherwise why not and
    // where it was left; a failed restore is tried again by the next one. Never throws.
    virtual std::string restore() = 0;
    // Drops the connection. Never throws.
    virtual void close() noexcept = 0;
    // The device as the log records it with each reading: the rig's model, an SDR's label.
    virtual std::string name() const = 0;
};

}  // namespace fw::receiver
