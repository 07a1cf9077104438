#include <QApplication>
#include <QTemporaryDir>
#include <QTest>
#include <vector>

#include "window_test_registry.h"

namespace fw::testing {

namespace {
std::vector<WindowTestFactory>& Registry() {
    static std::vector<WindowTestFactory> factories;
    return factories;
}
}  // namespace

int RegisterWindowTest(WindowTestFactory factory) {
    Registry().push_back(std::move(factory));
    return static_cast<int>(Registry().size());
}

}  // namespace fw::testing

int main(int argc, char* argv[]) {
    // Settings are read and written in a folder of the test's own, never the user's.
    QTemporaryDir config;
    qputenv("XDG_CONFIG_HOME", config.path().toLocal8Bit());
    QApplication app(argc, argv);
    // FW_WINDOW_TEST=RigTest runs only the test classes whose name contains that text.
    const QByteArray only = qgetenv("FW_WINDOW_TEST");
    int failures = 0;
    for (const auto& factory : fw::testing::Registry()) {
        const std::unique_ptr<QObject> test = factory();
        if (!only.isEmpty() && !QByteArray(test->metaObject()->className()).contains(only))
            continue;
        failures += QTest::qExec(test.get(), argc, argv);
    }
    return failures == 0 ? 0 : 1;
}
