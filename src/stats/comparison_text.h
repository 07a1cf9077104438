#pragma once
// The comparison as the command line, the window and the report write it.
#include <span>
#include <string>
#include <vector>

#include "stats/span_comparison.h"

namespace fw {

inline constexpr std::string_view ComparisonCsvHeader =
    "band,freq_mhz,days_before,days_after,median_before_db,median_after_db,shift_db,ci_low_db,"
    "ci_high_db,p_value,receiver_changed";

// CSV after RFC 4180 with a point: the header and one line per band, the frequency as
// logged, dB with three decimals, p with four significant digits, empty fields where a value
// is missing, receiver_changed "yes" or "no".
std::string ComparisonCsv(std::span<const BandComparison> rows);

// The headings and one band's cells of the comparison table, dB with one decimal.
std::vector<std::string> ComparisonHeadings();
std::vector<std::string> ComparisonCells(const BandComparison& row);

// "40m: +9.4 dB (95 % CI +8.6 … +10.3), p < 0.001"; for a band with too few days
// "40m: too few days to compare (3 before, 12 after; 5 needed on each side)".
std::string ComparisonVerdict(const BandComparison& row);

// "40m: receiver changed between the spans: A → B"; empty where it did not change.
std::string ReceiverChangeText(const BandComparison& row);

// What the numbers mean and what they do not, one paragraph per item: the day as the unit,
// the shift as the result, the meaning of p, the chance of one small p among several bands
// (naming them), the drift of receivers and antennas.
std::vector<std::string> ComparisonNotes(std::span<const BandComparison> rows,
                                         const HourRange& hours);

// The table with aligned columns, the verdict of each band with any change of receiver, and
// the notes in lines of at most 78 characters.
std::string ComparisonText(std::span<const BandComparison> rows, const HourRange& hours);

}  // namespace fw
