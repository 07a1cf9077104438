#pragma once
// A receiver reached through SoapySDR: found, opened with the user's device arguments, set to
// a sample rate, a fixed gain (automatic gain control off) and an antenna, tuned and read into
// the noise-floor estimator. Every failure of the device is an SdrError "SDR not available:
// ..."; a device that stops delivering samples is one after a few seconds, never a hang. A
// driver may throw from any call: what it throws becomes an SdrError here, and closing the
// device never throws.
#include <chrono>
#include <optional>
#include <stdexcept>
#include <stop_token>
#include <string>
#include <vector>

#include "noisefloor/noise_floor.h"
#include "receiver/receiver_error.h"
#include "sdr/native_samples.h"
#include "sdr/sdr_find.h"
#include "signature/noise_signature.h"

namespace SoapySDR {
class Device;
class Stream;
}  // namespace SoapySDR

namespace fw::sdr {

class SdrError : public receiver::ReceiverError {
  public:
    explicit SdrError(const std::string& reason);  // prefixes "SDR not available: "
};

// A capture whose samples give no figure to trust: "overload: N of M samples at full scale;
// lower the gain", as for a recording. The device itself is fine.
class RefusedReading : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// Within a catch block: what the driver threw, as an SdrError naming it.
SdrError DriverError();

inline constexpr double DefaultSdrRateHz = 2.048e6;
inline constexpr double DefaultCaptureSeconds = 1.0;
// Samples after tuning are dropped for this long: the tuner and its filters settle.
inline constexpr std::chrono::milliseconds SettleAfterTuning{100};
// No sample for this long means the device has gone.
inline constexpr std::chrono::seconds SilentDeviceLimit{3};

struct SdrSettings {
    std::string args;  // SoapySDR device arguments: "driver=rtlsdr,serial=..."
    double rateHz = 0;  // 0: the supported rate closest to DefaultSdrRateHz
    std::optional<double> gainDb;  // none: the device's own setting, AGC still off
    std::string antenna;  // empty: the device's default
    double refDbm = 0;  // antenna power that reads 0 dBFS at this gain
    double seconds = DefaultCaptureSeconds;
    std::string streamArgs{};  // SoapySDR stream arguments: "remote:format=CS8"
};

struct Capture {
    NoiseFloor floor;
    std::vector<SpectrumBin> spectrum;
    // The noise's signature, or why the samples gave none.
    Outcome<NoiseSignature> signature = Outcome<NoiseSignature>::Fail("no samples");
    long overflows = 0;  // times the device dropped samples
    long timeouts = 0;   // reads that brought nothing in time
};

class SdrSession {
  public:
    explicit SdrSession(const SdrSettings& settings);  // throws SdrError
    ~SdrSession();
    SdrSession(const SdrSession&) = delete;
    SdrSession& operator=(const SdrSession&) = delete;

    const std::string& label() const { return label_; }
    double sampleRateHz() const { return rateHz_; }

    // Tunes to `centreHz`, drops SettleAfterTuning of samples, then estimates the noise floor
    // of `seconds` of samples, read in the device's own integer format where it has one, and
    // their signature. Throws SdrError, RefusedReading, receiver::Cancelled when `stop` is
    // requested.
    Capture capture(double centreHz, double seconds, std::stop_token stop);

  private:
    Capture captureOrThrow(double centreHz, double seconds, std::stop_token stop);
    void close() noexcept;

    SoapySDR::Device* device_ = nullptr;
    SoapySDR::Stream* stream_ = nullptr;
    std::string label_;
    double rateHz_ = 0;
    SampleFormat format_ = SampleFormat::CF32;
};

}  // namespace fw::sdr
