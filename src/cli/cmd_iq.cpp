#include <ostream>

#include "cli/commands.h"
#include "cli/data_file_append.h"
#include "cli/sdr_options.h"
#include "iq/iq_stream.h"
#include "libs/regional.h"
#include "rig/rig_error.h"
#include "sdr/noise_reading.h"
#include "signature/signature_text.h"

namespace fw::cli {

namespace {

int RunIqNoise(ArgList& args, std::ostream& out, std::ostream& err) {
    const char sep = SystemDecimalSeparator();
    const auto file = args.takePositional();
    if (!file) throw UsageError("iq noise needs the recording FILE");
    const auto [freq, ref, spectrumTo, appendTo] =
        args.takeOptions("--freq", "--ref", "--spectrum", "--append");
    const bool allowOverload = args.takeFlag("--allow-overload");
    const rig::ReadingPlan plan = TakeNoisePlan(args, sep);
    args.expectEmpty();
    const double refDbm = ref ? ParseRealOption("--ref", *ref, sep) : 0.0;

    const auto recording = OpenIqRecording(*file);
    if (!recording) throw Refusal(recording.reason());
    if (!freq && !recording->centreHz)
        throw Refusal("The recording " + *file + " does not say its centre frequency: give --freq MHZ");
    const std::string mhz = freq ? *freq : rig::ExactNumberText(*recording->centreHz / 1e6, sep);
    const rig::ResolvedTarget where = rig::ResolveTarget(rig::RigTarget::Free(mhz), plan, sep);
    // A refused file ends the command before the recording is read.
    std::optional<DataFileAppend> append;
    if (appendTo) append.emplace(*appendTo, sep);

    const auto noise = MeasureRecordingNoise(recording.value(), where.frequencyMHz * 1e6, allowOverload);
    if (!noise) throw Refusal(noise.reason());
    const sdr::NoiseReading reading =
        sdr::MakeNoiseReading(where, noise->floor, noise->spectrum, refDbm, plan, sep);
    if (spectrumTo) SaveSpectrumCsv(*spectrumTo, sdr::SpectrumCsv(reading.spectrum));
    if (append) append->save({reading.entry.row}, std::nullopt, std::nullopt);
    err << sdr::NoiseSummary(reading.floor) << '\n';
    err << SignatureLine(noise->signature, sep) << '\n';
    out << ListLine(reading.entry.row, sep) << '\n';
    return ExitOk;
}

}  // namespace

int CmdIq(ArgList& args, std::ostream& out, std::ostream& err) {
    const auto sub = args.takePositional();
    if (sub != "noise" && sub != "signature") throw UsageError("iq needs noise or signature");
    try {
        if (sub == "signature") return RunIqSignature(args, out, err);
        return RunIqNoise(args, out, err);
    } catch (const rig::ReadingInputError& e) {
        throw Refusal(e.what());
    }
}

}  // namespace fw::cli
