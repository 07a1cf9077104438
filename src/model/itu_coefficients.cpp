#include "model/itu_coefficients.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <span>

#include "libs/sha256.h"
#include "libs/shown_name.h"
#include "libs/unique_fd.h"

namespace fw {

namespace {

// No coefficient file comes near this; a larger one is not read into memory.
constexpr std::size_t MaxFileBytes = 4u << 20;

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

constexpr std::string_view CoefficientFile = "The ITU-R P.372 coefficient file";

std::string Named(std::string_view what, std::string_view path) {
    return std::string(what) + " \"" + ShownFileName(path) + "\"";
}

std::string FileText(std::string_view fileName) {
    return Named(CoefficientFile, fileName);
}

std::string_view BaseName(std::string_view path) {
    const auto slash = path.rfind('/');
    return slash == std::string_view::npos ? path : path.substr(slash + 1);
}

bool IsHexDigits(std::string_view s) {
    return s.find_first_not_of("0123456789abcdefABCDEF") == std::string_view::npos;
}

// Position just after the line that reads exactly `header` (trailing blanks allowed), or npos.
std::size_t AfterHeaderLine(std::string_view text, std::string_view header) {
    for (std::size_t at = text.find(header); at != std::string_view::npos;
         at = text.find(header, at + 1)) {
        if (at != 0 && text[at - 1] != '\n') continue;
        std::size_t end = at + header.size();
        while (end < text.size() && (text[end] == ' ' || text[end] == '\t' || text[end] == '\r'))
            ++end;
        if (end == text.size()) return end;
        if (text[end] == '\n') return end + 1;
    }
    return std::string_view::npos;
}

// Fills `values` with the numbers that follow the header line; an empty text means success.
std::string ReadArray(std::string_view text, std::string_view header, std::span<double> values) {
    std::size_t pos = AfterHeaderLine(text, header);
    if (pos == std::string_view::npos) return "no array " + std::string(header);
    std::size_t count = 0;
    while (count < values.size()) {
        while (pos < text.size() && IsBlank(text[pos])) ++pos;
        if (pos == text.size()) break;
        std::size_t end = pos;
        while (end < text.size() && !IsBlank(text[end])) ++end;
        const char* first = text.data() + pos;
        const char* last = text.data() + end;
        double v = 0;
        const auto res = std::from_chars(first, last, v);
        if (res.ec != std::errc() || res.ptr != last || !std::isfinite(v))
            return "array " + std::string(header) + " holds \"" + std::string(first, last) +
                   "\" after " + std::to_string(count) + " values, which is no number";
        values[count++] = v;
        pos = end;
    }
    if (count < values.size())
        return "array " + std::string(header) + " ends after " + std::to_string(count) + " of " +
               std::to_string(values.size()) + " values";
    // A value split in two (a blank or tab inside a number) would shift the rest by one:
    // what follows the last value must be the next array's header, not another number.
    while (pos < text.size() && IsBlank(text[pos])) ++pos;
    std::size_t end = pos;
    while (end < text.size() && !IsBlank(text[end])) ++end;
    double extra = 0;
    const auto res = std::from_chars(text.data() + pos, text.data() + end, extra);
    if (pos < text.size() && res.ec == std::errc() && res.ptr == text.data() + end)
        return "array " + std::string(header) + " holds more than its " +
               std::to_string(values.size()) + " values";
    return {};
}

}  // namespace

std::string ItuCoefficientFileName(int month) {
    char name[16];
    std::snprintf(name, sizeof name, "COEFF%02dW.txt", month);
    return name;
}

Outcome<ItuNoiseCoefficients> ParseItuCoefficients(std::string_view text,
                                                   std::string_view fileName) {
    ItuNoiseCoefficients c;
    const struct {
        std::string_view header;
        std::span<double> values;
    } arrays[] = {
        {"fakp(29,16,6)", c.p},
        {"fakabp(2,6)", c.ab},
        {"dud(5,12,5)", c.d},
        {"fam(14,12)", c.f},
    };
    for (const auto& a : arrays) {
        const std::string failure = ReadArray(text, a.header, a.values);
        if (!failure.empty())
            return Outcome<ItuNoiseCoefficients>::Fail(FileText(fileName) +
                                                       " is damaged: " + failure + ".");
    }
    return Outcome<ItuNoiseCoefficients>::Ok(c);
}

Outcome<ChecksumList> ParseChecksumList(std::string_view text, std::string_view listPath) {
    ChecksumList sums;
    int lineNumber = 0;
    for (std::size_t start = 0; start < text.size();) {
        const std::size_t end = std::min(text.find('\n', start), text.size());
        std::string_view line = text.substr(start, end - start);
        start = end + 1;
        ++lineNumber;
        if (line.ends_with('\r')) line.remove_suffix(1);
        if (line.empty()) continue;
        // "<sum>  <name>", or "<sum> *<name>" for a sum taken in binary mode.
        const std::string_view name = line.size() > 66 ? line.substr(66) : std::string_view();
        if (line.size() <= 66 || !IsHexDigits(line.substr(0, 64)) || line[64] != ' ' ||
            (line[65] != ' ' && line[65] != '*'))
            return Outcome<ChecksumList>::Fail(Named("The list of SHA-256 sums", listPath) +
                                               " is damaged: line " + std::to_string(lineNumber) +
                                               " is no sum and file name.");
        std::string sum(line.substr(0, 64));
        for (char& c : sum) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        sums[std::string(name)] = std::move(sum);
    }
    return Outcome<ChecksumList>::Ok(std::move(sums));
}

Outcome<std::string> ReadDataFile(const std::string& path, std::string_view what) {
    using Result = Outcome<std::string>;
    // Opened without waiting, so that a pipe with no writer cannot hang the program; only a
    // regular file is then read.
    const UniqueFd fd(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    if (!fd.valid()) {
        if (errno == ENOENT) return Result::Fail(Named(what, path) + " was not found.");
        return Result::Fail(Named(what, path) + " could not be opened: " + std::strerror(errno) +
                            ".");
    }
    struct stat st {};
    if (::fstat(fd.get(), &st) != 0)
        return Result::Fail(Named(what, path) + " could not be read: " + std::strerror(errno) +
                            ".");
    if (!S_ISREG(st.st_mode))
        return Result::Fail(Named(what, path) +
                            " is no regular file (a folder, pipe or device) and is not read.");
    std::string text;
    char buffer[65536];
    while (true) {
        const ssize_t n = ::read(fd.get(), buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0)
            return Result::Fail(Named(what, path) + " could not be read: " + std::strerror(errno) +
                                ".");
        if (n == 0) break;
        text.append(buffer, static_cast<std::size_t>(n));
        if (text.size() > MaxFileBytes)
            return Result::Fail(Named(what, path) + " is damaged: it is far too large.");
    }
    return Result::Ok(std::move(text));
}

Outcome<ItuNoiseCoefficients> LoadItuCoefficients(const std::string& path,
                                                  const ChecksumList* sums) {
    using Result = Outcome<ItuNoiseCoefficients>;
    Outcome<std::string> text = ReadDataFile(path, CoefficientFile);
    if (!text) return Result::Fail(text.reason());
    if (sums) {
        const auto listed = sums->find(BaseName(path));
        if (listed == sums->end() || listed->second != Sha256Hex(text.value()))
            return Result::Fail(FileText(path) +
                                " is damaged or changed: its SHA-256 sum is not "
                                "the one in the folder's list " +
                                std::string(ItuChecksumListName) + ".");
    }
    return ParseItuCoefficients(text.value(), path);
}

std::string ImplausibleFiguresText(std::string_view path, std::string_view what) {
    return FileText(path) + " is damaged: it gives " + std::string(what) +
           ", which no atmospheric noise comes near.";
}

}  // namespace fw
