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
    const auto freq = args.takeNumberOption("--freq", sep);
    const auto [ref, spectrumTo, appendTo] = args.takeOptions("--ref", "--spectrum", "--append");
    const bool allowOverload = args.takeFlag("--allow-overload");
    const rig::ReadingPlan plan = TakeNoisePlan(args, sep);
    args.expectEmpty();
    const double refDbm = ref ? ParseRefOption(*ref, sep) : 0.0;

    const auto recording = OpenIqRecording(*file);
    if (!recording) throw Refusal(recording.reason());
    // A refused file ends the command before the recording is read.
    std::optional<DataFileAppend> append;
    if (appendTo) append.emplace(*appendTo, sep);
    for (const std::string& note : recording->notes) err << "Note: " << *file << ": " << note << '\n';
    const std::vector<IqRecording> parts = IqReadings(recording.value());
    std::vector<receiver::Reading> readings;
    std::vector<Outcome<NoiseSignature>> signatures;
    for (std::size_t i = 0; i < parts.size(); ++i) {
        const std::string which =
            parts.size() > 1 ? "capture " + std::to_string(i + 1) + " of " + *file + ": " : "";
        const std::optional<double> centreHz = parts[i].centreHz;
        if (!freq && !centreHz)
            throw Refusal(which + "The recording " + *file + " does not say its centre frequency: give --freq MHZ");
        const std::string mhz = freq ? *freq : rig::ExactNumberText(*centreHz / 1e6, sep);
        const receiver::ResolvedTarget where = rig::ResolveTarget(receiver::Target::Free(mhz), plan, sep);
        const auto noise = MeasureRecordingNoise(parts[i], where.frequencyMHz * 1e6, allowOverload);
        if (!noise) throw Refusal(which + noise.reason());
        readings.push_back(sdr::MakeNoiseReading(where, noise->floor, noise->spectrum, refDbm, plan, sep));
        signatures.push_back(noise->signature);
    }
    // Every capture or none is written.
    std::vector<MeasRow> rows;
    std::vector<SpectrumBin> bins;
    for (const receiver::Reading& r : readings) {
        rows.push_back(r.entry.row);
        bins.insert(bins.end(), r.sdr().spectrum.begin(), r.sdr().spectrum.end());
    }
    if (spectrumTo) SaveSpectrumCsv(*spectrumTo, sdr::SpectrumCsv(bins));
    if (append) append->save(rows, std::nullopt, std::nullopt);
    for (std::size_t i = 0; i < readings.size(); ++i) {
        err << sdr::NoiseSummary(readings[i].sdr().floor) << '\n';
        err << SignatureLine(signatures[i], sep) << '\n';
        out << ListLine(readings[i].entry.row, sep) << '\n';
    }
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
