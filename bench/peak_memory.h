#pragma once
// The most memory a piece of work adds to the process: the memory freed before it is given
// back to the system (else the work would reuse it unseen), the peak resident size is reset
// (Linux: clear_refs 5), and both are read from /proc/self/status.
#include <malloc.h>

#include <cstdlib>
#include <fstream>
#include <string>

namespace fw::bench {

// A field of /proc/self/status in kB ("VmRSS", "VmHWM").
inline long StatusKb(const std::string& field) {
    std::ifstream in("/proc/self/status");
    std::string line;
    while (std::getline(in, line))
        if (line.rfind(field + ":", 0) == 0) return std::atol(line.c_str() + field.size() + 1);
    return 0;
}

class PeakMemory {
  public:
    // Starts a measurement.
    void reset() {
        malloc_trim(0);
        std::ofstream("/proc/self/clear_refs") << "5";
        before_ = StatusKb("VmRSS");
    }
    // The most the process held since reset() beyond what it held then, in MB.
    double addedMb() const { return static_cast<double>(StatusKb("VmHWM") - before_) / 1024.0; }

  private:
    long before_ = 0;
};

}  // namespace fw::bench
