// The redraw that runs on every keystroke, scroll step and resize step: reference curves
// plus the whole diagram, beside a baseline that only allocates and clears a picture.
#include <benchmark/benchmark.h>

#include "model/noise_model.h"
#include "diagram/picture.h"
#include "diagram/render.h"

namespace {

void BM_ComputeReferenceCurves(benchmark::State& state) {
    for (auto _ : state) benchmark::DoNotOptimize(fw::computeReferenceCurves(2700));
}
BENCHMARK(BM_ComputeReferenceCurves)->Unit(benchmark::kMicrosecond);

void BM_Redraw(benchmark::State& state) {
    const int w = static_cast<int>(state.range(0)), h = static_cast<int>(state.range(1));
    for (auto _ : state) {
        const fw::ReferenceCurves curves = fw::computeReferenceCurves(2700);
        fw::DiagramInputs in;
        in.width = w;
        in.height = h;
        in.curves = &curves;
        benchmark::DoNotOptimize(fw::renderDiagram(in));
    }
}

void BM_Redraw_Baseline(benchmark::State& state) {
    const int w = static_cast<int>(state.range(0)), h = static_cast<int>(state.range(1));
    for (auto _ : state) benchmark::DoNotOptimize(fw::DiagramPicture(w, h));
}

#define FW_REDRAW_SIZES \
    ->Args({537, 497})->Args({1920, 1080})->Args({3840, 2160})->Unit(benchmark::kMicrosecond)
BENCHMARK(BM_Redraw) FW_REDRAW_SIZES;
BENCHMARK(BM_Redraw_Baseline) FW_REDRAW_SIZES;

}  // namespace
