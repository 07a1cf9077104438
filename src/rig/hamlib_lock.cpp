#include "rig/hamlib_lock.h"

#include <hamlib/rig.h>

namespace fw::rig {

std::mutex& HamlibMutex() {
    static std::mutex m;
    return m;
}

void SilenceHamlib() {
    static std::once_flag once;
    std::call_once(once, [] { rig_set_debug(RIG_DEBUG_NONE); });
}

}  // namespace fw::rig
