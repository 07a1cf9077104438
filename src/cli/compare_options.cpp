#include "cli/compare_options.h"

#include <algorithm>

#include "rig/reading.h"
#include "rig/rig_error.h"
#include "rig/sweep.h"
#include "stationlog/utc_text.h"

namespace fw::cli {

std::optional<LogSpan> TakeSpanPair(ArgList& args, const std::string& name) {
    const auto text = args.takeOption(name);
    if (!text) return std::nullopt;
    const std::size_t slash = text->find('/');
    const auto from = ParseUtcTime(std::string_view(*text).substr(0, slash));
    const auto to = slash == std::string::npos
                        ? std::nullopt
                        : ParseUtcTime(std::string_view(*text).substr(slash + 1));
    if (!from || !to)
        throw Refusal(name + " must be two UTC times written YYYY-MM-DDTHH:MM/YYYY-MM-DDTHH:MM"
                             " (HH:MMZ and HH:MM:SSZ are read too)!");
    if (*from >= *to) throw Refusal(name + ": the start must lie before the end!");
    return LogSpan{from, to};
}

HourRange TakeHourRange(ArgList& args) {
    const auto text = args.takeOption("--hours");
    if (!text) return {};
    const auto hours = ParseHourRange(*text);
    if (!hours) throw Refusal("--hours must be two UTC hours 0..23 written H1-H2, such as 18-23!");
    return *hours;
}

std::vector<LogBand> TakeBandList(ArgList& args) {
    const auto text = args.takeOption("--bands");
    if (!text) return {};
    std::vector<receiver::Target> targets;
    try {
        targets = rig::BandTargets(*text);
    } catch (const rig::ReadingInputError& e) {
        throw Refusal(std::string("--bands: ") + e.what());
    }
    const std::vector<LogBand> all = AllBands();
    std::vector<LogBand> bands;
    for (const receiver::Target& t : targets) {
        const auto band =
            std::find_if(all.begin(), all.end(), [&](const LogBand& b) { return b.band == t.band; });
        if (band != all.end()) bands.push_back(*band);
    }
    return bands;
}

}  // namespace fw::cli
