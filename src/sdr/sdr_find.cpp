#include "sdr/sdr_find.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>

#include "libs/process_start.h"
#include "receiver/receiver_error.h"

namespace fw::sdr {

namespace {

std::string Escaped(const std::string& text) {
    std::string out;
    for (char c : text) {
        if (c == '\\') out += "\\\\";
        else if (c == '\t') out += "\\t";
        else if (c == '\n') out += "\\n";
        else out += c;
    }
    return out;
}

std::string Unescaped(std::string_view text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\\' || i + 1 == text.size()) {
            out += text[i];
            continue;
        }
        const char next = text[++i];
        out += next == 't' ? '\t' : next == 'n' ? '\n' : next;
    }
    return out;
}

std::string Value(const std::map<std::string, std::string>& keys, const std::string& key) {
    const auto it = keys.find(key);
    return it == keys.end() ? std::string() : it->second;
}

bool IsProgram(const std::filesystem::path& path) {
    std::error_code ec;
    return std::filesystem::is_regular_file(path, ec) && access(path.c_str(), X_OK) == 0;
}

std::string StatusText(int status, const std::string& finder) {
    switch (status) {
        case ProgramNotStarted:
            return finder + " could not be started";
        case ProgramTimedOut:
            return "no answer within " + std::to_string(DeviceSearchLimit.count()) + " s";
        default:
            return "a SoapySDR module crashed";
    }
}

}  // namespace

SdrSearchError::SdrSearchError(const std::string& reason)
    : std::runtime_error("device search failed: " + reason) {}

std::string SdrFinderPath() {
    if (const char* set = std::getenv("FW_SDR_FINDER"); set && *set) return set;
    std::error_code ec;
    const std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (ec) return {};
    for (const auto& candidate :
         {program.parent_path() / SdrFinderName,
          program.parent_path().parent_path() / "libexec" / "floorwatch" / SdrFinderName}) {
        if (IsProgram(candidate)) return candidate.string();
    }
    return {};
}

std::vector<SdrDeviceInfo> FindSdrDevices(const std::string& args, std::stop_token stop) {
    const std::string finder = SdrFinderPath();
    if (finder.empty()) throw SdrSearchError(std::string(SdrFinderName) + " is not installed");
    const ProgramOutput run = RunProgramForOutput(finder, {args}, DeviceSearchLimit, stop);
    if (run.status == ProgramStopped) throw receiver::Cancelled();
    if (run.status != 0) throw SdrSearchError(StatusText(run.status, finder));
    return ParseFinderOutput(run.output);
}

std::string DeviceLine(const SdrDeviceInfo& device) {
    std::string line = "driver=" + device.driver + "  " + device.label;
    if (!device.serial.empty()) line += "  serial=" + device.serial;
    return line;
}

std::string FinderOutput(const std::vector<std::map<std::string, std::string>>& devices) {
    std::string out;
    for (const auto& keys : devices) {
        out += "device\n";
        for (const auto& [key, value] : keys) out += Escaped(key) + '\t' + Escaped(value) + '\n';
    }
    return out + "end\n";
}

std::string FinderError(const std::string& text) {
    return "error\t" + Escaped(text) + "\nend\n";
}

std::vector<SdrDeviceInfo> ParseFinderOutput(const std::string& output) {
    std::vector<SdrDeviceInfo> found;
    std::string_view rest(output);
    while (!rest.empty()) {
        const auto end = rest.find('\n');
        if (end == std::string_view::npos) break;
        const std::string_view line = rest.substr(0, end);
        rest.remove_prefix(end + 1);
        if (line == "end") {
            for (SdrDeviceInfo& d : found) {
                d.driver = Value(d.keys, "driver");
                d.label = Value(d.keys, "label");
                d.serial = Value(d.keys, "serial");
            }
            return found;
        }
        if (line == "device") {
            found.emplace_back();
            continue;
        }
        const auto tab = line.find('\t');
        if (tab == std::string_view::npos) break;
        if (line.substr(0, tab) == "error") throw SdrSearchError(Unescaped(line.substr(tab + 1)));
        if (found.empty()) break;
        found.back().keys[Unescaped(line.substr(0, tab))] = Unescaped(line.substr(tab + 1));
    }
    // A finder that ended normally without its last line was cut short.
    throw SdrSearchError("a SoapySDR module crashed");
}

}  // namespace fw::sdr
