#include "signature/signature_text.h"

#include <algorithm>
#include <charconv>
#include <cmath>

#include "libs/number_text.h"

namespace fw {

namespace {

std::string Number(double v, int precision, char sep = '.') {
    return FixedText(v, precision, sep);
}

// Bursts at 100 or 120 Hz or a whole multiple of either (within 1 Hz or 0.5 %, what the
// rate's resolution and the mains' own drift allow) follow the mains.
bool MainsRate(double hz) {
    for (double mains : {100.0, 120.0}) {
        const double multiple = std::round(hz / mains);
        if (multiple >= 1 && std::abs(hz - multiple * mains) <= std::max(1.0, 0.005 * hz)) return true;
    }
    return false;
}

std::string BurstHint(double hz) {
    const std::string rate = "bursts at " + Number(hz, 0) + " Hz";
    if (MainsRate(hz)) return rate + ": often arcing, dimmers or a faulty insulator on the mains";
    return rate + ", not in step with the mains: often a motor, a switching controller or an electric fence";
}

}  // namespace

std::string SignatureClass(const NoiseSignature& sig) {
    if (sig.impulsive()) return sig.comb ? "impulsive+comb" : "impulsive";
    return sig.comb ? "comb" : "gaussian";
}

std::string SignatureHint(const NoiseSignature& sig) {
    std::string hint;
    if (sig.burstRateHz) {
        hint = BurstHint(*sig.burstRateHz);
    } else if (sig.impulsive()) {
        hint = "impulses without a steady rate: often switching contacts, sparks or distant lightning";
    }
    if (sig.comb) {
        if (!hint.empty()) hint += "; ";
        hint += "lines every " + Number(sig.comb->spacingHz / 1e3, 1) +
                " kHz: often a switch-mode power supply, a solar optimiser or an LED driver";
    }
    if (hint.empty()) hint = "smooth hiss: often distant noise, many far sources together, or the band's own floor";
    return hint;
}

std::string SignatureSummary(const NoiseSignature& sig, char sep) {
    std::string s = "Vd " + Number(sig.vdDb, 2, sep) + " dB, bursts ";
    s += sig.burstRateHz ? Number(*sig.burstRateHz, 1, sep) + " Hz" : std::string("none");
    s += ", comb ";
    s += sig.comb ? std::to_string(sig.comb->lines) + " lines every " +
                        Number(sig.comb->spacingHz / 1e3, 2, sep) + " kHz"
                  : std::string("none");
    return s + ": " + SignatureClass(sig);
}

std::string ApdLine(const NoiseSignature& sig, char sep) {
    std::string s = "Time above N0 +";
    for (std::size_t i = 0; i < ApdLevelsDb.size(); ++i) s += (i ? "/" : "") + std::to_string(ApdLevelsDb[i]);
    s += " dB:";
    for (std::size_t i = 0; i < sig.apd.size(); ++i)
        s += std::string(i ? ", " : " ") + Number(sig.apd[i] * 100.0, 2, sep) + " %";
    return s;
}

std::string SignatureText(const NoiseSignature& sig, char sep) {
    return SignatureSummary(sig, sep) + "\n" + ApdLine(sig, sep) + "\nHint (not a verdict): " +
           SignatureHint(sig) + "\n";
}

std::string SignatureCsv(const NoiseSignature& sig) {
    std::string csv = "vd_db,burst_rate_hz,comb_spacing_khz,comb_lines,class";
    for (int level : ApdLevelsDb) csv += ",apd_" + std::to_string(level) + "db_pct";
    csv += '\n' + Number(sig.vdDb, 3) + ',';
    if (sig.burstRateHz) csv += Number(*sig.burstRateHz, 2);
    csv += ',';
    if (sig.comb) csv += Number(sig.comb->spacingHz / 1e3, 3);
    csv += ',' + std::to_string(sig.comb ? sig.comb->lines : 0) + ',' + SignatureClass(sig);
    for (double a : sig.apd) csv += ',' + Number(a * 100.0, 3);
    return csv + '\n';
}

}  // namespace fw
