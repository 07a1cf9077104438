#pragma once
// The tests' SoapySDR module ("driver=fwtest"), found through SOAPY_SDR_PLUGIN_PATH. Call
// UseTestSdr() before the first SoapySDR call of the program, which loads the modules.
#include <cstdlib>

namespace fw::test {

inline void UseTestSdr() {
    setenv("SOAPY_SDR_PLUGIN_PATH", FW_TEST_SOAPY_DIR, 1);
    unsetenv("FW_TEST_SDR_GONE");
    unsetenv("FW_TEST_SDR_SILENT");
}

}  // namespace fw::test
