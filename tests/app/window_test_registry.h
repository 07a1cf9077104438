#pragma once
// Window test classes register here; one program runs them all in one QApplication.
#include <QObject>
#include <functional>
#include <memory>

namespace fw::testing {

using WindowTestFactory = std::function<std::unique_ptr<QObject>()>;

int RegisterWindowTest(WindowTestFactory factory);

}  // namespace fw::testing

#define FW_WINDOW_TEST(Class)                        \
    static const int fwWindowTestRegistered##Class = \
        ::fw::testing::RegisterWindowTest([] { return std::make_unique<Class>(); })
