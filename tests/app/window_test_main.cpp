#include <QApplication>
#include <QTemporaryDir>
#include <QTest>
#include <clocale>
#include <cstdio>
#include <vector>

#include "jobs/registry.h"
#include "libs/regional.h"
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
    // The comma run is meant to run the C library under the German locale too: where that
    // locale is not installed, glibc silently stays with "C" and hides what it would show.
    const QByteArray numeric = qgetenv("FW_EXPECT_LC_NUMERIC");
    const char* actual = std::setlocale(LC_NUMERIC, nullptr);
    if (!numeric.isEmpty() && !QByteArray(actual ? actual : "").startsWith(numeric)) {
        std::fprintf(stderr, "LC_NUMERIC is \"%s\", not %s: is that locale installed?\n",
                     actual ? actual : "", numeric.constData());
        return 1;
    }
    fw::UseCNumericLocale();
    // FW_WINDOW_TEST=RigTest runs only the test classes whose name contains that text.
    const QByteArray only = qgetenv("FW_WINDOW_TEST");
    int failures = 0;
    for (const auto& factory : fw::testing::Registry()) {
        const std::unique_ptr<QObject> test = factory();
        if (!only.isEmpty() && !QByteArray(test->metaObject()->className()).contains(only))
            continue;
        failures += QTest::qExec(test.get(), argc, argv);
    }
    // As the program does: the work the windows left stops while the application lives.
    fw::jobs::Registry::Process().stopAndDrain(fw::jobs::ExitDrainLimit);
    return failures == 0 ? 0 : 1;
}
