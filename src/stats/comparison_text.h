#pragma once
// The comparison as the command line and the report write it.
#include <span>
#include <string>
#include <vector>

#include "stats/span_comparison.h"

namespace fw {

inline constexpr std::string_view ComparisonCsvHeader =
    "band,freq_mhz,n_before,n_after,median_before_db,median_after_db,shift_db,ci_low_db,"
    "ci_high_db,p_value";

// CSV after RFC 4180 with a point: the header and one line per band, dB with two decimals,
// p with four significant digits, empty fields where a value is missing.
std::string ComparisonCsv(std::span<const BandComparison> rows);

// The headings and one band's cells of the comparison table, dB with one decimal.
std::vector<std::string> ComparisonHeadings();
std::vector<std::string> ComparisonCells(const BandComparison& row);

// "40m: +9.4 dB (95 % CI +8.6 … +10.3), p < 0.001"; for a band with too few hourly values
// "40m: too few hourly values to compare (3 before, 12 after; 5 needed on each side)".
std::string ComparisonVerdict(const BandComparison& row);

// The table with aligned columns, a blank line and the verdict of each band.
std::string ComparisonText(std::span<const BandComparison> rows);

}  // namespace fw
