#pragma once
// A receiver reached through SoapySDR: found, opened with the user's device arguments, set to
// a sample rate, a fixed gain (automatic gain control off) and an antenna, tuned and read into
// the noise-floor estimator. Every failure of the device is an SdrError "SDR not available:
// ..."; a device that stops delivering samples is one after a few seconds, never a hang.
#include <chrono>
#include <optional>
#include <stdexcept>
#include <stop_token>
#include <string>
#include <vector>

#include "noisefloor/noise_floor.h"
#include "signature/noise_signature.h"

namespace SoapySDR {
class Device;
class Stream;
}  // namespace SoapySDR

namespace fw::sdr {

class SdrError : public std::runtime_error {
  public:
    explicit SdrError(const std::string& reason);  // prefixes "SDR not available: "
};

inline constexpr double DefaultSdrRateHz = 2.048e6;
inline constexpr double DefaultCaptureSeconds = 1.0;
// Samples after tuning are dropped for this long: the tuner and its filters settle.
inline constexpr std::chrono::milliseconds SettleAfterTuning{100};
// No sample for this long means the device has gone.
inline constexpr std::chrono::seconds SilentDeviceLimit{3};

struct SdrDeviceInfo {
    std::string driver, label, serial;
};

// What SoapySDR finds, one entry per device.
std::vector<SdrDeviceInfo> FindSdrDevices();
// "driver=rtlsdr  Generic RTL2832U  serial=00000001", as `sdr devices` prints it.
std::string DeviceLine(const SdrDeviceInfo& device);

struct SdrSettings {
    std::string args;  // SoapySDR device arguments: "driver=rtlsdr,serial=..."
    double rateHz = 0;  // 0: the supported rate closest to DefaultSdrRateHz
    std::optional<double> gainDb;  // none: the device's own setting, AGC still off
    std::string antenna;  // empty: the device's default
    double refDbm = 0;  // antenna power that reads 0 dBFS at this gain
    double seconds = DefaultCaptureSeconds;
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
    // of `seconds` of samples and their signature. Throws SdrError, rig::Cancelled when `stop` is requested.
    Capture capture(double centreHz, double seconds, std::stop_token stop);

  private:
    void close();

    SoapySDR::Device* device_ = nullptr;
    SoapySDR::Stream* stream_ = nullptr;
    std::string label_;
    double rateHz_ = 0;
};

}  // namespace fw::sdr
