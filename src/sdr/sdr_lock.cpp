#include "sdr/sdr_lock.h"

#include <SoapySDR/Types.hpp>

#include "libs/sha256.h"

namespace fw::sdr {

namespace {

// Well within the 255 bytes of a file name, with "sdr-" and ".lock" around it.
constexpr std::size_t MostKeyBytes = 160;

std::string Value(const std::map<std::string, std::string>& keys, const std::string& key) {
    const auto it = keys.find(key);
    return it == keys.end() ? std::string() : it->second;
}

// The found keys with the user's own on top (a driver's further settings); not the label, a
// text for people that may hold the separators of the argument text.
std::string OpenArgs(const SdrDeviceInfo& device, const std::string& userArgs) {
    SoapySDR::Kwargs args(device.keys.begin(), device.keys.end());
    args.erase("label");
    for (const auto& [key, value] : SoapySDR::KwargsFromString(userArgs)) args[key] = value;
    return SoapySDR::KwargsToString(args);
}

}  // namespace

std::string SdrLockFileName(const SdrDeviceInfo& device) {
    std::string driver = device.driver;
    if (const std::string served = Value(device.keys, "remote:driver"); !served.empty())
        driver = served;
    const std::string key = driver + (device.serial.empty() ? ",label=" + device.label
                                                            : ",serial=" + device.serial);
    std::string part = receiver::FileNamePart(key);
    if (part.size() > MostKeyBytes) part = Sha256Hex(key);
    return "sdr-" + part + ".lock";
}

ClaimedSdr ClaimSdr(const SdrSettings& settings, const std::string& user, std::stop_token stop) {
    std::vector<SdrDeviceInfo> found;
    try {
        found = FindSdrDevices(settings.args, stop);
    } catch (const SdrSearchError& e) {
        throw SdrError(e.what());
    }
    if (found.empty()) throw SdrError("no device matches \"" + settings.args + "\"");
    ClaimedSdr claimed{receiver::ReceiverLock(SdrLockFileName(found.front()), user, "SDR"), settings};
    claimed.settings.args = OpenArgs(found.front(), settings.args);
    return claimed;
}

}  // namespace fw::sdr
