#include "stats/comparison_text.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <sstream>

#include "libs/number_text.h"
#include "stationlog/log_export.h"
#include "stats/day_values.h"

namespace fw {

namespace {

void AppendDb(std::string& out, double db) {
    if (std::isnan(db)) return;
    out += FixedText(db, 3);
}

void AppendP(std::string& out, double p) {
    if (std::isnan(p)) return;
    out += GeneralText(p, 4);
}

// One decimal; with a sign for a shift, never "-0.0".
std::string Db1(double db, bool sign) {
    if (std::isnan(db)) return "";
    return sign ? SignedFixedText(db, 1) : FixedText(db, 1);
}

// "< 0.001", or p with three decimals.
std::string PCell(double p) {
    if (p < 0.001) return "< 0.001";
    return FixedText(p, 3);
}

std::string FreqText(double mhz) {
    return FixedText(mhz, 3);
}

std::string ReceiverCell(const BandComparison& c) {
    if (c.receiversBefore.empty() || c.receiversAfter.empty()) return "";
    return c.receiverChanged() ? "changed" : "same";
}

// Words in lines of at most `width` characters ("…" and "→" count as one).
std::string Wrapped(const std::string& text, std::size_t width) {
    const auto length = [](const std::string& s) {
        std::size_t n = 0;
        for (unsigned char ch : s) n += (ch & 0xC0) != 0x80;
        return n;
    };
    std::istringstream words(text);
    std::string out;
    std::string line;
    for (std::string word; words >> word;) {
        if (!line.empty() && length(line) + 1 + length(word) > width) {
            out += line + '\n';
            line.clear();
        }
        line += (line.empty() ? "" : " ") + word;
    }
    if (!line.empty()) out += line + '\n';
    return out;
}

}  // namespace

std::string ComparisonCsv(std::span<const BandComparison> rows) {
    std::string out(ComparisonCsvHeader);
    out += "\r\n";
    for (const BandComparison& c : rows) {
        AppendCsvField(out, c.band.band);
        out += ',';
        AppendCsvNumber(out, c.band.freqMHz);
        out += ',' + std::to_string(c.daysBefore) + ',' + std::to_string(c.daysAfter) + ',';
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
        out += c.receiverChanged() ? ",yes\r\n" : ",no\r\n";
    }
    return out;
}

std::vector<std::string> ComparisonHeadings() {
    return {"band",  "MHz",     "days before", "days after", "Fa before",
            "Fa after", "shift", "95 % CI",     "p",          "receiver"};
}

std::vector<std::string> ComparisonCells(const BandComparison& c) {
    std::vector<std::string> cells{BandLabel(c.band),          FreqText(c.band.freqMHz),
                                   std::to_string(c.daysBefore), std::to_string(c.daysAfter),
                                   Db1(c.medianBefore, false),  Db1(c.medianAfter, false)};
    if (c.shift) {
        cells.push_back(Db1(c.shift->shift, true));
        cells.push_back(Db1(c.shift->ciLow, true) + " … " + Db1(c.shift->ciHigh, true));
        cells.push_back(PCell(c.pValue));
    } else {
        cells.resize(cells.size() + 3);
    }
    cells.push_back(ReceiverCell(c));
    return cells;
}

std::string ComparisonVerdict(const BandComparison& c) {
    const std::string band = BandLabel(c.band) + ": ";
    if (!c.shift)
        return band + "too few days to compare (" + std::to_string(c.daysBefore) + " before, " +
               std::to_string(c.daysAfter) + " after; " + std::to_string(MinComparedDays) +
               " needed on each side)";
    return band + Db1(c.shift->shift, true) + " dB (95 % CI " + Db1(c.shift->ciLow, true) +
           " … " + Db1(c.shift->ciHigh, true) + "), p " + (c.pValue < 0.001 ? "" : "= ") +
           PCell(c.pValue);
}

std::string ReceiverChangeText(const BandComparison& c) {
    if (!c.receiverChanged()) return "";
    return BandLabel(c.band) + ": receiver changed between the spans: " +
           ReceiverSetupsText(c.receiversBefore) + " → " + ReceiverSetupsText(c.receiversAfter);
}

std::vector<std::string> ComparisonNotes(std::span<const BandComparison> rows,
                                         const HourRange& hours) {
    const std::string window =
        hours.wholeDay() ? "the UTC hours 00-23 of that date"
                         : "the window of the hours " + HourRangeText(hours) +
                               " that starts on that date";
    std::vector<std::string> notes = {
        "Each value compared is a day: the median of its hourly values (each the median Fa of "
        "one UTC clock hour's readings) in " + window + "; a day with fewer than " +
            std::to_string(MinHoursOfDay(hours)) + " of its " +
            std::to_string(WindowHourCount(hours)) +
            " hours is left out. The hours of one day move together (propagation, weather, "
            "the neighbours' habits), so days, not hours, are counted.",
        "The result is the shift, after minus before (Hodges-Lehmann estimate), with its 95 % "
        "confidence interval.",
        "p answers one question: could days like these arise without a change? A small p says "
        "hardly; it says neither how large the change is nor what caused it.",
    };
    std::string compared;
    std::size_t withShift = 0;
    bool changed = false;
    for (const BandComparison& c : rows) {
        if (c.shift) {
            compared += (compared.empty() ? "" : ", ") + BandLabel(c.band);
            ++withShift;
        }
        changed = changed || c.receiverChanged();
    }
    if (withShift > 1)
        notes.push_back("Bands compared: " + compared + ". With several bands, a p below 0.05 in "
                        "one of them is expected by chance once in 20 bands.");
    notes.push_back("A shift smaller than about 1 dB, however small its p, lies within what "
                    "receivers and antennas drift by.");
    if (changed)
        notes.push_back("Where the receiver changed between the spans, the shift holds that "
                        "change as much as any change of the noise.");
    return notes;
}

std::string ComparisonText(std::span<const BandComparison> rows, const HourRange& hours) {
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
            // The band name and the receiver to the left, the numbers to the right.
            const bool left = i == 0 || i + 1 == line.size();
            text += i == 0 ? line[i] + pad : left ? "  " + line[i] + pad : "  " + pad + line[i];
        }
        while (!text.empty() && text.back() == ' ') text.pop_back();
        out += text + '\n';
    }
    out += '\n';
    for (const BandComparison& c : rows) {
        out += ComparisonVerdict(c) + '\n';
        if (c.receiverChanged()) out += ReceiverChangeText(c) + '\n';
    }
    for (const std::string& note : ComparisonNotes(rows, hours)) out += '\n' + Wrapped(note, 78);
    return out;
}

}  // namespace fw
