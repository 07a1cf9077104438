#pragma once
// The signature in words: its class, a hint at what such noise usually is, the text lines of
// floorwatch-cli and the window, and its CSV.
#include <string>

#include "signature/noise_signature.h"

namespace fw {

// "gaussian", "impulsive", "comb" or "impulsive+comb".
std::string SignatureClass(const NoiseSignature& sig);

// One line of what such noise usually is: a hint, not a verdict.
std::string SignatureHint(const NoiseSignature& sig);

// "Vd 1.05 dB, bursts none, comb none: gaussian", the numbers with `sep`.
std::string SignatureSummary(const NoiseSignature& sig, char sep);

// "Time above N0 +0/5/10/15/20 dB: 36.8 %, 4.2 %, 0.0 %, 0.0 %, 0.0 %".
std::string ApdLine(const NoiseSignature& sig, char sep);

// The text output: summary, APD, class and hint, one per line.
std::string SignatureText(const NoiseSignature& sig, char sep);

// "vd_db,burst_rate_hz,comb_spacing_khz,comb_lines,class,apd_0db_pct,..." and one row with a
// point for the decimals; a rate or spacing that was not found is an empty field.
std::string SignatureCsv(const NoiseSignature& sig);

}  // namespace fw
