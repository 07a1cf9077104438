#pragma once
// Fonts and paint devices need a QGuiApplication; created on first use, offscreen. It is never
// destroyed: at exit Qt's own statics are gone first, and destroying it then crashes before the
// ratios are printed.
#include <QGuiApplication>

namespace fw::bench {

inline void EnsureGuiApp() {
    static int argc = 1;
    static char name[] = "floorwatch-bench";
    static char* argv[] = {name, nullptr};
    if (QCoreApplication::instance() != nullptr) return;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    new QGuiApplication(argc, argv);
}

}  // namespace fw::bench
