// The test programs draw off any screen, set here because ctest's discovered tests take
// a single variable in their environment reliably (a list there is split into properties).
// What a test program caches for the user (the SDR's FFT wisdom) goes to a folder in the build
// tree, never to the real ~/.cache; the device locks go to a runtime folder of this test
// process's own, so that the same test run at once under a point and under a comma does not
// find its own rig taken by its twin, and no test takes a lock of the user's real session.
// Set before main, so that the programs the tests start inherit them.
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <string>

namespace {

[[maybe_unused]] const bool cacheHomeSet = setenv("XDG_CACHE_HOME", FW_TEST_CACHE_DIR, 1) == 0;
[[maybe_unused]] const bool offscreenSet = setenv("QT_QPA_PLATFORM", "offscreen", 0) == 0;

struct OwnRuntimeFolder {
    std::string path = std::string(FW_TEST_CACHE_DIR) + "/run-" + std::to_string(getpid());
    OwnRuntimeFolder() {
        std::error_code ignored;
        std::filesystem::create_directories(path, ignored);
        chmod(path.c_str(), 0700);
        setenv("XDG_RUNTIME_DIR", path.c_str(), 1);
    }
    ~OwnRuntimeFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(path, ignored);
    }
};

const OwnRuntimeFolder runtimeFolder;

}  // namespace
