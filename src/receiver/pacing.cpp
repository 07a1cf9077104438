#include "receiver/pacing.h"

#include <algorithm>
#include <thread>

namespace fw::receiver {

void CheckStop(const Pacing& pacing) {
    if (pacing.stop.stop_requested()) throw Cancelled();
}

void Wait(const Pacing& pacing, std::chrono::milliseconds total) {
    CheckStop(pacing);
    while (total.count() > 0) {
        const auto slice = std::min(total, WaitSlice);
        if (pacing.sleep)
            pacing.sleep(slice);
        else
            std::this_thread::sleep_for(slice);
        total -= slice;
        CheckStop(pacing);
    }
}

}  // namespace fw::receiver
