// The printed report: building the page, drawing the preview at a zoom, writing the PDF.
#include <benchmark/benchmark.h>

#include <QDir>
#include <QImage>

#include "gui_app.h"
#include "measure/meas_list.h"
#include "output/preview_zoom.h"
#include "output/report_page.h"
#include "output/qt/report_render.h"

namespace {

using fw::bench::EnsureGuiApp;

fw::MeasList Rows(int n) {
    fw::MeasList list;
    for (int i = 0; i < n; ++i)
        list.appendRow({1.0 + i, 13.3, 2700, "S-Val", 2.15, 9, 33.98, -73.01});
    return list;
}

const fw::NoiseReportTexts Texts{"06.12.26", "v 1.0", "(c) 2026 The Floorwatch authors", '.'};

QImage Picture() {
    QImage image(537, 497, QImage::Format_RGB888);
    image.fill(Qt::darkCyan);
    return image;
}

void BuildPage(benchmark::State& state) {
    EnsureGuiApp();
    const fw::MeasList list = Rows(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        const fw::ReportDocument report =
            fw::BuildNoiseReport(537, 497, list, Texts, fw::ReportTextWidthMm);
        benchmark::DoNotOptimize(report.pages.data());
    }
}
BENCHMARK(BuildPage)->Arg(0)->Arg(20)->Arg(1000);

// One preview redraw, as every zoom step and activation does it.
void PreviewAtZoom(benchmark::State& state) {
    EnsureGuiApp();
    const fw::ReportDocument report =
        fw::BuildNoiseReport(537, 497, Rows(13), Texts, fw::ReportTextWidthMm);
    const QImage picture = Picture();
    const int zoom = static_cast<int>(state.range(0));
    for (auto _ : state) {
        const QImage image =
            fw::RenderReportImage(report.pages.front(), picture, fw::PreviewDpi(zoom));
        benchmark::DoNotOptimize(image.constBits());
    }
}
BENCHMARK(PreviewAtZoom)
    ->Arg(fw::MinPreviewZoom)
    ->Arg(70)
    ->Arg(100)
    ->Arg(fw::MaxPreviewZoom)
    ->Unit(benchmark::kMillisecond);

void WritePdf(benchmark::State& state) {
    EnsureGuiApp();
    const fw::ReportDocument report = fw::BuildNoiseReport(
        537, 497, Rows(static_cast<int>(state.range(0))), Texts, fw::ReportTextWidthMm);
    const QImage picture = Picture();
    const std::string path = QDir::tempPath().toStdString() + "/floorwatch_bench_report.pdf";
    for (auto _ : state) {
        const std::string error = fw::WriteReportPdf(report, picture, path);
        if (!error.empty()) state.SkipWithError(error.c_str());
    }
    QFile::remove(QString::fromStdString(path));
}
// One page and a 23-page report of 1000 rows.
BENCHMARK(WritePdf)->Arg(13)->Arg(1000)->Unit(benchmark::kMillisecond);

// Writing the same PDF's bytes, drawn beforehand: the ratio is the cost of drawing the pages.
void WritePdf_Baseline(benchmark::State& state) {
    EnsureGuiApp();
    const fw::ReportDocument report = fw::BuildNoiseReport(
        537, 497, Rows(static_cast<int>(state.range(0))), Texts, fw::ReportTextWidthMm);
    const QByteArray pdf = fw::ReportPdfBytes(report, Picture());
    const std::string path = QDir::tempPath().toStdString() + "/floorwatch_bench_report.pdf";
    for (auto _ : state) {
        const std::string error = fw::SaveReportPdf(
            std::string_view(pdf.constData(), static_cast<std::size_t>(pdf.size())), path);
        if (!error.empty()) state.SkipWithError(error.c_str());
    }
    QFile::remove(QString::fromStdString(path));
}
BENCHMARK(WritePdf_Baseline)->Arg(13)->Arg(1000)->Unit(benchmark::kMillisecond);

}  // namespace
