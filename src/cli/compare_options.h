#pragma once
// The options of `log compare` and `log report` that choose spans, hours and bands.
#include <optional>
#include <string>
#include <vector>

#include "cli/cli_args.h"
#include "stationlog/log_queries.h"
#include "stats/hour_range.h"

namespace fw::cli {

// `name` T1/T2: the UTC span from T1 on and before T2, each as ParseUtcTime reads it. None
// when the option is not given; a Refusal naming the option for any other text or T1 not
// before T2.
std::optional<LogSpan> TakeSpanPair(ArgList& args, const std::string& name);

// --hours H1-H2 (UTC hours 0..23, wrapping past midnight where H2 < H1); the whole day when
// not given. A Refusal for any other text.
HourRange TakeHourRange(ArgList& args);

// --bands B,...: the bands of the band table named; empty (every band) when not given. A
// Refusal naming an unknown band or an empty item.
std::vector<LogBand> TakeBandList(ArgList& args);

inline constexpr const char* CompareOptionsHelp =
    "  --before T1/T2, --after T3/T4\n"
    "                     the spans compared: from UTC time T1 on and before T2\n"
    "                     (YYYY-MM-DDTHH:MM, also with Z or :SSZ); they must not overlap\n"
    "  --hours H1-H2      only readings whose UTC hour lies in H1..H2 (22-03 wraps past\n"
    "                     midnight), in every span\n";

}  // namespace fw::cli
