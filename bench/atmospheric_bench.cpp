// The redraw with both optional layers on (decile bands and atmospheric noise) beside the same
// redraw without them, which serves as the baseline: the ratio is the layers' cost.
#include <benchmark/benchmark.h>

#include <stdexcept>

#include "diagram/render.h"
#include "measure/station_atmosphere.h"
#include "model/noise_model.h"

namespace {

constexpr const char* Locator = "JO40CQ";
constexpr const char* DateTime = "2026-01-15 14:20";

fw::DiagramPicture Redraw(int w, int h, const fw::AtmosphericLayer* layer) {
    const fw::ReferenceCurves curves = fw::computeReferenceCurves(2700);
    fw::DiagramInputs in;
    in.width = w;
    in.height = h;
    in.curves = &curves;
    in.deciles = layer != nullptr;
    in.atmospheric = layer;
    return fw::renderDiagram(in);
}

fw::AtmosphericLayer MakeLayer(const fw::ItuCoefficientCache& cache) {
    const std::vector<double> grid =
        fw::makeLogGrid(fw::FreqGridCount, fw::FreqGridLowHz, fw::FreqGridHighHz);
    auto layer = fw::StationAtmosphericLayer(Locator, DateTime, grid, cache);
    if (!layer) throw std::runtime_error(layer.reason());
    return std::move(layer).value();
}

// The layer as the window keeps it between redraws: made when the locator or time changes.
void BM_RedrawLayers(benchmark::State& state) {
    const int w = static_cast<int>(state.range(0)), h = static_cast<int>(state.range(1));
    auto cache = fw::ItuCoefficientCache::InFolder(FW_ITU_DATA_DIR);
    const fw::AtmosphericLayer layer = MakeLayer(cache);
    for (auto _ : state) benchmark::DoNotOptimize(Redraw(w, h, &layer));
}

// Making the layer from coefficients already read, as after a change of locator or time.
void BM_AtmosphericLayer(benchmark::State& state) {
    auto cache = fw::ItuCoefficientCache::InFolder(FW_ITU_DATA_DIR);
    MakeLayer(cache);
    for (auto _ : state) benchmark::DoNotOptimize(MakeLayer(cache));
}
BENCHMARK(BM_AtmosphericLayer)->Unit(benchmark::kMicrosecond);

// The same redraw without layers.
void BM_RedrawLayers_Baseline(benchmark::State& state) {
    const int w = static_cast<int>(state.range(0)), h = static_cast<int>(state.range(1));
    for (auto _ : state) benchmark::DoNotOptimize(Redraw(w, h, nullptr));
}

// Reading one month's coefficient file, as the first redraw of a month does.
void BM_LoadCoefficientFile(benchmark::State& state) {
    const std::string path = std::string(FW_ITU_DATA_DIR) + "COEFF01W.txt";
    for (auto _ : state) benchmark::DoNotOptimize(fw::LoadItuCoefficients(path));
}
BENCHMARK(BM_LoadCoefficientFile)->Unit(benchmark::kMicrosecond);

#define FW_LAYER_SIZES \
    ->Args({537, 497})->Args({1920, 1080})->Args({3840, 2160})->Unit(benchmark::kMicrosecond)
BENCHMARK(BM_RedrawLayers) FW_LAYER_SIZES;
BENCHMARK(BM_RedrawLayers_Baseline) FW_LAYER_SIZES;

}  // namespace
