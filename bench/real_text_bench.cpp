// Reading the numbers of a USER data file of 100,000 rows: the program's own parser
// (ParseRealPrefix) as the baseline beside a parser of the same grammar built on
// std::from_chars. The counters give from_chars' time over the baseline's ("x_parse") and
// what the whole load would take with it over what it takes now ("x_load").
#include <benchmark/benchmark.h>

#include <cctype>
#include <charconv>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "libs/real_text.h"
#include "measure/user_data_file.h"
#include "model/levels.h"

namespace {

constexpr std::size_t Rows = 100'000;

std::string UserFile() {
    static const std::string path = [] {
        fw::MeasList list;
        for (std::size_t i = 0; i < Rows; ++i) {
            const auto& band = fw::BandTable[(i * 7) % fw::BandTable.size()];
            const auto& sv = fw::SValueTable[(i * 5) % fw::SValueTable.size()];
            const fw::MeasurementLevels m =
                fw::LevelsFromSValue(sv.sUnits, band.frequencyMHz, static_cast<double>(i % 7) * 0.75);
            list.appendRow(fw::MeasRow{band.frequencyMHz, m.FieldDbuVm, 2700, "S-Val", m.GainDbi,
                                       m.SUnits, m.AntVoltDbuV, m.AntPowerDbm});
        }
        const std::string p =
            (std::filesystem::temp_directory_path() / "fw-real-text-bench.txt").string();
        fw::SaveUserDataFile(p, "JO40CQ", "2026-12-06 08:05", list, ',');
        return p;
    }();
    return path;
}

// The ';'-separated fields of the file's data lines (those that begin with a digit).
std::vector<std::string> Fields() {
    std::ifstream in(UserFile());
    std::vector<std::string> fields;
    for (std::string line; std::getline(in, line);) {
        if (line.empty() || !std::isdigit(static_cast<unsigned char>(line[0]))) continue;
        for (std::size_t at = 0, end; at <= line.size(); at = end + 1) {
            end = std::min(line.find(';', at), line.size());
            fields.push_back(line.substr(at, end - at));
        }
    }
    return fields;
}

// The same grammar on from_chars: blanks, a sign, digits with the separator `sep`, an
// exponent; the number is copied with a point for from_chars, which reads no other.
const char* FromCharsPrefix(const char* first, const char* last, char sep, double& out) {
    while (first != last && *first == ' ') ++first;
    char buf[64];
    std::size_t n = 0;
    const char* p = first;
    if (p != last && (*p == '+' || *p == '-')) {
        if (*p == '-') buf[n++] = '-';
        ++p;
    }
    if (p == last || !(std::isdigit(static_cast<unsigned char>(*p)) || *p == sep)) return nullptr;
    for (; p != last && n < sizeof buf; ++p) {
        const char c = *p;
        if (std::isdigit(static_cast<unsigned char>(c)) || c == 'e' || c == 'E' ||
            ((c == '+' || c == '-') && (buf[n - 1] == 'e' || buf[n - 1] == 'E')))
            buf[n++] = c;
        else if (c == sep)
            buf[n++] = '.';
        else
            break;
    }
    double value = 0;
    const auto r = std::from_chars(buf, buf + n, value);
    if (r.ec != std::errc() || r.ptr != buf + n) return nullptr;
    while (p != last && *p == ' ') ++p;
    out = value;
    return p;
}

double CpuSeconds() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

template <typename Parse>
double ParseAll(const std::vector<std::string>& fields, Parse parse) {
    double sum = 0;
    for (const std::string& f : fields) {
        double v = 0;
        if (parse(f.data(), f.data() + f.size(), ',', v)) sum += v;
    }
    return sum;
}

void BM_UserFileNumbers(benchmark::State& state) {
    const std::vector<std::string> fields = Fields();
    double hand = 0, fromChars = 0, load = 0;
    for (auto _ : state) {
        double t0 = CpuSeconds();
        benchmark::DoNotOptimize(ParseAll(fields, fw::ParseRealPrefix));
        hand += CpuSeconds() - t0;
        t0 = CpuSeconds();
        benchmark::DoNotOptimize(ParseAll(fields, FromCharsPrefix));
        fromChars += CpuSeconds() - t0;
        t0 = CpuSeconds();
        const fw::UserDataLoad r = fw::LoadUserDataFile(UserFile(), ',');
        load += CpuSeconds() - t0;
        if (r.list.size() != Rows) state.SkipWithError("the file did not load");
    }
    state.counters["x_parse"] = hand > 0 ? fromChars / hand : 0;
    state.counters["x_load"] = load > 0 ? (load - hand + fromChars) / load : 0;
}

}  // namespace

BENCHMARK(BM_UserFileNumbers)->Unit(benchmark::kMillisecond);
