#pragma once
// Looking for SDRs. SoapySDR asks every device module on the machine, and a module may crash
// or hang while it looks (a network module without its daemon), so the search runs in a
// program of its own, floorwatch-sdr-find: a crash costs a message, never the window or its
// unsaved rows, and a search that does not end is given up.
#include <chrono>
#include <map>
#include <stdexcept>
#include <stop_token>
#include <string>
#include <vector>

namespace fw::sdr {

// "device search failed: a SoapySDR module crashed"
class SdrSearchError : public std::runtime_error {
  public:
    explicit SdrSearchError(const std::string& reason);  // prefixes "device search failed: "
};

inline constexpr const char* SdrFinderName = "floorwatch-sdr-find";
// A search that takes longer is given up.
inline constexpr std::chrono::seconds DeviceSearchLimit{15};

// One device as SoapySDR finds it: all its keys ("driver", "label", "serial", ...).
struct SdrDeviceInfo {
    std::string driver, label, serial;
    std::map<std::string, std::string> keys;
};

// The devices that match the device arguments `args` (all, when empty), found by the finder
// program. Throws SdrSearchError when it cannot be run, crashes, fails or takes too long, and
// receiver::Cancelled when `stop` is requested.
std::vector<SdrDeviceInfo> FindSdrDevices(const std::string& args, std::stop_token stop);
inline std::vector<SdrDeviceInfo> FindAllSdrDevices() { return FindSdrDevices({}, {}); }

// The finder program: $FW_SDR_FINDER where set (tests), else beside the running program, else
// in ../libexec/floorwatch from its folder (the installed layout). Empty when none is found.
std::string SdrFinderPath();

// "driver=rtlsdr  Generic RTL2832U  serial=00000001", as `sdr devices` prints it.
std::string DeviceLine(const SdrDeviceInfo& device);

// What the finder writes: each device as "device" and one "KEY<TAB>VALUE" line per key, or
// "error<TAB>TEXT", then "end". Tabs, line ends and backslashes in the texts are escaped.
std::string FinderOutput(const std::vector<std::map<std::string, std::string>>& devices);
std::string FinderError(const std::string& text);
// Reads the finder's output; throws SdrSearchError for an error line or an unfinished output.
std::vector<SdrDeviceInfo> ParseFinderOutput(const std::string& output);

}  // namespace fw::sdr
