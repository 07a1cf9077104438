#include "sdr/sdr_session.h"

#include <SoapySDR/Device.hpp>
#include <SoapySDR/Errors.hpp>
#include <SoapySDR/Formats.hpp>

#include <algorithm>
#include <cmath>
#include <complex>

#include "receiver/receiver_error.h"
#include "sdr/native_samples.h"

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

SdrError::SdrError(const std::string& reason)
    : receiver::ReceiverError("SDR not available: " + reason) {}

SdrError DriverError() {
    try {
        throw;
    } catch (const std::exception& e) {
        return SdrError(std::string("the driver failed: ") + e.what());
    } catch (...) {
        return SdrError("the driver failed");
    }
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
        double fullScale = 0;
        format_ = ReadFormatFor(device_->getNativeStreamFormat(SOAPY_SDR_RX, 0, fullScale));
        stream_ = device_->setupStream(SOAPY_SDR_RX, FormatName(format_), {},
                                       SoapySDR::KwargsFromString(settings.streamArgs));
        if (const int rc = device_->activateStream(stream_); rc != 0)
            throw SdrError(std::string("the stream does not start: ") + SoapySDR::errToStr(rc));
    } catch (const SdrError&) {
        close();
        throw;
    } catch (...) {
        const SdrError error = DriverError();
        close();
        throw error;
    }
}

SdrSession::~SdrSession() { close(); }

// A driver that throws while the device is closed (its server gone) still has the rest of it
// closed; what it throws is of no use to anyone any more.
void SdrSession::close() noexcept {
    if (!device_) return;
    if (stream_) {
        try {
            device_->deactivateStream(stream_);
        } catch (...) {
        }
        try {
            device_->closeStream(stream_);
        } catch (...) {
        }
        stream_ = nullptr;
    }
    try {
        SoapySDR::Device::unmake(device_);
    } catch (...) {
    }
    device_ = nullptr;
}

Capture SdrSession::capture(double centreHz, double seconds, std::stop_token stop) {
    try {
        return captureOrThrow(centreHz, seconds, std::move(stop));
    } catch (const SdrError&) {
        throw;
    } catch (const receiver::Cancelled&) {
        throw;
    } catch (const RefusedReading&) {
        throw;
    } catch (...) {
        throw DriverError();
    }
}

Capture SdrSession::captureOrThrow(double centreHz, double seconds, std::stop_token stop) {
    device_->setFrequency(SOAPY_SDR_RX, 0, centreHz);
    Capture c;
    NoiseFloorEstimator estimator(rateHz_, centreHz);
    estimator.keepTransforms(SignatureMaxSamples);
    auto settle = static_cast<std::size_t>(rateHz_ * std::chrono::duration<double>(SettleAfterTuning).count());
    auto wanted = static_cast<std::size_t>(rateHz_ * seconds);
    std::vector<std::byte> raw(ReadChunk * PairBytes(format_));
    std::vector<std::complex<float>> buffer(ReadChunk);
    auto lastSamples = std::chrono::steady_clock::now();
    while (wanted > 0) {
        if (stop.stop_requested()) throw receiver::Cancelled();
        void* buffs[] = {raw.data()};
        int flags = 0;
        long long timeNs = 0;
        const int n = device_->readStream(stream_, buffs, ReadChunk, flags, timeNs, ReadTimeoutUs);
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
        const auto delivered = std::min(static_cast<std::size_t>(n), ReadChunk);
        const std::size_t dropped = std::min(settle, delivered);
        settle -= dropped;
        const std::size_t used = std::min(delivered - dropped, wanted);
        const std::size_t bytes = PairBytes(format_);
        const auto got = std::span(buffer).first(used);
        estimator.addFullScale(
            ConvertPairs(format_, std::span(raw).subspan(dropped * bytes, used * bytes), got));
        estimator.add(got);
        wanted -= used;
    }
    auto floor = estimator.result();
    if (!floor) throw RefusedReading(floor.reason());
    c.floor = floor.value();
    c.spectrum = estimator.usedSpectrum();
    c.signature = ComputeSignature(estimator, c.floor, c.spectrum);
    return c;
}

}  // namespace fw::sdr
