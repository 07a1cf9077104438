#include "stats/comparison_text.h"

#include <charconv>
#include <cmath>
#include <cstdio>

#include "stationlog/log_export.h"

namespace fw {

namespace {

void AppendDb(std::string& out, double db) {
    if (!std::isnan(db)) AppendFixed2(out, db);
}

void AppendP(std::string& out, double p) {
    if (std::isnan(p)) return;
    char buf[32];
    const auto r = std::to_chars(buf, buf + sizeof buf, p, std::chars_format::general, 4);
    out.append(buf, r.ptr);
}

// One decimal; with a sign for a shift, never "-0.0".
std::string Db1(double db, bool sign) {
    if (std::isnan(db)) return "";
    char buf[32];
    std::snprintf(buf, sizeof buf, sign ? "%+.1f" : "%.1f", db);
    const std::string text = buf;
    if (text == "-0.0") return sign ? "+0.0" : "0.0";
    return text;
}

// "< 0.001", or p with three decimals.
std::string PCell(double p) {
    if (p < 0.001) return "< 0.001";
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.3f", p);
    return buf;
}

std::string FreqText(double mhz) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.3f", mhz);
    return buf;
}

}  // namespace

std::string ComparisonCsv(std::span<const BandComparison> rows) {
    std::string out(ComparisonCsvHeader);
    out += "\r\n";
    for (const BandComparison& c : rows) {
        AppendCsvField(out, c.band.band);
        out += ',';
        AppendCsvNumber(out, c.band.freqMHz);
        out += ',' + std::to_string(c.nBefore) + ',' + std::to_string(c.nAfter) + ',';
        AppendDb(out, c.medianBefore);
        out += ',';
        AppendDb(out, c.medianAfter);
        for (double v : c.shift ? std::vector{c.shift->shift, c.shift->ciLow, c.shift->ciHigh}
                                : std::vector<double>(3, NAN)) {
            out += ',';
            AppendDb(out, v);
        }
        out += ',';
        AppendP(out, c.pValue);
        out += "\r\n";
    }
    return out;
}

std::vector<std::string> ComparisonHeadings() {
    return {"band", "MHz", "n before", "n after", "Fa before", "Fa after",
            "shift",  "95 % CI", "p"};
}

std::vector<std::string> ComparisonCells(const BandComparison& c) {
    std::vector<std::string> cells{BandLabel(c.band),        FreqText(c.band.freqMHz),
                                   std::to_string(c.nBefore), std::to_string(c.nAfter),
                                   Db1(c.medianBefore, false), Db1(c.medianAfter, false)};
    if (!c.shift) {
        cells.resize(ComparisonHeadings().size());
        return cells;
    }
    cells.push_back(Db1(c.shift->shift, true));
    cells.push_back(Db1(c.shift->ciLow, true) + " … " + Db1(c.shift->ciHigh, true));
    cells.push_back(PCell(c.pValue));
    return cells;
}

std::string ComparisonVerdict(const BandComparison& c) {
    const std::string band = BandLabel(c.band) + ": ";
    if (!c.shift)
        return band + "too few hourly values to compare (" + std::to_string(c.nBefore) +
               " before, " + std::to_string(c.nAfter) + " after; " +
               std::to_string(MinComparedValues) + " needed on each side)";
    return band + Db1(c.shift->shift, true) + " dB (95 % CI " + Db1(c.shift->ciLow, true) +
           " … " + Db1(c.shift->ciHigh, true) + "), p " + (c.pValue < 0.001 ? "" : "= ") +
           PCell(c.pValue);
}

std::string ComparisonText(std::span<const BandComparison> rows) {
    std::vector<std::vector<std::string>> table{ComparisonHeadings()};
    for (const BandComparison& c : rows) table.push_back(ComparisonCells(c));
    // Widths in characters; "…" is one character of three bytes.
    const auto width = [](const std::string& s) {
        std::size_t n = 0;
        for (unsigned char ch : s) n += (ch & 0xC0) != 0x80;
        return n;
    };
    std::vector<std::size_t> widths(table.front().size(), 0);
    for (const auto& line : table)
        for (std::size_t i = 0; i < line.size(); ++i) widths[i] = std::max(widths[i], width(line[i]));
    std::string out;
    for (const auto& line : table) {
        std::string text;
        for (std::size_t i = 0; i < line.size(); ++i) {
            const std::string pad(widths[i] - width(line[i]), ' ');
            // The band name to the left, the numbers to the right.
            text += i == 0 ? line[i] + pad : "  " + pad + line[i];
        }
        while (!text.empty() && text.back() == ' ') text.pop_back();
        out += text + '\n';
    }
    out += '\n';
    for (const BandComparison& c : rows) out += ComparisonVerdict(c) + '\n';
    return out;
}

}  // namespace fw
