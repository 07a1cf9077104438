// The test programs draw off any screen, set here because ctest's discovered tests take
// a single variable in their environment reliably (a list there is split into properties).
// What a test program caches for the user (the SDR's FFT wisdom; the rig locks where no
// runtime folder is set) goes to a folder in the build tree, never to the real ~/.cache. Set
// before main, so that the programs the tests start inherit it; the wisdom measured once is
// reused by later runs.
#include <stdlib.h>

namespace {

[[maybe_unused]] const bool cacheHomeSet = setenv("XDG_CACHE_HOME", FW_TEST_CACHE_DIR, 1) == 0;
[[maybe_unused]] const bool offscreenSet = setenv("QT_QPA_PLATFORM", "offscreen", 0) == 0;

}  // namespace
