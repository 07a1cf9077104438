#include "measure/user_data_file.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <new>

#include "libs/atomic_file.h"
#include "libs/real_text.h"

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

std::string WriteUserDataFile(const std::string& path, std::string_view locator,
                              std::string_view dateTime, const MeasList& list, char sep) {
    const std::string text = UserDataFileText(locator, dateTime, list, sep);
    return WriteFileAtomically(path, [&text](std::FILE* f) {
        return std::fwrite(text.data(), 1, text.size(), f) == text.size();
    });
}

std::optional<Message> SaveUserDataFile(const std::string& path, std::string_view locator,
                                        std::string_view dateTime, const MeasList& list, char sep) {
    const std::string error = WriteUserDataFile(path, locator, dateTime, list, sep);
    if (error.empty()) return std::nullopt;
    return Message{MessageKind::Error, SaveFailedText(path, error)};
}

std::string LoadFailureDetail(const UserDataLoad& load) {
    if (load.failedLine == 0) return {};
    std::string detail = "Line " + std::to_string(load.failedLine);
    if (load.failedField == 0) return detail + " is missing.";
    if (load.failedField < 0)
        return detail + " ends before field " + std::to_string(-load.failedField) + ".";
    return detail + ", field " + std::to_string(load.failedField) +
           ": no number (with a point or a comma as decimal separator).";
}

std::vector<Message> LoadFailureMessages(const UserDataLoad& load, std::string_view path) {
    std::vector<Message> messages;
    if (load.status == UserDataStatus::Ok) return messages;
    if (load.status == UserDataStatus::FileMissing)
        messages.push_back({MessageKind::Error, MissingFileText(path)});
    std::string warning = LoadFailedMessage;
    if (const std::string detail = LoadFailureDetail(load); !detail.empty())
        warning += "\n" + detail;
    messages.push_back({MessageKind::Warning, std::move(warning)});
    return messages;
}

namespace {

std::string_view Cut(std::string_view line, std::size_t skip, std::size_t take) {
    return skip < line.size() ? line.substr(skip, take) : std::string_view();
}

// Reads one data line into a row, each number straight from the line, written with `sep` or
// else with the other separator. Returns 0; or the number (1 to 8) of the first field that is
// no number, negative where the line ends before that field.
int ParseDataLine(std::string_view line, char sep, MeasRow& row) {
    const char other = sep == ',' ? '.' : ',';
    const char* p = line.data();
    const char* const end = p + line.size();
    int field = 0;
    // A number field ends at its ";"; only the eighth may also end the line, else the next
    // field is the one missing.
    const auto number = [&](double& out) {
        ++field;
        const auto fits = [&](const char* stop) {
            return stop != nullptr && (stop == end || *stop == ';');
        };
        const char* stop = ParseRealPrefix(p, end, sep, out);
        if (!fits(stop)) stop = ParseRealPrefix(p, end, other, out);
        if (!fits(stop)) return false;
        if (stop == end && field != 8) {
            field = -(field + 1);
            return false;
        }
        p = stop == end ? end : stop + 1;
        return true;
    };
    if (!number(row.freqMHz) || !number(row.fieldDbuVm) || !number(row.bandwidthHz))
        return field;
    ++field;
    const char* const tagEnd = std::find(p, end, ';');  // short: a plain loop beats memchr
    if (tagEnd == end) return -(field + 1);  // the tag ends the line: the gain is missing
    row.entryUnit.assign(p, tagEnd);
    p = tagEnd + 1;
    if (!number(row.gainDbi) || !number(row.sUnits) || !number(row.antVoltDbuV) ||
        !number(row.antPowerDbm))
        return field;
    return 0;
}

// The line that starts at `pos`, without its LF and a CR before it; `pos` moves past the LF
// (or past the end of the text for a last line without one).
std::string_view TakeLine(std::string_view text, std::size_t& pos) {
    const std::size_t lf = std::min(text.find('\n', pos), text.size());
    std::string_view line = text.substr(pos, lf - pos);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    pos = lf + 1;
    return line;
}

// Room for the rows of a text: one per line break, but no more than its size allows, so a
// text of empty lines does not reserve a large list it will never fill.
std::size_t RowCapacity(std::string_view text) {
    constexpr std::size_t ShortestDataLine = 15;  // "0;0;0;;0;0;0;0" and its line break
    std::size_t breaks = 0;
    for (const char *p = text.data(), *end = p + text.size();
         (p = static_cast<const char*>(std::memchr(p, '\n', end - p))) != nullptr; ++p)
        ++breaks;
    return std::min(breaks, text.size() / ShortestDataLine);
}

// The whole content of an open file, at most `limit` bytes. Its size on disk is only a first
// guess, so a file that changes meanwhile is still read to its end. False when reading fails
// or the content runs past the limit.
bool ReadWholeFile(std::FILE* file, std::size_t sizeGuess, std::size_t limit,
                   std::unique_ptr<char[]>& data, std::size_t& size) {
    // One byte more than wanted: the end shows as a short read, content past the limit as a
    // full one.
    std::size_t capacity = std::min(sizeGuess, limit) + 1;
    data = std::make_unique_for_overwrite<char[]>(capacity);
    size = 0;
    for (;;) {
        size += std::fread(data.get() + size, 1, capacity - size, file);
        if (size < capacity) return !std::ferror(file);
        if (size > limit) return false;
        const std::size_t larger = std::min(capacity * 2, limit + 1);
        auto grown = std::make_unique_for_overwrite<char[]>(larger);
        std::memcpy(grown.get(), data.get(), size);
        data = std::move(grown);
        capacity = larger;
    }
}

}  // namespace

// Lines end at LF. A final line break ends the last line rather than starting an empty
// one; an empty text is one empty line.
UserDataLoad ParseUserDataText(std::string_view text, char sep) {
    std::size_t pos = 0;
    const std::string_view locatorLine = TakeLine(text, pos);
    if (pos >= text.size()) {  // no second line
        UserDataLoad failed;
        failed.failedLine = 2;
        return failed;
    }
    const std::string_view dateTimeLine = TakeLine(text, pos);

    UserDataLoad result;
    result.list.reserve(RowCapacity(text));
    MeasRow row;
    for (std::size_t lineNumber = 3; pos < text.size(); ++lineNumber) {
        if (const int field = ParseDataLine(TakeLine(text, pos), sep, row); field != 0) {
            UserDataLoad failed;
            failed.failedLine = lineNumber;
            failed.failedField = field;
            return failed;
        }
        result.list.appendRow(row);
    }
    result.locator = Cut(locatorLine, 9, 6);
    result.dateTime = Cut(dateTimeLine, 10, 16);
    result.status = UserDataStatus::Ok;
    return result;
}

// The file is read whole and then parsed as its text.
UserDataLoad LoadUserDataFile(const std::string& path, char sep, std::size_t sizeLimit) {
    UserDataLoad failed;
    const std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path.c_str(), "rb"),
                                                               &std::fclose);
    if (!file) {
        if (errno == ENOENT || errno == ENOTDIR) failed.status = UserDataStatus::FileMissing;
        return failed;
    }
    std::error_code ec;
    const std::uintmax_t sizeOnDisk = std::filesystem::file_size(path, ec);
    if (!ec && sizeOnDisk > sizeLimit) return failed;
    try {
        std::unique_ptr<char[]> data;
        std::size_t size = 0;
        if (!ReadWholeFile(file.get(), ec ? 0 : static_cast<std::size_t>(sizeOnDisk), sizeLimit,
                           data, size))
            return failed;
        return ParseUserDataText(std::string_view(data.get(), size), sep);
    } catch (const std::bad_alloc&) {
        return failed;  // a file too large for memory cannot be a list to show
    }
}

}  // namespace fw
