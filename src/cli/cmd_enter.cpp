#include <ostream>

#include "cli/commands.h"
#include "cli/data_file_append.h"
#include "measure/entry.h"
#include "libs/regional.h"

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
    const auto frequency = args.takeNumberOption("--freq", sep);
    in.freeFrequency = frequency.has_value();
    in.frequency = frequency.value_or("1");
    in.sValue = args.takeOption("--svalue").value_or("S9");
    in.gain = args.takeNumberOption("--gain", sep).value_or(DefaultGainText(sep));
    in.antennaPower = args.takeNumberOption("--power", sep).value_or("");
    in.antennaVoltage = args.takeNumberOption("--voltage", sep).value_or("");
    in.fieldStrength = args.takeNumberOption("--field", sep).value_or("");
    in.bandwidth = args.takeOption("--bandwidth").value_or(std::string(StartBandwidthText));
    if (auto m = args.takeOption("--method")) in.method = MethodFromTag(*m);
    return in;
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
    if (const auto* failure = std::get_if<EntryFailure>(&result)) throw Refusal(failure->message.text);
    const EntryAccepted& accepted = std::get<EntryAccepted>(result);

    // Load and save before printing anything, so a refused file leaves no half-done output.
    if (appendTo) DataFileAppend(*appendTo, sep).save({accepted.row}, locator, dateTime);

    for (const std::string& line : accepted.diagnostics) out << line << '\n';
    out << ListLine(accepted.row, sep) << '\n';
    return ExitOk;
}

}  // namespace fw::cli
