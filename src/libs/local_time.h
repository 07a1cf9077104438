#pragma once
// The one place the machine's time zone turns a time into a local calendar time.
#include <cstdint>

#include "libs/date_text.h"

namespace fw {

// The local calendar time of `utcSeconds` (seconds since 1970-01-01T00:00:00Z) in the
// machine's time zone, TZ honoured.
LocalTime LocalTimeAt(std::int64_t utcSeconds);

}  // namespace fw
