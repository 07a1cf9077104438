// A SoapySDR device module for the tests, loaded through SOAPY_SDR_PLUGIN_PATH: driver
// "fwtest" delivers complex Gaussian noise of the density given by its argument n0_db (dBFS/Hz
// at 0 dB gain; the gain adds to it, automatic gain control adds 20 dB more) plus `carriers`
// carriers 30 dB above it, through a converter of format `native` (CF32, CS16, CS8, CU8) that
// clips at full scale, read in that format or in CF32. While the environment has FW_TEST_SDR_GONE, the device is not
// found and an open stream fails, as an unplugged receiver does; FW_TEST_SDR_SILENT makes
// reads time out. Its argument open_ms makes opening it take that long, as a driver that
// waits for a device that does not answer. FW_TEST_SDR_THROW names the calls that throw
// ("readStream,deactivateStream"); stream arguments other than "buffers" are refused.
// Driver "fwnet" finds nothing, and crashes while FW_TEST_SDR_CRASH_FIND is set.
// FW_TEST_SDR_SOURCE="HOST:PORT,DEG" puts a noise source at bearing DEG: at each tuning the
// device asks that rotctld where the antenna points, and the density falls by
// 30 * (1 - cos(off)) dB with the angle off the source (60 dB behind).
#include <SoapySDR/Device.hpp>
#include <SoapySDR/Formats.hpp>
#include <SoapySDR/Registry.hpp>
#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <charconv>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <csignal>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <thread>

#include "support/synthetic_iq.h"

namespace {

bool Env(const char* name) { return std::getenv(name) != nullptr; }

// The antenna's loss towards FW_TEST_SDR_SOURCE, asked of its rotctld on `fd` (connected on
// the first call and kept, so that the daemon sees one client of ours); 0 without a source.
double SourceLossDb(int& fd) {
    const char* source = std::getenv("FW_TEST_SDR_SOURCE");
    if (!source) return 0;
    const std::string text = source;
    const auto colon = text.find(':'), comma = text.find(',');
    if (fd < 0) {
        sockaddr_in a{};
        a.sin_family = AF_INET;
        a.sin_port = htons(static_cast<std::uint16_t>(std::stoi(text.substr(colon + 1))));
        inet_pton(AF_INET, text.substr(0, colon).c_str(), &a.sin_addr);
        fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        const timeval limit{2, 0};
        setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &limit, sizeof limit);
        if (connect(fd, reinterpret_cast<sockaddr*>(&a), sizeof a) != 0)
            throw std::runtime_error("fwtest: the source's rotctld does not answer");
    }
    std::string answer;
    char buffer[128];
    send(fd, "p\n", 2, MSG_NOSIGNAL);
    while (std::count(answer.begin(), answer.end(), '\n') < 2) {
        const ssize_t n = recv(fd, buffer, sizeof buffer, 0);
        if (n <= 0) throw std::runtime_error("fwtest: no position from the source's rotctld");
        answer.append(buffer, static_cast<std::size_t>(n));
    }
    // Read as rotctld writes it, with a point under any locale.
    double azimuth = 0, bearing = 0;
    std::from_chars(answer.data(), answer.data() + answer.size(), azimuth);
    std::from_chars(text.data() + comma + 1, text.data() + text.size(), bearing);
    const double off = (azimuth - bearing) * M_PI / 180;
    return 30 * (1 - std::cos(off));
}

// Throws as a driver does when FW_TEST_SDR_THROW names `call`.
void MayThrow(const std::string& call) {
    const char* calls = std::getenv("FW_TEST_SDR_THROW");
    if (calls && ("," + std::string(calls) + ",").find("," + call + ",") != std::string::npos)
        throw std::runtime_error("fwtest: " + call + ": connection lost");
}

class TestSdr : public SoapySDR::Device {
  public:
    explicit TestSdr(const SoapySDR::Kwargs& args)
        : n0Db_(args.count("n0_db") ? std::stod(args.at("n0_db")) : -130.0),
          carriers_(args.count("carriers") ? std::stoi(args.at("carriers")) : 0),
          native_(args.count("native") ? args.at("native") : SOAPY_SDR_CF32) {}
    ~TestSdr() override {
        if (rotctld_ >= 0) close(rotctld_);
    }

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
        MayThrow("setFrequency");
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
    std::string getNativeStreamFormat(int, size_t, double& fullScale) const override {
        fullScale = native_ == SOAPY_SDR_CS16 ? 32768 : native_ == SOAPY_SDR_CF32 ? 1 : 128;
        return native_;
    }
    SoapySDR::Stream* setupStream(int, const std::string& format, const std::vector<size_t>&,
                                  const SoapySDR::Kwargs& streamArgs) override {
        if (format != SOAPY_SDR_CF32 && format != native_) throw std::runtime_error("format not supported");
        format_ = format;
        for (const auto& [key, value] : streamArgs)
            if (key != "buffers") throw std::runtime_error("unknown stream argument " + key);
        return reinterpret_cast<SoapySDR::Stream*>(this);
    }
    void closeStream(SoapySDR::Stream*) override { MayThrow("closeStream"); }
    int activateStream(SoapySDR::Stream*, int, long long, size_t) override { return MayThrow("activateStream"), 0; }
    int deactivateStream(SoapySDR::Stream*, int, long long) override { return MayThrow("deactivateStream"), 0; }

    int readStream(SoapySDR::Stream*, void* const* buffs, size_t count, int& flags, long long&,
                   long timeoutUs) override {
        flags = 0;
        MayThrow("readStream");
        if (Env("FW_TEST_SDR_GONE")) return SOAPY_SDR_STREAM_ERROR;
        if (Env("FW_TEST_SDR_SILENT")) {
            std::this_thread::sleep_for(std::chrono::microseconds(timeoutUs));
            return SOAPY_SDR_TIMEOUT;
        }
        if (!source_) source_ = MakeSource();
        samples_.resize(count);
        source_->fill(samples_);
        for (std::size_t i = 0; i < 2 * count; ++i)
            Deliver(buffs[0], i, i % 2 ? samples_[i / 2].imag() : samples_[i / 2].real());
        return static_cast<int>(count);
    }

  private:
    // One value through the converter, clipped at its full scale, into the stream's format.
    template <class T>
    float Convert(void* buffer, std::size_t index, float v, double scale, double offset) const {
        const double low = std::numeric_limits<T>::min(), high = std::numeric_limits<T>::max();
        const double code = std::clamp(std::round(v * scale + offset), low, high);
        if (format_ == native_) static_cast<T*>(buffer)[index] = static_cast<T>(code);
        return static_cast<float>((code - offset) / scale);
    }
    void Deliver(void* buffer, std::size_t index, float v) const {
        float asFloat = std::clamp(v, -1.0f, 1.0f);
        if (native_ == SOAPY_SDR_CS16) asFloat = Convert<std::int16_t>(buffer, index, v, 32768, 0);
        if (native_ == SOAPY_SDR_CS8) asFloat = Convert<std::int8_t>(buffer, index, v, 128, 0);
        if (native_ == SOAPY_SDR_CU8) asFloat = Convert<std::uint8_t>(buffer, index, v, 127.5, 127.5);
        if (format_ == SOAPY_SDR_CF32) static_cast<float*>(buffer)[index] = asFloat;
    }

    std::unique_ptr<fw::test::SyntheticIq> MakeSource() {
        const double n0 =
            std::pow(10.0, (n0Db_ + gain_ + (agc_ ? 20 : 0) - SourceLossDb(rotctld_)) / 10.0);
        const int n = 1 << static_cast<int>(std::ceil(std::log2(rate_ / 100)));
        std::vector<fw::test::Carrier> carriers;
        for (int i = 0; i < carriers_; ++i)
            carriers.push_back({(i - carriers_ / 2 + 0.5) * 50 * rate_ / n,
                                fw::test::CarrierPowerForBin(n0, 30, rate_, n)});
        return std::make_unique<fw::test::SyntheticIq>(rate_, n0, carriers, 42);
    }

    double n0Db_;
    int carriers_;
    std::string native_;
    std::string format_ = SOAPY_SDR_CF32;
    std::vector<std::complex<float>> samples_;
    std::string antenna_ = "A";
    bool agc_ = true;
    double gain_ = 0;
    double frequency_ = 100e6;
    double rate_ = 250e3;
    std::unique_ptr<fw::test::SyntheticIq> source_;
    int rotctld_ = -1;  // the connection to the source's rotctld, kept while the device is open
};

SoapySDR::KwargsList Find(const SoapySDR::Kwargs& args) {
    if (Env("FW_TEST_SDR_GONE")) return {};
    if (args.count("driver") && args.at("driver") != "fwtest") return {};
    if (args.count("serial") && args.at("serial") != "FW0001") return {};
    return {{{"driver", "fwtest"}, {"label", "Floorwatch test SDR"}, {"serial", "FW0001"}}};
}

SoapySDR::Device* Make(const SoapySDR::Kwargs& args) {
    // A test that stops a slow open learns here that the open has begun.
    if (const char* opening = std::getenv("FW_TEST_SDR_OPENING")) std::ofstream(opening) << "opening";
    if (args.count("open_ms"))
        std::this_thread::sleep_for(std::chrono::milliseconds(std::stoi(args.at("open_ms"))));
    return new TestSdr(args);
}

const SoapySDR::Registry registration("fwtest", &Find, &Make, SOAPY_SDR_ABI_VERSION);

SoapySDR::KwargsList FindOnNetwork(const SoapySDR::Kwargs&) {
    if (Env("FW_TEST_SDR_CRASH_FIND")) std::raise(SIGSEGV);  // as a module without its daemon
    return {};
}
SoapySDR::Device* MakeOnNetwork(const SoapySDR::Kwargs&) { return nullptr; }
const SoapySDR::Registry network("fwnet", &FindOnNetwork, &MakeOnNetwork, SOAPY_SDR_ABI_VERSION);

}  // namespace
