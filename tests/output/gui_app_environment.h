#pragma once
// A QGuiApplication for the whole test program, as fonts and paint devices need one.
// Include from exactly one test file of a program.
#include <gtest/gtest.h>

#include <QGuiApplication>
#include <memory>

#include "libs/regional.h"

namespace fw::test {

class GuiAppEnvironment : public testing::Environment {
  public:
    void SetUp() override {
        if (QCoreApplication::instance() != nullptr) return;
        app_ = std::make_unique<QGuiApplication>(argc_, argv_);
        UseCNumericLocale();
    }
    void TearDown() override { app_.reset(); }

  private:
    int argc_ = 1;
    char name_[12] = "fw_test";
    char* argv_[2] = {name_, nullptr};
    std::unique_ptr<QGuiApplication> app_;
};

inline testing::Environment* const TheGuiAppEnvironment =
    testing::AddGlobalTestEnvironment(new GuiAppEnvironment);

}  // namespace fw::test
