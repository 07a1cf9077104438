#include "cli/sdr_options.h"

#include <ostream>

#include "libs/atomic_file.h"
#include "libs/regional.h"
#include "libs/real_text.h"
#include "cli/reading_plan_options.h"
#include "rig/plan_limits.h"
#include "rig/rig_error.h"
#include "sdr/sdr_limits.h"
#include "signature/signature_text.h"

namespace fw::cli {

double ParseRealOption(const std::string& name, const std::string& text) {
    const auto value = ParseRealPointOrComma(text);
    if (!value) throw Refusal(name + " must be a number, not \"" + text + "\"");
    return *value;
}

double ParseRefOption(const std::string& text, char sep) {
    const double ref = ParseRealOption("--ref", text);
    try {
        rig::CheckWithin(sdr::RefDbmLimits, ref, "--ref", "dBm", text, sep);
    } catch (const rig::ReadingInputError& e) {
        throw Refusal(e.what());
    }
    return ref;
}

rig::ReadingPlan TakeNoisePlan(ArgList& args, char sep) {
    for (const char* meterOnly : {"--samples", "--readings", "--settle"}) {
        if (args.takeOption(meterOnly))
            throw UsageError(std::string(meterOnly) + " is for the S-meter, not for a noise measurement");
    }
    return TakeReadingPlanOptions(args, sep).reading;
}

std::optional<sdr::SdrSettings> TakeSdrOptions(ArgList& args, char sep) {
    const auto [device, rate, gain, antenna, stream, ref, seconds] =
        args.takeOptions("--sdr", "--sdr-rate", "--sdr-gain", "--sdr-antenna", "--sdr-stream",
                         "--ref", "--seconds");
    if (!device) {
        if (rate || gain || antenna || stream || ref || seconds)
            throw UsageError(
                "--sdr-rate, --sdr-gain, --sdr-antenna, --sdr-stream, --ref and --seconds go "
                "with --sdr");
        return std::nullopt;
    }
    if (!ref) throw UsageError("--sdr needs --ref DBM, the level that reads 0 dBFS");
    sdr::SdrSettings s;
    s.args = *device;
    s.refDbm = ParseRefOption(*ref, sep);
    if (rate) s.rateHz = ParseRealOption("--sdr-rate", *rate);
    if (gain) s.gainDb = ParseRealOption("--sdr-gain", *gain);
    s.antenna = antenna.value_or("");
    s.streamArgs = stream.value_or("");
    if (seconds) s.seconds = ParseRealOption("--seconds", *seconds);
    try {
        if (rate) rig::CheckWithin(sdr::SdrRateHzLimits, s.rateHz, "--sdr-rate", "Hz", *rate, sep);
        if (seconds)
            rig::CheckWithin(sdr::CaptureSecondsLimits, s.seconds, "--seconds", "s", *seconds, sep);
    } catch (const rig::ReadingInputError& e) {
        throw Refusal(e.what());
    }
    return s;
}

void PrintNoiseNotes(const receiver::Reading& r, std::ostream& err) {
    const receiver::SdrDetails& d = r.sdr();
    err << r.where.label << ": " << sdr::NoiseSummary(d.floor) << '\n';
    err << r.where.label << ": " << SignatureLine(d.signature, SystemDecimalSeparator()) << '\n';
    if (d.overflows) err << r.where.label << ": " << d.overflows << " overflows (samples lost)\n";
    if (d.timeouts) err << r.where.label << ": " << d.timeouts << " reads timed out\n";
}

std::string SignatureLine(const Outcome<NoiseSignature>& sig, char sep) {
    return sig ? SignatureSummary(sig.value(), sep) : "no signature: " + sig.reason();
}

void SaveSpectrumCsv(const std::string& path, const std::string& csv) {
    const std::string error = WriteFileAtomically(path, csv);
    if (!error.empty()) throw Refusal("The spectrum could not be saved as " + path + ": " + error);
}

}  // namespace fw::cli
