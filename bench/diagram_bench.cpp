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

// A redraw on a screen of device pixel ratio 2 (logical size given): the window draws only
// the device-pixel picture; the baseline also draws the logical one, as every redraw did
// before that was made only when saving, copying or printing.
fw::DiagramInputs HiDpiInputs(const benchmark::State& state, const fw::ReferenceCurves& curves) {
    fw::DiagramInputs in;
    in.width = static_cast<int>(state.range(0));
    in.height = static_cast<int>(state.range(1));
    in.curves = &curves;
    return in;
}

void BM_RedrawHiDpi(benchmark::State& state) {
    for (auto _ : state) {
        const fw::ReferenceCurves curves = fw::computeReferenceCurves(2700);
        benchmark::DoNotOptimize(fw::renderDiagramAt(HiDpiInputs(state, curves), 2.0));
    }
}

void BM_RedrawHiDpi_Baseline(benchmark::State& state) {
    for (auto _ : state) {
        const fw::ReferenceCurves curves = fw::computeReferenceCurves(2700);
        const fw::DiagramInputs in = HiDpiInputs(state, curves);
        benchmark::DoNotOptimize(fw::renderDiagramAt(in, 2.0));
        benchmark::DoNotOptimize(fw::renderDiagram(in));
    }
}

#define FW_HIDPI_SIZES ->Args({537, 497})->Args({1920, 1080})->Unit(benchmark::kMicrosecond)
BENCHMARK(BM_RedrawHiDpi) FW_HIDPI_SIZES;
BENCHMARK(BM_RedrawHiDpi_Baseline) FW_HIDPI_SIZES;

}  // namespace
