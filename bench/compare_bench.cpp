// The before/after comparison of two spans of 200,000 hourly values each (about 23 years of
// hours): the shift with its interval by selection, and the rank test. Beside the baseline
// of sorting one span, which the comparison cannot do without.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <vector>

#include "stats/span_comparison.h"

namespace {

// Hourly Fa values in dB with a daily course and scatter, to 0.01 dB as meters give them,
// so that ties occur.
std::vector<double> HourlyFa(std::size_t n, double level, unsigned seed) {
    std::mt19937 random(seed);
    std::normal_distribution<double> scatter(0, 4);
    std::vector<double> v(n);
    for (std::size_t i = 0; i < n; ++i)
        v[i] = std::round((level + 6 * std::sin(static_cast<double>(i % 24) * 0.2618) +
                           scatter(random)) * 100) / 100;
    return v;
}

void BM_CompareSpans(benchmark::State& state) {
    const auto n = static_cast<std::size_t>(state.range(0));
    const std::vector<double> before = HourlyFa(n, 40, 1);
    const std::vector<double> after = HourlyFa(n, 49, 2);
    for (auto _ : state) {
        const fw::BandComparison c = fw::CompareBand({"40m", 7.1}, before, after);
        benchmark::DoNotOptimize(c.shift->shift);
    }
}
BENCHMARK(BM_CompareSpans)->Arg(200'000)->Unit(benchmark::kMillisecond);

void BM_CompareSpans_Baseline(benchmark::State& state) {
    const auto n = static_cast<std::size_t>(state.range(0));
    const std::vector<double> before = HourlyFa(n, 40, 1);
    for (auto _ : state) {
        std::vector<double> sorted = before;
        std::sort(sorted.begin(), sorted.end());
        benchmark::DoNotOptimize(sorted.data());
    }
}
BENCHMARK(BM_CompareSpans_Baseline)->Arg(200'000)->Unit(benchmark::kMillisecond);

}  // namespace
