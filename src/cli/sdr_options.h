#pragma once
// The options of the SDR noise measurements (sdr, iq noise, monitor with an SDR).
#include <iosfwd>
#include <optional>
#include <string>

#include "cli/cli_args.h"
#include "receiver/reading.h"
#include "rig/reading.h"
#include "sdr/noise_reading.h"
#include "sdr/sdr_session.h"

namespace fw::cli {

// A level or frequency option written with a point or a comma; a Refusal naming
// the option when it is not a number.
double ParseRealOption(const std::string& name, const std::string& text);

// --ref DBM: a number within the reference level's limits, else a Refusal.
double ParseRefOption(const std::string& text, char sep);

// --gain, --bandwidth and --calibration of a noise reading, checked as for the rig; the
// S-meter's --samples and --settle are a UsageError.
rig::ReadingPlan TakeNoisePlan(ArgList& args, char sep);

// SDR = --sdr ARGS [--sdr-rate HZ] [--sdr-gain DB] [--sdr-antenna NAME]
// [--sdr-stream KEY=VALUE,...] --ref DBM, and
// --seconds S (the capture time); none when --sdr is not given. --ref missing with --sdr,
// or the other options without --sdr, is a UsageError; an unreadable value a Refusal.
std::optional<sdr::SdrSettings> TakeSdrOptions(ArgList& args, char sep);

inline constexpr const char* SdrOptionsHelp =
    "  --sdr ARGS           SoapySDR device arguments, e.g. driver=rtlsdr or\n"
    "                       driver=airspyhf,serial=... (see \"sdr devices\")\n"
    "  --sdr-rate HZ        sample rate (default the supported rate closest to 2.048 MS/s)\n"
    "  --sdr-gain DB        receiver gain in dB, automatic gain control off\n"
    "  --sdr-antenna NAME   the receiver's antenna input\n"
    "  --sdr-stream KEY=VALUE,...\n"
    "                       SoapySDR stream arguments, e.g. remote:format=CS8\n"
    "  --ref DBM            antenna power in dBm that reads 0 dBFS at this gain\n"
    "  --seconds S          capture time per reading, 0.1 to 60 (default 1)\n";

// N0, K and the occupancy of a live reading, and its overflows and timeouts, on `err`.
void PrintNoiseNotes(const receiver::Reading& r, std::ostream& err);

// "Vd 1.05 dB, bursts none, comb none: gaussian", or why there is no signature.
std::string SignatureLine(const Outcome<NoiseSignature>& sig, char sep);

// Writes the used bins as CSV to `path` through the atomic writer; throws Refusal.
void SaveSpectrumCsv(const std::string& path, const std::string& csv);

}  // namespace fw::cli
