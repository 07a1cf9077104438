// Encoding the rendered diagram in each picture-file format.
#include <benchmark/benchmark.h>

#include "model/noise_model.h"
#include "output/picture_files.h"
#include "diagram/render.h"

namespace {

fw::DiagramPicture RenderedDiagram(int width, int height) {
    static const fw::ReferenceCurves curves = fw::computeReferenceCurves(2700);
    fw::DiagramInputs in;
    in.width = width;
    in.height = height;
    in.curves = &curves;
    return fw::renderDiagram(in);
}

void EncodeDiagram(benchmark::State& state, fw::PictureFormat format) {
    const fw::DiagramPicture picture =
        RenderedDiagram(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
    std::size_t size = 0;
    for (auto _ : state) {
        const fw::EncodedPicture encoded = fw::EncodePicture(picture, format);
        if (!encoded.ok()) state.SkipWithError(encoded.error.c_str());
        size = encoded.bytes.size();
        benchmark::DoNotOptimize(encoded.bytes.data());
    }
    state.counters["bytes"] = static_cast<double>(size);
}

void BM_EncodeBmp(benchmark::State& s) {
    EncodeDiagram(s, fw::PictureFormat::Bmp);
}
void BM_EncodePng(benchmark::State& s) {
    EncodeDiagram(s, fw::PictureFormat::Png);
}
void BM_EncodeJpeg(benchmark::State& s) {
    EncodeDiagram(s, fw::PictureFormat::Jpeg);
}

// The design size and a full-screen window.
BENCHMARK(BM_EncodeBmp)->Args({537, 497})->Args({1920, 1080})->Unit(benchmark::kMillisecond);
BENCHMARK(BM_EncodePng)->Args({537, 497})->Args({1920, 1080})->Unit(benchmark::kMillisecond);
BENCHMARK(BM_EncodeJpeg)->Args({537, 497})->Args({1920, 1080})->Unit(benchmark::kMillisecond);

}  // namespace
