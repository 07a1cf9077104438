// Feeds arbitrary control texts to the entry evaluation. The first byte picks the method, the
// free-frequency tick and the decimal separator; the rest, split at line breaks, fills band,
// frequency, S-value, gain, power, voltage, field strength and bandwidth. An accepted row
// must be finite and survive saving and loading the data file.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <variant>

#include "measure/entry.h"
#include "measure/user_data_file.h"

namespace {

std::string NextField(std::string_view& rest) {
    const std::size_t end = rest.find('\n');
    std::string field(rest.substr(0, end));
    rest.remove_prefix(end == std::string_view::npos ? rest.size() : end + 1);
    return field;
}

bool Finite(const fw::MeasRow& r) {
    for (const double v : {r.freqMHz, r.fieldDbuVm, r.bandwidthHz, r.gainDbi, r.sUnits,
                           r.antVoltDbuV, r.antPowerDbm})
        if (!std::isfinite(v)) return false;
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const std::uint8_t choice = data[0];
    std::string_view rest(reinterpret_cast<const char*>(data) + 1, size - 1);
    fw::EntryInputs in;
    in.method = static_cast<fw::EntryMethod>(choice % 4);
    in.freeFrequency = (choice & 4) != 0;
    const char sep = (choice & 8) ? '.' : ',';
    in.band = NextField(rest);
    in.frequency = NextField(rest);
    in.sValue = NextField(rest);
    in.gain = NextField(rest);
    in.antennaPower = NextField(rest);
    in.antennaVoltage = NextField(rest);
    in.fieldStrength = NextField(rest);
    in.bandwidth = NextField(rest);

    const fw::EntryResult result = fw::EvaluateEntry(in, sep);
    const auto* accepted = std::get_if<fw::EntryAccepted>(&result);
    if (accepted == nullptr) return 0;
    if (!Finite(accepted->row)) std::abort();

    // Saved and loaded, the row comes back as the same text, its tag unchanged.
    fw::MeasList list;
    list.appendRow(accepted->row);
    const std::string saved = fw::UserDataFileText("JO40CQ", "2026-12-06 08:05", list, sep);
    const fw::UserDataLoad loaded = fw::ParseUserDataText(saved, sep);
    if (loaded.status != fw::UserDataStatus::Ok || loaded.list.size() != 1) std::abort();
    if (loaded.list.MeasEntryUnit()[0] != accepted->row.entryUnit) std::abort();
    if (fw::UserDataFileText(loaded.locator, loaded.dateTime, loaded.list, sep) != saved)
        std::abort();
    return 0;
}
