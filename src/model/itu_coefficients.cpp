#include "model/itu_coefficients.h"

#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <memory>
#include <span>

namespace fw {

namespace {

// No coefficient file comes near this; a larger one is not read into memory.
constexpr std::size_t MaxFileBytes = 4u << 20;

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

std::string FileText(std::string_view fileName) {
    return "The ITU-R P.372 coefficient file \"" + std::string(fileName) + "\"";
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
    return {};
}

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};

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

Outcome<ItuNoiseCoefficients> LoadItuCoefficients(const std::string& path) {
    using Result = Outcome<ItuNoiseCoefficients>;
    errno = 0;
    const std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "rb"));
    if (!file) {
        if (errno == ENOENT) return Result::Fail(FileText(path) + " was not found.");
        return Result::Fail(FileText(path) + " could not be opened.");
    }
    std::string text;
    char buffer[65536];
    while (true) {
        const std::size_t n = std::fread(buffer, 1, sizeof buffer, file.get());
        text.append(buffer, n);
        if (text.size() > MaxFileBytes)
            return Result::Fail(FileText(path) + " is damaged: it is far too large.");
        if (n < sizeof buffer) break;
    }
    if (std::ferror(file.get())) return Result::Fail(FileText(path) + " could not be read.");
    return ParseItuCoefficients(text, path);
}

}  // namespace fw
