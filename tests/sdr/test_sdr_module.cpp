// A SoapySDR device module for the tests, loaded through SOAPY_SDR_PLUGIN_PATH: driver
// "fwtest" delivers complex Gaussian noise of the density given by its argument n0_db (dBFS/Hz
// at 0 dB gain; the gain adds to it, automatic gain control adds 20 dB more) plus `carriers`
// carriers 30 dB above it. While the environment has FW_TEST_SDR_GONE, the device is not
// found and an open stream fails, as an unplugged receiver does; FW_TEST_SDR_SILENT makes
// reads time out. Its argument open_ms makes opening it take that long, as a driver that
// waits for a device that does not answer.
#include <SoapySDR/Device.hpp>
#include <SoapySDR/Formats.hpp>
#include <SoapySDR/Registry.hpp>

#include <chrono>
#include <cstdlib>
#include <memory>
#include <thread>

#include "support/synthetic_iq.h"

namespace {

bool Env(const char* name) { return std::getenv(name) != nullptr; }

class TestSdr : public SoapySDR::Device {
  public:
    explicit TestSdr(const SoapySDR::Kwargs& args)
        : n0Db_(args.count("n0_db") ? std::stod(args.at("n0_db")) : -130.0),
          carriers_(args.count("carriers") ? std::stoi(args.at("carriers")) : 0) {}

    std::string getDriverKey() const override { return "fwtest"; }
    std::string getHardwareKey() const override { return "Floorwatch test SDR"; }
    std::vector<std::string> listAntennas(int, size_t) const override { return {"A", "B"}; }
    void setAntenna(int, size_t, const std::string& name) override { antenna_ = name; }
    std::string getAntenna(int, size_t) const override { return antenna_; }
    bool hasGainMode(int, size_t) const override { return true; }
    void setGainMode(int, size_t, bool automatic) override { agc_ = automatic; }
    bool getGainMode(int, size_t) const override { return agc_; }
    void setGain(int, size_t, double value) override { gain_ = value; }
    double getGain(int, size_t) const override { return gain_; }
    SoapySDR::Range getGainRange(int, size_t) const override { return {0, 50}; }
    void setFrequency(int, size_t, double hz, const SoapySDR::Kwargs&) override {
        frequency_ = hz;
        source_.reset();  // a new tuning starts a new signal
    }
    double getFrequency(int, size_t) const override { return frequency_; }
    void setSampleRate(int, size_t, double rate) override { rate_ = rate; }
    double getSampleRate(int, size_t) const override { return rate_; }
    SoapySDR::RangeList getSampleRateRange(int, size_t) const override {
        return {{250e3, 250e3}, {1.024e6, 2.4e6}};
    }
    std::vector<std::string> getStreamFormats(int, size_t) const override { return {SOAPY_SDR_CF32}; }
    SoapySDR::Stream* setupStream(int, const std::string& format, const std::vector<size_t>&,
                                  const SoapySDR::Kwargs&) override {
        if (format != SOAPY_SDR_CF32) throw std::runtime_error("format not supported");
        return reinterpret_cast<SoapySDR::Stream*>(this);
    }
    void closeStream(SoapySDR::Stream*) override {}
    int activateStream(SoapySDR::Stream*, int, long long, size_t) override { return 0; }
    int deactivateStream(SoapySDR::Stream*, int, long long) override { return 0; }

    int readStream(SoapySDR::Stream*, void* const* buffs, size_t count, int& flags, long long&,
                   long timeoutUs) override {
        flags = 0;
        if (Env("FW_TEST_SDR_GONE")) return SOAPY_SDR_STREAM_ERROR;
        if (Env("FW_TEST_SDR_SILENT")) {
            std::this_thread::sleep_for(std::chrono::microseconds(timeoutUs));
            return SOAPY_SDR_TIMEOUT;
        }
        if (!source_) source_ = MakeSource();
        source_->fill({static_cast<std::complex<float>*>(buffs[0]), count});
        return static_cast<int>(count);
    }

  private:
    std::unique_ptr<fw::test::SyntheticIq> MakeSource() const {
        const double n0 = std::pow(10.0, (n0Db_ + gain_ + (agc_ ? 20 : 0)) / 10.0);
        const int n = 1 << static_cast<int>(std::ceil(std::log2(rate_ / 100)));
        std::vector<fw::test::Carrier> carriers;
        for (int i = 0; i < carriers_; ++i)
            carriers.push_back({(i - carriers_ / 2 + 0.5) * 50 * rate_ / n,
                                fw::test::CarrierPowerForBin(n0, 30, rate_, n)});
        return std::make_unique<fw::test::SyntheticIq>(rate_, n0, carriers, 42);
    }

    double n0Db_;
    int carriers_;
    std::string antenna_ = "A";
    bool agc_ = true;
    double gain_ = 0;
    double frequency_ = 100e6;
    double rate_ = 250e3;
    std::unique_ptr<fw::test::SyntheticIq> source_;
};

SoapySDR::KwargsList Find(const SoapySDR::Kwargs& args) {
    if (Env("FW_TEST_SDR_GONE")) return {};
    if (args.count("driver") && args.at("driver") != "fwtest") return {};
    return {{{"driver", "fwtest"}, {"label", "Floorwatch test SDR"}, {"serial", "FW0001"}}};
}

SoapySDR::Device* Make(const SoapySDR::Kwargs& args) {
    if (args.count("open_ms"))
        std::this_thread::sleep_for(std::chrono::milliseconds(std::stoi(args.at("open_ms"))));
    return new TestSdr(args);
}

const SoapySDR::Registry registration("fwtest", &Find, &Make, SOAPY_SDR_ABI_VERSION);

}  // namespace
