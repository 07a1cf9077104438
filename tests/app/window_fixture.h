#pragma once
// A main window with scripted dialogs, created fresh for each window test.
#include <QPlainTextEdit>
#include <QStringList>
#include <memory>

#include "app/diagram/display_controller.h"
#include "app/window/main_window.h"
#include "scripted_dialogs.h"

namespace fw::testing {

struct WindowFixture {
    ScriptedDialogs dialogs;
    std::unique_ptr<MainWindow> window = std::make_unique<MainWindow>(&dialogs);

    MainControls& c() { return window->controls(); }
    const AppState& state() { return window->document().state(); }

    QStringList memoLines() {
        return c().Memo3->toPlainText().split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    }
};

}  // namespace fw::testing
