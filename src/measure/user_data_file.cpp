#include "user_data_file.h"

#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <memory>

#include "atomic_file.h"
#include "real_text.h"

namespace fw {

std::string MissingFileText(std::string_view path) {
    std::string text = "Die Datei\r\n\r\n";
    text.append(path);
    text.append("\r\n\r\nkonnte nicht gefunden werden!");
    return text;
}

void AppendGeneral(std::string& out, double value, char sep) {
    if (std::isnan(value)) {
        out.append("NAN");
        return;
    }
    if (std::isinf(value)) {
        out.append(value < 0 ? "-INF" : "INF");
        return;
    }
    if (value == 0.0) {
        out.push_back('0');
        return;
    }
    // Rounding the largest doubles to 15 digits would write a number beyond the double
    // range that no reader takes back; write the largest 15-digit value below it instead.
    constexpr double largest15 = 1.79769313486231e308;
    if (std::fabs(value) > largest15) value = std::copysign(largest15, value);
    // Rounded to 15 significant digits: "[-]d.dddddddddddddde[+-]x".
    char buf[40];
    const auto res = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::scientific, 14);
    const char* p = buf;
    if (*p == '-') {
        out.push_back('-');
        ++p;
    }
    char digits[15];
    int count = 0;
    for (; p < res.ptr && *p != 'e'; ++p)
        if (*p != '.') digits[count++] = *p;
    int exponent = 0;
    std::from_chars(p + (p[1] == '+' ? 2 : 1), res.ptr, exponent);
    while (count > 1 && digits[count - 1] == '0') --count;

    if (exponent < -5 || exponent >= 15) {
        out.push_back(digits[0]);
        if (count > 1) {
            out.push_back(sep);
            out.append(digits + 1, count - 1);
        }
        out.push_back('E');
        char expBuf[8];
        const auto e = std::to_chars(expBuf, expBuf + sizeof expBuf, exponent);
        out.append(expBuf, e.ptr);
    } else if (exponent >= 0) {
        const int intDigits = exponent + 1;
        for (int k = 0; k < intDigits; ++k) out.push_back(k < count ? digits[k] : '0');
        if (count > intDigits) {
            out.push_back(sep);
            out.append(digits + intDigits, count - intDigits);
        }
    } else {
        out.push_back('0');
        out.push_back(sep);
        out.append(static_cast<std::size_t>(-exponent - 1), '0');
        out.append(digits, count);
    }
}

std::string FormatGeneral(double value, char sep) {
    std::string out;
    AppendGeneral(out, value, sep);
    return out;
}

namespace {

void AppendSingleLine(std::string& out, std::string_view text) {
    for (const char c : text) out.push_back(c == '\r' || c == '\n' ? ' ' : c);
}

}  // namespace

std::string UserDataFileText(std::string_view locator, std::string_view dateTime,
                             const MeasList& list, char sep) {
    std::string text;
    text.reserve(40 + list.size() * 96);
    text.append("Locator: ");
    AppendSingleLine(text, locator);
    text.append("\r\nDateTime: ");
    AppendSingleLine(text, dateTime);
    text.append("\r\n");
    // Field order: three number columns, the tag, four number columns.
    const std::vector<double>* const head[] = {&list.MeasFreqMHz(), &list.MeasFieldDbuVm(),
                                               &list.MeasBandwidthHz()};
    const std::vector<double>* const tail[] = {&list.MeasGainDbi(), &list.MeasSUnits(),
                                               &list.MeasAntVoltDbuV(), &list.MeasAntPowerDbm()};
    for (std::size_t i = 0; i < list.size(); ++i) {
        for (const auto* column : head) {
            AppendGeneral(text, (*column)[i], sep);
            text.push_back(';');
        }
        text.append(list.MeasEntryUnit()[i]);
        for (const auto* column : tail) {
            text.push_back(';');
            AppendGeneral(text, (*column)[i], sep);
        }
        text.append("\r\n");
    }
    return text;
}

std::string SaveUserDataFile(const std::string& path, std::string_view locator,
                             std::string_view dateTime, const MeasList& list, char sep) {
    const std::string text = UserDataFileText(locator, dateTime, list, sep);
    return WriteFileAtomically(path, [&text](std::FILE* f) {
        return std::fwrite(text.data(), 1, text.size(), f) == text.size();
    });
}

namespace {

std::string_view Cut(std::string_view line, std::size_t skip, std::size_t take) {
    return skip < line.size() ? line.substr(skip, take) : std::string_view();
}

// Splits one data line into a row; false if it has fewer than eight fields or a number
// field does not parse.
bool ParseDataLine(std::string_view line, char sep, MeasRow& row) {
    std::string_view fields[8];
    const char* p = line.data();
    const char* const end = p + line.size();
    for (int k = 0; k < 8; ++k) {
        const char* start = p;
        while (p != end && *p != ';') ++p;
        fields[k] = std::string_view(start, static_cast<std::size_t>(p - start));
        if (p != end) {
            ++p;
        } else if (k < 7) {
            return false;
        }
    }
    double* const numbers[8] = {&row.freqMHz, &row.fieldDbuVm, &row.bandwidthHz, nullptr,
                                &row.gainDbi, &row.sUnits,     &row.antVoltDbuV, &row.antPowerDbm};
    for (int k = 0; k < 8; ++k)
        if (numbers[k] && !ParseRealText(fields[k], sep, *numbers[k])) return false;
    row.entryUnit.assign(fields[3]);
    return true;
}

// Takes the lines of a data file one by one (line break removed) and builds the result;
// the first faulty line ends the read.
class UserDataBuilder {
  public:
    explicit UserDataBuilder(char sep) : sep_(sep) {}

    // False once the read has failed; further lines are not wanted then.
    bool line(std::string_view text) {
        if (!text.empty() && text.back() == '\r') text.remove_suffix(1);
        ++lines_;
        if (lines_ == 1) {
            result_.locator = std::string(Cut(text, 9, 6));
        } else if (lines_ == 2) {
            result_.dateTime = std::string(Cut(text, 10, 16));
        } else {
            if (!ParseDataLine(text, sep_, row_)) failed_ = true;
            if (!failed_) result_.list.appendRow(row_);
        }
        return !failed_;
    }

    void reserve(std::size_t rows) { result_.list.reserve(rows); }

    UserDataLoad finish() {
        if (failed_ || lines_ < 2) return UserDataLoad{};
        result_.status = UserDataStatus::Ok;
        return std::move(result_);
    }

  private:
    char sep_;
    std::size_t lines_ = 0;
    bool failed_ = false;
    MeasRow row_;
    UserDataLoad result_;
};

std::size_t CountLineBreaks(std::string_view text) {
    std::size_t count = 0;
    for (const char *p = text.data(), *end = p + text.size();
         (p = static_cast<const char*>(std::memchr(p, '\n', end - p))) != nullptr; ++p)
        ++count;
    return count;
}

}  // namespace

// Lines end at LF. A final line break ends the last line rather than starting an empty
// one; an empty text is one empty line.
UserDataLoad ParseUserDataText(std::string_view text, char sep) {
    UserDataBuilder builder(sep);
    builder.reserve(CountLineBreaks(text));
    std::size_t pos = 0;
    do {
        const std::size_t lf = text.find('\n', pos);
        const std::size_t end = lf == std::string_view::npos ? text.size() : lf;
        if (!builder.line(text.substr(pos, end - pos))) break;
        pos = end + 1;
    } while (pos < text.size());
    return builder.finish();
}

// Reads in pieces, so that the whole file never needs to be in memory at once; the lines
// and their meaning are those of ParseUserDataText.
UserDataLoad LoadUserDataFile(const std::string& path, char sep) {
    UserDataLoad failed;
    const std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path.c_str(), "rb"),
                                                               &std::fclose);
    if (!file) {
        if (errno == ENOENT || errno == ENOTDIR) failed.status = UserDataStatus::FileMissing;
        return failed;
    }
    UserDataBuilder builder(sep);
    std::string partial;  // a line that runs on into the next piece
    bool any = false;
    bool ok = true;
    static constexpr std::size_t PieceSize = 1 << 16;
    const std::unique_ptr<char[]> piece(new char[PieceSize]);
    std::size_t got = 0;
    while (ok && (got = std::fread(piece.get(), 1, PieceSize, file.get())) > 0) {
        any = true;
        const std::string_view text(piece.get(), got);
        std::size_t pos = 0;
        for (std::size_t lf; ok && (lf = text.find('\n', pos)) != std::string_view::npos;
             pos = lf + 1) {
            if (partial.empty()) {
                ok = builder.line(text.substr(pos, lf - pos));
            } else {
                partial.append(text.substr(pos, lf - pos));
                ok = builder.line(partial);
                partial.clear();
            }
        }
        if (ok) partial.append(text.substr(pos));
    }
    if (std::ferror(file.get())) return failed;
    if (ok && (!partial.empty() || !any)) builder.line(partial);
    return builder.finish();
}

}  // namespace fw
