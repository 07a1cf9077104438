// iq signature and sdr signature: what kind of noise a recording or a live capture holds.
#include <ostream>

#include "cli/commands.h"
#include "cli/sdr_options.h"
#include "cli/signal_stop.h"
#include "iq/iq_recording.h"
#include "iq/iq_stream.h"
#include "libs/regional.h"
#include "rig/rig_error.h"
#include "sdr/sdr_lock.h"
#include "sdr/sdr_open.h"
#include "signature/signature_text.h"

namespace fw::cli {

namespace {

bool TakeCsvFormat(ArgList& args) {
    const auto format = args.takeOption("--format").value_or("text");
    if (format != "text" && format != "csv") throw UsageError("--format must be text or csv");
    return format == "csv";
}

int PrintSignature(const NoiseSignature& sig, bool csv, char sep, std::ostream& out) {
    out << (csv ? SignatureCsv(sig) : SignatureText(sig, sep));
    return ExitOk;
}

}  // namespace

int RunIqSignature(ArgList& args, std::ostream& out, std::ostream& err) {
    const char sep = SystemDecimalSeparator();
    const auto file = args.takePositional();
    if (!file) throw UsageError("iq signature needs the recording FILE");
    const auto freq = args.takeOption("--freq");
    const bool csv = TakeCsvFormat(args);
    args.expectEmpty();
    const auto recording = OpenIqRecording(*file);
    if (!recording) throw Refusal(recording.reason());
    // Each SigMF capture is its own run at its own centre: one signature over all of them
    // would mix noise from different frequencies.
    const std::vector<IqRecording> parts = IqReadings(recording.value());
    std::vector<NoiseSignature> signatures;
    for (std::size_t i = 0; i < parts.size(); ++i) {
        const std::string which =
            parts.size() > 1 ? "capture " + std::to_string(i + 1) + " of " + *file + ": " : "";
        // The centre only places the comb's lines: a recording that does not say it is read at 0.
        const double centreHz = freq ? ParseRealOption("--freq", *freq) * 1e6 : parts[i].centreHz.value_or(0);
        const auto noise = MeasureRecordingNoise(parts[i], centreHz);
        if (!noise) throw Refusal(which + noise.reason());
        if (!noise->signature) throw Refusal(which + "No signature: " + noise->signature.reason());
        err << which << sdr::NoiseSummary(noise->floor) << '\n';
        signatures.push_back(noise->signature.value());
    }
    if (parts.size() == 1) return PrintSignature(signatures.front(), csv, sep, out);
    for (std::size_t i = 0; i < signatures.size(); ++i) {
        const std::string csvText = SignatureCsv(signatures[i]);
        if (csv)  // one header, then a row per capture in capture order
            out << (i == 0 ? csvText : csvText.substr(csvText.find('\n') + 1));
        else
            out << "Capture " << i + 1 << " of " << signatures.size() << ":\n" << SignatureText(signatures[i], sep);
    }
    return ExitOk;
}

int RunSdrSignature(ArgList& args, std::ostream& out, std::ostream& err) {
    const char sep = SystemDecimalSeparator();
    const auto settings = TakeSdrOptions(args, sep);
    if (!settings) throw UsageError("sdr signature needs --sdr ARGS");
    const auto [band, freq] = args.takeOptions("--band", "--freq");
    const bool csv = TakeCsvFormat(args);
    const rig::ReadingPlan plan = TakeNoisePlan(args, sep);
    args.expectEmpty();
    if (band && freq) throw UsageError("give either --band or --freq, not both");
    if (!band && !freq) throw UsageError("sdr signature needs --band B or --freq MHZ");
    const receiver::ResolvedTarget where = rig::ResolveTarget(
        band ? receiver::Target::Band(*band) : receiver::Target::Free(*freq), plan, sep);

    SignalStop interrupt;
    const sdr::ClaimedSdr claimed =
        sdr::ClaimSdr(*settings, "floorwatch-cli sdr signature", interrupt.token());
    const std::unique_ptr<sdr::SdrSession> session =
        sdr::OpenSdrSession(claimed.settings, interrupt.token());
    try {
        const sdr::Capture c = session->capture(where.frequencyMHz * 1e6, settings->seconds, interrupt.token());
        err << where.label << ": " << sdr::NoiseSummary(c.floor) << '\n';
        if (!c.signature) throw Refusal("No signature: " + c.signature.reason());
        return PrintSignature(c.signature.value(), csv, sep, out);
    } catch (const receiver::Cancelled&) {
        err << "Cancelled\n";
        return ExitRefused;
    }
}

}  // namespace fw::cli
