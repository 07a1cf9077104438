// floorwatch-sdr-find [ARGS]: the SoapySDR devices that match the device arguments ARGS, in
// the form sdr/sdr_find.h reads. Run by Floorwatch so that a module that crashes while it
// looks for devices takes only this program with it.
#include <SoapySDR/Device.hpp>
#include <SoapySDR/Types.hpp>

#include <cstdio>
#include <exception>
#include <string>
#include <unistd.h>

#include "sdr/sdr_find.h"

int main(int argc, char** argv) {
    std::string out;
    try {
        const SoapySDR::Kwargs args = SoapySDR::KwargsFromString(argc > 1 ? argv[1] : "");
        std::vector<std::map<std::string, std::string>> devices;
        for (const SoapySDR::Kwargs& found : SoapySDR::Device::enumerate(args))
            devices.emplace_back(found.begin(), found.end());
        out = fw::sdr::FinderOutput(devices);
    } catch (const std::exception& e) {
        out = fw::sdr::FinderError(e.what());
    } catch (...) {
        out = fw::sdr::FinderError("a SoapySDR module failed");
    }
    const bool written = std::fwrite(out.data(), 1, out.size(), stdout) == out.size() &&
                         std::fflush(stdout) == 0;
    // The modules' threads and unloading are not waited for: the answer is given.
    _exit(written ? 0 : 1);
}
