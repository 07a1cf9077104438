// The campaign report of a year of 13 bands every 10 minutes (683,280 readings), from the log
// to the PDF file with the functions `log report` and the window use: its time, the most
// memory it adds to the process (counter "peak_MB") and the PDF's size ("pdf_MB"). Beside
// the baseline that reads the same readings once, plainly, with the memory that takes. The
// log is written once, before either runs.
#include <benchmark/benchmark.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <algorithm>
#include <string>
#include <vector>

#include "bench_log.h"
#include "campaign/campaign_report.h"
#include "gui_app.h"
#include "info/identity.h"
#include "measure/itu_coefficient_cache.h"
#include "output/qt/qimage_picture.h"
#include "output/qt/report_render.h"
#include "peak_memory.h"

namespace {

constexpr std::int64_t YearReadings = 13LL * 144 * 365;

const std::string& YearLog() {
    static const fw::bench::BenchLog log(YearReadings, "campaign-year");
    return log.path();
}

// Runs `work(state, log)` once per iteration on the log opened anew and reports the most
// memory it added.
template <typename Work>
void WithPeak(benchmark::State& state, Work work) {
    fw::bench::EnsureGuiApp();
    const std::string& path = YearLog();
    fw::bench::PeakMemory peak;
    double peakMb = 0;
    for (auto _ : state) {
        state.PauseTiming();
        peak.reset();
        state.ResumeTiming();
        fw::StationLog log = fw::StationLog::Open(path, fw::StationLog::OpenMode::ReadOnly);
        work(state, log);
        peakMb = std::max(peakMb, peak.addedMb());
    }
    state.counters["peak_MB"] = peakMb;
    state.counters["readings"] = static_cast<double>(YearReadings);
}

void BM_CampaignReportYear(benchmark::State& state) {
    const auto coefficients = fw::ItuCoefficientCache::SharedInFolder(FW_ITU_DATA_DIR);
    const std::string pdf = QDir::tempPath().toStdString() + "/floorwatch_bench_campaign.pdf";
    WithPeak(state, [&](benchmark::State& s, fw::StationLog& log) {
        const fw::NoiseReportTexts texts = fw::SystemReportTexts(
            std::string(fw::ProgramVersionText), std::string(fw::ProgramCopyrightText));
        const fw::CampaignBuild build =
            fw::BuildCampaignReport(log, {}, texts, fw::ReportTextWidthMm, *coefficients);
        if (!build.report) return s.SkipWithError(build.reason.c_str());
        std::vector<QImage> pictures;
        for (const fw::DiagramPicture& p : build.report->pictures)
            pictures.push_back(fw::PictureToQImage(p));
        const std::string error = fw::WriteReportPdf(build.report->document, pictures, pdf);
        if (!error.empty()) s.SkipWithError(error.c_str());
    });
    state.counters["pdf_MB"] = static_cast<double>(QFileInfo(QString::fromStdString(pdf)).size()) /
                               (1024.0 * 1024.0);
    QFile::remove(QString::fromStdString(pdf));
}
BENCHMARK(BM_CampaignReportYear)->Unit(benchmark::kSecond)->Iterations(1);

// The readings the report is made of, read once.
void BM_CampaignReportYear_Baseline(benchmark::State& state) {
    WithPeak(state, [](benchmark::State&, fw::StationLog& log) {
        fw::SqliteStatement s(log.database(),
                              "SELECT utc, band, freq_mhz, bandwidth_hz, field_dbuvm FROM readings");
        double sum = 0;
        while (s.step())
            sum += static_cast<double>(s.integer(0)) + static_cast<double>(s.text(1).size()) +
                   s.real(2) + s.real(3) + s.real(4);
        benchmark::DoNotOptimize(sum);
    });
}
BENCHMARK(BM_CampaignReportYear_Baseline)->Unit(benchmark::kSecond)->Iterations(1);

}  // namespace
