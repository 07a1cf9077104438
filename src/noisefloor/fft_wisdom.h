#pragma once
// FFTW's wisdom kept between runs in the user's cache folder, so that only the first run on
// a machine pays for measuring the fastest transform of each length (about 0.4 s at 32768).
#include <string>

namespace fw {

// $XDG_CACHE_HOME/Floorwatch/fftw-wisdom, else ~/.cache/Floorwatch/fftw-wisdom; empty where
// neither folder is known.
std::string FftWisdomPath();

// Creates the folder of `path`; false where it cannot be written (then plans are estimated,
// not measured, so that no run pays for a measurement it cannot keep).
bool PrepareFftWisdomFolder(const std::string& path);

// Adds the wisdom of `path` to FFTW's; false where there is none or it is damaged, which then
// changes nothing. FFTW's planner is not thread-safe: call under the planner's lock.
bool ImportFftWisdom(const std::string& path);

// Merges the file's wisdom (a concurrent run may have added some) with this process's and
// replaces the file whole through an atomic write, so that concurrent runs never leave a
// damaged file; the system's reason on failure. Under the planner's lock.
std::string SaveFftWisdom(const std::string& path);

}  // namespace fw
