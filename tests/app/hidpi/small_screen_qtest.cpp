// The window on a small screen at a scale factor of 2: 800 x 500 logical pixels.
#include <QGuiApplication>
#include <QPushButton>
#include <QScreen>
#include <QTest>

#include "app/logic/layout_rule.h"
#include "window_fixture.h"
#include "window_test_registry.h"

namespace fw::testing {

class SmallScreenTest : public QObject {
    Q_OBJECT

  private slots:
    void windowFitsTheScreenAndKeepsItsMinimum() {
        const QRect avail = QGuiApplication::primaryScreen()->availableGeometry();
        QCOMPARE(QGuiApplication::primaryScreen()->devicePixelRatio(), 2.0);
        WindowFixture f;
        f.window->show();
        QVERIFY(QTest::qWaitForWindowExposed(f.window.get()));
        const Size outer = f.window->outerSize();
        QCOMPARE(outer, (Size{800, 500}));  // shrunk from 981 x 580 to the screen
        QVERIFY(outer.width >= MinWindowSize.width && outer.height >= MinWindowSize.height);
        QVERIFY(avail.contains(f.window->frameGeometry().topLeft()));
        // ENTER lies inside the screen.
        const QRect enter(f.c().ButEnter->mapToGlobal(QPoint(0, 0)), f.c().ButEnter->size());
        QVERIFY2(
            avail.contains(enter),
            qPrintable(QStringLiteral("ENTER at %1,%2").arg(enter.right()).arg(enter.bottom())));
    }

    void fitNeverGoesBelowTheMinimum() {
        QCOMPARE(FitIntoArea({981, 580}, {640, 360}), MinWindowSize);
        QCOMPARE(FitIntoArea({981, 580}, {1920, 1200}), (Size{981, 580}));
        QCOMPARE(FitIntoArea({981, 580}, {900, 1200}), (Size{900, 580}));
    }
};

FW_WINDOW_TEST(SmallScreenTest);

}  // namespace fw::testing

#include "small_screen_qtest.moc"
