#include "sdr/sdr_session.h"

#include <SoapySDR/Device.hpp>
#include <SoapySDR/Errors.hpp>
#include <SoapySDR/Formats.hpp>

#include <algorithm>
#include <cmath>
#include <complex>

#include "rig/pacing.h"

namespace fw::sdr {

namespace {

constexpr long ReadTimeoutUs = 100000;  // a stop is seen within this
constexpr std::size_t ReadChunk = 16384;

std::string Value(const SoapySDR::Kwargs& args, const std::string& key) {
    const auto it = args.find(key);
    return it == args.end() ? std::string() : it->second;
}

// The rate of the device's ranges closest to the default.
double ClosestRate(const SoapySDR::RangeList& ranges) {
    double best = 0;
    for (const SoapySDR::Range& r : ranges) {
        const double candidate = std::clamp(DefaultSdrRateHz, r.minimum(), r.maximum());
        if (best == 0 || std::abs(candidate - DefaultSdrRateHz) < std::abs(best - DefaultSdrRateHz))
            best = candidate;
    }
    return best;
}

void CheckAntenna(SoapySDR::Device& device, const std::string& antenna) {
    const auto names = device.listAntennas(SOAPY_SDR_RX, 0);
    if (std::find(names.begin(), names.end(), antenna) != names.end()) return;
    std::string known;
    for (const std::string& n : names) known += (known.empty() ? "" : ", ") + n;
    throw SdrError("the device has no antenna \"" + antenna + "\" (it has " + known + ")");
}

}  // namespace

SdrError::SdrError(const std::string& reason) : std::runtime_error("SDR not available: " + reason) {}

std::vector<SdrDeviceInfo> FindSdrDevices() {
    std::vector<SdrDeviceInfo> found;
    for (const SoapySDR::Kwargs& args : SoapySDR::Device::enumerate())
        found.push_back({Value(args, "driver"), Value(args, "label"), Value(args, "serial")});
    return found;
}

std::string DeviceLine(const SdrDeviceInfo& device) {
    std::string line = "driver=" + device.driver + "  " + device.label;
    if (!device.serial.empty()) line += "  serial=" + device.serial;
    return line;
}

SdrSession::SdrSession(const SdrSettings& settings) {
    try {
        const SoapySDR::KwargsList matches = SoapySDR::Device::enumerate(settings.args);
        if (matches.empty()) throw SdrError("no device matches \"" + settings.args + "\"");
        device_ = SoapySDR::Device::make(settings.args);
        label_ = Value(matches.front(), "label");
        if (label_.empty()) label_ = device_->getHardwareKey();
        rateHz_ = settings.rateHz > 0 ? settings.rateHz
                                      : ClosestRate(device_->getSampleRateRange(SOAPY_SDR_RX, 0));
        device_->setSampleRate(SOAPY_SDR_RX, 0, rateHz_);
        rateHz_ = device_->getSampleRate(SOAPY_SDR_RX, 0);
        if (!settings.antenna.empty()) {
            CheckAntenna(*device_, settings.antenna);
            device_->setAntenna(SOAPY_SDR_RX, 0, settings.antenna);
        }
        // The reference level holds for one fixed gain only.
        if (device_->hasGainMode(SOAPY_SDR_RX, 0)) device_->setGainMode(SOAPY_SDR_RX, 0, false);
        if (settings.gainDb) device_->setGain(SOAPY_SDR_RX, 0, *settings.gainDb);
        stream_ = device_->setupStream(SOAPY_SDR_RX, SOAPY_SDR_CF32);
        if (const int rc = device_->activateStream(stream_); rc != 0)
            throw SdrError(std::string("the stream does not start: ") + SoapySDR::errToStr(rc));
    } catch (const SdrError&) {
        close();
        throw;
    } catch (const std::exception& e) {
        close();
        throw SdrError(e.what());
    }
}

SdrSession::~SdrSession() { close(); }

void SdrSession::close() {
    if (!device_) return;
    if (stream_) {
        device_->deactivateStream(stream_);
        device_->closeStream(stream_);
        stream_ = nullptr;
    }
    SoapySDR::Device::unmake(device_);
    device_ = nullptr;
}

Capture SdrSession::capture(double centreHz, double seconds, std::stop_token stop) {
    try {
        device_->setFrequency(SOAPY_SDR_RX, 0, centreHz);
    } catch (const std::exception& e) {
        throw SdrError(e.what());
    }
    Capture c;
    NoiseFloorEstimator estimator(rateHz_, centreHz);
    estimator.keepTransforms(SignatureMaxSamples);
    auto settle = static_cast<std::size_t>(rateHz_ * std::chrono::duration<double>(SettleAfterTuning).count());
    auto wanted = static_cast<std::size_t>(rateHz_ * seconds);
    std::vector<std::complex<float>> buffer(ReadChunk);
    auto lastSamples = std::chrono::steady_clock::now();
    while (wanted > 0) {
        if (stop.stop_requested()) throw rig::Cancelled();
        void* buffs[] = {buffer.data()};
        int flags = 0;
        long long timeNs = 0;
        const int n = device_->readStream(stream_, buffs, buffer.size(), flags, timeNs, ReadTimeoutUs);
        const auto now = std::chrono::steady_clock::now();
        if (n == SOAPY_SDR_OVERFLOW) {
            ++c.overflows;
            continue;
        }
        if (n == SOAPY_SDR_TIMEOUT || n == 0) {
            ++c.timeouts;
            if (now - lastSamples > SilentDeviceLimit) throw SdrError("no samples for 3 s");
            continue;
        }
        if (n < 0) throw SdrError(SoapySDR::errToStr(n));
        lastSamples = now;
        auto got = std::span<const std::complex<float>>(buffer.data(), static_cast<std::size_t>(n));
        const std::size_t dropped = std::min(settle, got.size());
        settle -= dropped;
        got = got.subspan(dropped).first(std::min(got.size() - dropped, wanted));
        estimator.add(got);
        wanted -= got.size();
    }
    auto floor = estimator.result();
    if (!floor) throw SdrError(floor.reason());
    c.floor = floor.value();
    c.spectrum = estimator.usedSpectrum();
    c.signature = ComputeSignature(estimator, c.floor, c.spectrum);
    return c;
}

}  // namespace fw::sdr
