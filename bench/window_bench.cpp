// A scroll-bar step in the real main window with 100,000 measurements: the list box is
// rebuilt (sorted again) and the diagram redrawn, as on every step of a drag.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QScrollBar>
#include <random>

#include "app/diagram/display_controller.h"
#include "app/window/document.h"
#include "app/window/main_controls.h"
#include "app/window/main_window.h"

namespace {

QApplication& App() {
    static int argc = 1;
    static char name[] = "floorwatch-bench";
    static char* argv[] = {name, nullptr};
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    static QApplication* app = new QApplication(argc, argv);
    return *app;
}

fw::MeasList RandomList(std::size_t rows) {
    std::mt19937 rng(7);
    std::uniform_real_distribution<double> freq(0.1, 300.0), level(-40.0, 20.0);
    fw::MeasList list;
    list.reserve(rows);
    for (std::size_t i = 0; i < rows; ++i)
        list.appendRow({freq(rng), level(rng), 2700, "S-Val", 2.15, 9, 33.98, -73.01});
    return list;
}

void BM_ScrollStep100k(benchmark::State& state) {
    App();
    fw::MainWindow window;
    // Sorted once, as after a load.
    window.document().replaceFromFile(RandomList(static_cast<std::size_t>(state.range(0))),
                                      "NoLoc.", "NoDateTime", "");
    QScrollBar* bar = window.controls().LMDScrollBarPos;
    int step = 0;
    for (auto _ : state) {
        // Moving the bar reports the movement, which runs Scroll: list rebuild and redraw.
        bar->setValue(step++ % 2 ? -40 : -30);
    }
    state.counters["rows"] = static_cast<double>(window.document().measList().size());
}
BENCHMARK(BM_ScrollStep100k)->Arg(100000)->Unit(benchmark::kMillisecond);

void BM_UpdateUserList100k(benchmark::State& state) {
    App();
    // A document without a window: the list rebuild (sort and model reset) alone.
    fw::Document document;
    document.replaceFromFile(RandomList(static_cast<std::size_t>(state.range(0))), "NoLoc.",
                             "NoDateTime", "");
    for (auto _ : state) document.setLevelAxis(-40, 60);
}
BENCHMARK(BM_UpdateUserList100k)->Arg(100000)->Unit(benchmark::kMillisecond);

}  // namespace
