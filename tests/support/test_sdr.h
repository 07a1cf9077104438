#pragma once
// The tests' SoapySDR module ("driver=fwtest"), found through SOAPY_SDR_PLUGIN_PATH. Call
// UseTestSdr() before the first SoapySDR call of the program, which loads the modules; the
// device finder of the build tree looks for devices.
#include <cstdlib>
#include <filesystem>
#include <string>

namespace fw::test {

// A folder of this process for the SDR's lock files, removed when the process ends: test
// programs that run side by side use the same test device without holding it for each other.
struct ProcessLockFolder {
    ProcessLockFolder() {
        path = (std::filesystem::temp_directory_path() / "fw-sdr-locks-XXXXXX").string();
        if (!mkdtemp(path.data())) path.clear();
    }
    ~ProcessLockFolder() {
        std::error_code ec;
        if (!path.empty()) std::filesystem::remove_all(path, ec);
    }
    std::string path;
};

inline void UseTestSdr() {
    setenv("SOAPY_SDR_PLUGIN_PATH", FW_TEST_SOAPY_DIR, 1);
    setenv("FW_SDR_FINDER", FW_TEST_SDR_FINDER, 1);
    for (const char* demand : {"FW_TEST_SDR_GONE", "FW_TEST_SDR_SILENT", "FW_TEST_SDR_THROW",
                               "FW_TEST_SDR_CRASH_FIND"})
        unsetenv(demand);
    static const ProcessLockFolder locks;
    setenv("XDG_RUNTIME_DIR", locks.path.c_str(), 1);
}

}  // namespace fw::test
