#include "user_data_file.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <memory>
#include <optional>

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

// Hands out the lines of a text: split at LF, a CR before the LF dropped. A final line
// break ends the last line rather than starting an empty one; an empty text is one empty
// line.
class LineReader {
  public:
    explicit LineReader(std::string_view text) : text_(text) {}

    std::optional<std::string_view> next() {
        if (pos_ > text_.size() || (pos_ == text_.size() && pos_ > 0)) return std::nullopt;
        const std::size_t lf = text_.find('\n', pos_);
        const std::size_t end = lf == std::string_view::npos ? text_.size() : lf;
        std::string_view line = text_.substr(pos_, end - pos_);
        pos_ = lf == std::string_view::npos ? text_.size() + 1 : lf + 1;
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        return line;
    }

  private:
    std::string_view text_;
    std::size_t pos_ = 0;
};

std::string_view Cut(std::string_view line, std::size_t skip, std::size_t take) {
    return skip < line.size() ? line.substr(skip, take) : std::string_view();
}

// Splits one data line into a row; no value if it has fewer than eight fields or a number
// field does not parse.
std::optional<MeasRow> ParseDataLine(std::string_view line, char sep) {
    std::string_view fields[8];
    std::size_t start = 0;
    for (int k = 0; k < 8; ++k) {
        if (start > line.size()) return std::nullopt;
        const std::size_t semi = line.find(';', start);
        const std::size_t end = semi == std::string_view::npos ? line.size() : semi;
        fields[k] = line.substr(start, end - start);
        start = end + 1;
    }
    double numbers[8];
    for (int k = 0; k < 8; ++k) {
        if (k == 3) continue;
        const auto v = ParseRealText(fields[k], sep);
        if (!v) return std::nullopt;
        numbers[k] = *v;
    }
    return MeasRow{numbers[0], numbers[1], numbers[2], std::string(fields[3]),
                   numbers[4], numbers[5], numbers[6], numbers[7]};
}

}  // namespace

UserDataLoad ParseUserDataText(std::string_view text, char sep) {
    UserDataLoad failed;
    LineReader lines(text);
    const auto locatorLine = lines.next();
    const auto dateLine = lines.next();
    if (!locatorLine || !dateLine) return failed;

    UserDataLoad result;
    result.locator = std::string(Cut(*locatorLine, 9, 6));
    result.dateTime = std::string(Cut(*dateLine, 10, 16));
    result.list.reserve(static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n')));
    while (const auto line = lines.next()) {
        auto row = ParseDataLine(*line, sep);
        if (!row) return failed;
        result.list.appendRow(std::move(*row));
    }
    result.status = UserDataStatus::Ok;
    return result;
}

UserDataLoad LoadUserDataFile(const std::string& path, char sep) {
    UserDataLoad failed;
    const std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path.c_str(), "rb"),
                                                               &std::fclose);
    if (!file) {
        if (errno == ENOENT || errno == ENOTDIR) failed.status = UserDataStatus::FileMissing;
        return failed;
    }
    std::string text;
    char chunk[1 << 16];
    std::size_t got = 0;
    while ((got = std::fread(chunk, 1, sizeof chunk, file.get())) > 0) text.append(chunk, got);
    if (std::ferror(file.get())) return failed;
    return ParseUserDataText(text, sep);
}

}  // namespace fw
