#include <filesystem>
#include <ostream>

#include "cli/commands.h"
#include "measure/entry.h"
#include "libs/regional.h"
#include "cli/render_options.h"
#include "measure/user_data_file.h"

namespace fw::cli {

namespace {

EntryMethod MethodFromTag(const std::string& tag) {
    for (std::size_t i = 0; i < EntryMethods.size(); ++i)
        if (EntryMethods[i].tag == tag) return *EntryMethodFromIndex(static_cast<int>(i));
    throw UsageError("--method must be S-Val, AntVol, AntPwr or Field");
}

// The entry controls' texts as the window holds them after start-up, overridden by options.
EntryInputs TakeEntryInputs(ArgList& args, char sep) {
    EntryInputs in;
    in.band = args.takeOption("--band").value_or("80m");
    const auto frequency = args.takeOption("--freq");
    in.freeFrequency = frequency.has_value();
    in.frequency = frequency.value_or("1");
    in.sValue = args.takeOption("--svalue").value_or("S9");
    in.gain = args.takeOption("--gain").value_or(DefaultGainText(sep));
    in.antennaPower = args.takeOption("--power").value_or("");
    in.antennaVoltage = args.takeOption("--voltage").value_or("");
    in.fieldStrength = args.takeOption("--field").value_or("");
    in.bandwidth = args.takeOption("--bandwidth").value_or("2700");
    if (auto m = args.takeOption("--method")) in.method = MethodFromTag(*m);
    return in;
}

// The list to append to: FILE as loaded, or an empty list with the start-up texts where
// FILE does not exist yet. A path whose state cannot be told goes through the load, which
// refuses it with the program's message.
LoadedData LoadOrStart(const std::string& path, char sep) {
    std::error_code ec;
    if (!std::filesystem::exists(path, ec) && !ec) return LoadedData{{}, "NoLoc.", "NoDateTime"};
    return LoadDataOption(path, sep);
}

}  // namespace

int CmdEnter(ArgList& args, std::ostream& out, std::ostream& /*err*/) {
    const char sep = SystemDecimalSeparator();
    const EntryInputs inputs = TakeEntryInputs(args, sep);
    const auto appendTo = args.takeOption("--append");
    const auto locator = args.takeOption("--locator");
    const auto dateTime = args.takeOption("--datetime");
    args.expectEmpty();
    if ((locator || dateTime) && !appendTo)
        throw UsageError("--locator and --datetime go with --append");

    const EntryResult result = EvaluateEntry(inputs, sep);
    if (const auto* failure = std::get_if<EntryFailure>(&result)) throw Refusal(failure->message);
    const EntryAccepted& accepted = std::get<EntryAccepted>(result);

    // Load before printing anything, so a refused file leaves no half-done output.
    std::optional<LoadedData> data;
    if (appendTo) {
        data = LoadOrStart(*appendTo, sep);
        data->list.appendRow(accepted.row);
        SortMeasList(data->list);
        if (locator) data->locator = *locator;
        if (dateTime) data->dateTime = *dateTime;
        const std::string error =
            SaveUserDataFile(*appendTo, data->locator, data->dateTime, data->list, sep);
        if (!error.empty()) throw Refusal(error);
    }

    for (const std::string& line : accepted.diagnostics) out << line << '\n';
    MeasList single;
    single.appendRow(accepted.row);
    std::string row;
    AppendUserListLine(row, single, 0, sep);
    out << row << '\n';
    return ExitOk;
}

}  // namespace fw::cli
