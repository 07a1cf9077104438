// Feeds arbitrary bytes to the USER data file reader, under both decimal separators.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "measure/user_data_file.h"

namespace {

void Check(std::string_view text, char sep) {
    const fw::UserDataLoad r = fw::ParseUserDataText(text, sep);
    const fw::MeasList& l = r.list;
    if (r.status != fw::UserDataStatus::Ok) {
        // A failed read hands back nothing, so the caller keeps what it had.
        if (!l.empty() || !r.locator.empty() || !r.dateTime.empty()) std::abort();
        return;
    }
    const std::size_t n = l.MeasFreqMHz().size();
    if (l.MeasFieldDbuVm().size() != n || l.MeasBandwidthHz().size() != n ||
        l.MeasEntryUnit().size() != n || l.MeasGainDbi().size() != n ||
        l.MeasSUnits().size() != n || l.MeasAntVoltDbuV().size() != n ||
        l.MeasAntPowerDbm().size() != n)
        std::abort();
    if (r.locator.size() > 6 || r.dateTime.size() > 16) std::abort();

    // What was read writes and reads again to the same number of rows.
    fw::MeasList sorted = l;
    fw::SortMeasList(sorted);
    const fw::UserDataLoad again =
        fw::ParseUserDataText(fw::UserDataFileText(r.locator, r.dateTime, sorted, sep), sep);
    if (again.status != fw::UserDataStatus::Ok || again.list.size() != n) std::abort();
    fw::UserListLines(sorted, sep);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    Check(text, ',');
    Check(text, '.');
    return 0;
}
