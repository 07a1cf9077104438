#pragma once
// The measurement date and time, typed as local time, as the UTC month and hour that the
// atmospheric noise is predicted for.
#include <string_view>

#include "model/outcome.h"

namespace fw {

struct UtcHour {
    int year = 0;
    int month = 1;  // 1..12
    int day = 1;
    int hour = 0;  // 0..23
};

// "YYYY-MM-DD HH:MM" (blanks around it ignored) as a local time of the computer's time zone
// (TZ honoured), converted to UTC. A text of another form, or a date that does not exist,
// gives a one-line reason that quotes it. A local time skipped by a change to summer time is
// taken as the C library normalises it (an hour later).
Outcome<UtcHour> MeasDateTimeToUtc(std::string_view text);

}  // namespace fw
