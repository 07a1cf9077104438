#pragma once
// The Qt application that the report commands paint with.
#include <QCoreApplication>
#include <QGuiApplication>
#include <optional>

#include "libs/regional.h"

namespace fw::cli {

// Fonts and paint devices need a QGuiApplication; the command line shows no window, so
// Qt's offscreen platform serves unless another one is asked for.
class GuiSession {
  public:
    GuiSession() {
        if (QCoreApplication::instance() != nullptr) return;
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", QByteArrayLiteral("offscreen"));
        app_.emplace(argc_, argv_);
        UseCNumericLocale();
    }

  private:
    int argc_ = 1;
    char name_[16] = "floorwatch-cli";
    char* argv_[2] = {name_, nullptr};
    std::optional<QGuiApplication> app_;
};

}  // namespace fw::cli
