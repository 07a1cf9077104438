#include "sdr/sdr_lock.h"

#include <SoapySDR/Types.hpp>

#include "libs/sha256.h"

namespace fw::sdr {

namespace {

// Well within the 255 bytes of a file name, with "sdr-" and ".lock" around it.
constexpr std::size_t MostKeyBytes = 160;

}  // namespace

std::string SdrLockFileName(const std::string& args) {
    std::string key;
    // SoapySDR's own reading of the arguments: keys sorted, blanks around them dropped.
    for (const auto& [name, value] : SoapySDR::KwargsFromString(args))
        key += (key.empty() ? "" : ",") + name + "=" + value;
    std::string part = rig::FileNamePart(key);
    if (part.size() > MostKeyBytes) part = Sha256Hex(key);
    return "sdr-" + part + ".lock";
}

rig::RigLock LockSdr(const std::string& args, const std::string& user) {
    return rig::RigLock(SdrLockFileName(args), user, "SDR");
}

}  // namespace fw::sdr
