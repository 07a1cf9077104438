// What a keyboard user meets: the bandwidth box keeps what is typed, Return in an open
// drop-down list only picks the item, and Tab reaches every input.
#include <QAbstractButton>
#include <QAbstractItemView>
#include <QApplication>
#include <QCheckBox>
#include <QAction>
#include <QComboBox>
#include <QKeySequence>
#include <QLabel>
#include <QLocale>
#include <QMenu>
#include <QMenuBar>
#include <QSet>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <cstdlib>

#include "window_fixture.h"
#include "window_test_registry.h"

namespace fw::testing {

class KeyboardTest : public QObject {
    Q_OBJECT

  private slots:
    // "600" stays "600", not "6000"; each keystroke redraws once.
    void bandwidthBoxKeepsEveryTypedPrefix() {
        WindowFixture f;
        f.window->show();
        QVERIFY(QTest::qWaitForWindowActive(f.window.get()));
        QComboBox* box = f.c().CBBandWidth;
        for (const QString& item : BandwidthItems()) {
            for (int n = 1; n <= item.size(); ++n) {
                const QString prefix = item.left(n);
                box->setFocus();
                box->lineEdit()->selectAll();
                QSignalSpy redraws(&f.window->document(), &Document::pictureReplaced);
                QTest::keyClicks(box->lineEdit(), prefix);
                QCOMPARE(redraws.count(), prefix.size());
                f.c().LMDScrollBarPos->setFocus();  // leave the box
                QCOMPARE(box->currentText(), prefix);
                QCOMPARE(QString::fromStdString(f.window->document().bandwidthText()), prefix);
            }
        }
    }

    void returnInAnOpenListOnlyPicksTheItem_data() {
        QTest::addColumn<bool>("bandwidth");
        QTest::newRow("S-value list") << false;
        QTest::newRow("bandwidth list") << true;
    }
    void returnInAnOpenListOnlyPicksTheItem() {
        QFETCH(bool, bandwidth);
        WindowFixture f;
        f.window->show();
        QVERIFY(QTest::qWaitForWindowActive(f.window.get()));
        QComboBox* box = bandwidth ? f.c().CBBandWidth : f.c().CBSValue;
        box->setCurrentIndex(0);
        const QString next = box->itemText(1);
        box->showPopup();
        QTRY_VERIFY(box->view()->isVisible());
        QTest::keyClick(box->view(), Qt::Key_Down);
        QTest::keyClick(box->view(), Qt::Key_Return);
        QTRY_VERIFY(!box->view()->isVisible());
        QCOMPARE(box->currentText(), next);
        QVERIFY(f.window->document().measList().empty());

        // Elsewhere Return still presses ENTER, once.
        f.c().EditGain->setFocus();
        QTest::keyClick(f.c().EditGain, Qt::Key_Return);
        QCOMPARE(f.window->document().measList().size(), 1u);
        QTest::keyClick(f.window.get(), Qt::Key_Enter);
        QCOMPARE(f.window->document().measList().size(), 2u);
    }

    // Tab reaches every input in reading order, each named for screen readers after its
    // caption; the S-value selector says what it holds, not its caption.
    void tabReachesEveryInputInReadingOrder() {
        WindowFixture f;
        f.window->show();
        QVERIFY(QTest::qWaitForWindowActive(f.window.get()));
        MainControls& c = f.c();
        c.CBBandWidth->setFocus();
        QList<QWidget*> reached = {c.CBBandWidth};
        for (int i = 0; i < 40; ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            if (QWidget* w = QApplication::focusWidget(); w && !reached.contains(w)) reached << w;
        }
        const QList<QWidget*> order = {c.CBBandWidth, c.CBbwMode,   c.LMDScrollBarPos,
                                       c.LMDScrollBarWidth, c.CBBand, c.CBFreqMode,
                                       c.EditFrequency, c.CBSValue,   c.EditGain,
                                       c.EditAntdBm,    c.EditAntVol, c.EditFieldStrength,
                                       c.ButEnter,      c.LBUserData};
        qsizetype last = -1;
        for (QWidget* w : order) {
            const qsizetype at = reached.indexOf(w);
            QVERIFY2(at > last, qPrintable(w->metaObject()->className() + w->accessibleName()));
            last = at;
            if (!qobject_cast<QAbstractButton*>(w)) QVERIFY(!w->accessibleName().isEmpty());
        }
        QCOMPARE(c.CBSValue->accessibleName(), QStringLiteral("S-value"));
        QCOMPARE(c.EditGain->accessibleName(), QStringLiteral("Gain [dBi]"));

        // A focused bar moves with the arrow keys and redraws.
        c.LMDScrollBarPos->setFocus();
        const int before = c.LMDScrollBarPos->value();
        QTest::keyClick(c.LMDScrollBarPos, Qt::Key_Right);
        QCOMPARE(std::abs(c.LMDScrollBarPos->value() - before), 10);
        QCOMPARE(f.state().YPos, c.LMDScrollBarPos->value());
    }

    // Each menu and each of its items has an Alt key of its own; the usual shortcuts are set,
    // F1 for the guide in the desktop's language.
    void menusHaveTheirOwnAltKeysAndTheUsualShortcuts() {
        WindowFixture f;
        QList<QList<QAction*>> menus{f.window->menuBar()->actions(), f.c().ImPlot->actions(),
                                     f.c().LBUserData->actions()};
        for (const QAction* a : f.window->menuBar()->actions())
            if (a->menu()) menus << a->menu()->actions();
        for (const QList<QAction*>& menu : menus) {
            QSet<QChar> keys;
            for (const QAction* a : menu) {
                if (a->isSeparator()) continue;
                const QString text = a->text();
                const qsizetype amp = text.indexOf(QLatin1Char('&'));
                QVERIFY2(text.count(QLatin1Char('&')) == 1 && amp + 1 < text.size(),
                         qPrintable(text));
                const QChar key = text.at(amp + 1).toLower();
                QVERIFY2(!keys.contains(key), qPrintable(text));
                keys.insert(key);
            }
        }
        const MainActions& a = f.c().actions;
        QCOMPARE(a.loadUserData->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_O));
        QCOMPARE(a.saveUserData->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_S));
        QCOMPARE(a.print->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_P));
        QCOMPARE(a.close->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_Q));
        const bool german = QLocale().language() == QLocale::German;
        QCOMPARE((german ? a.helpGerman : a.help)->shortcut(), QKeySequence(Qt::Key_F1));
        QVERIFY((german ? a.help : a.helpGerman)->shortcut().isEmpty());
    }

    // A level-axis bar with keyboard focus looks different from one without.
    void focusedBarIsMarked() {
        WindowFixture f;
        f.window->show();
        QVERIFY(QTest::qWaitForWindowActive(f.window.get()));
        QScrollBar* bar = f.c().LMDScrollBarPos;
        f.c().LMDScrollBarWidth->setFocus();
        const QImage unfocused = bar->grab().toImage();
        bar->setFocus();
        QVERIFY(bar->hasFocus());
        QVERIFY(bar->grab().toImage() != unfocused);
    }

    // An opened list highlights the item its box shows, also one set or typed, not picked.
    void listOpensOnTheShownItem() {
        WindowFixture f;
        f.window->show();
        QVERIFY(QTest::qWaitForWindowActive(f.window.get()));
        f.c().CBBandWidth->setEditText(f.c().CBBandWidth->itemText(2));
        for (QComboBox* box : {f.c().CBBand, f.c().CBSValue, f.c().CBBandWidth}) {
            const QString shown = box->currentText();
            box->showPopup();
            QTRY_VERIFY(box->view()->isVisible());
            QCOMPARE(box->view()->currentIndex().data().toString(), shown);
            box->hidePopup();
            QCOMPARE(box->currentText(), shown);
        }
    }
};

FW_WINDOW_TEST(KeyboardTest);

}  // namespace fw::testing

#include "keyboard_qtest.moc"
