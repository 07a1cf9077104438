// "Print" on the menu bar opens the print window with the window's picture and list.
#include <QAction>
#include <QApplication>
#include <QPrintDialog>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "app/diagram/display_controller.h"
#include "app/print/print_window.h"
#include "window_fixture.h"
#include "window_test_registry.h"

namespace fw::testing {

class PrintMenuTest : public QObject {
    Q_OBJECT

  private slots:
    void printOpensThePrintWindowWithTheCurrentPictureAndList() {
        WindowFixture f;
        f.window->document().appendRow({3.65, 13.3, 2700, "S-Val", 2.15, 9, 34, -73});
        f.window->document().appendRow({7.1, 20, 2700, "Field", -999, -999, -999, -999});
        QAction* print = f.c().actions.print;
        QVERIFY(print->isEnabled());

        const DiagramPicture& shown = f.window->display().picture();
        QString caption;
        QList<QVariant> seen;
        QTimer::singleShot(0, [&] {
            auto* w = qobject_cast<TFormPrint*>(QApplication::activeModalWidget());
            if (!w) return;
            caption = w->windowTitle();
            w->VorschauErzeugen();
            for (const PageItem& item : w->page().items) {
                if (const auto* pic = std::get_if<PagePictureItem>(&item)) {
                    seen << (pic->y2Mm - pic->y1Mm) / (pic->x2Mm - pic->x1Mm);
                } else if (const auto* t = std::get_if<PageTextItem>(&item)) {
                    // The data rows and the footer text.
                    if ((t->yMm >= 205 && t->yMm < 270) || t->yMm == 272)
                        seen << QString::fromStdString(t->text);
                }
            }
            w->close();
        });
        print->trigger();

        QCOMPARE(caption, QStringLiteral("Print Noise Report"));
        QCOMPARE(seen.size(), 4);
        QVERIFY(qAbs(seen[0].toDouble() - double(shown.height) / shown.width) < 1e-9);
        QVERIFY(seen[1].toString().startsWith(QStringLiteral("  3")));
        QVERIFY(seen[2].toString().contains(QStringLiteral("Field| --- |")));
        QVERIFY(seen[3].toString().startsWith(QStringLiteral("Printed with Floorwatch v 1.0 - ")));
        // The print window changed neither list nor picture.
        QCOMPARE(f.window->document().measList().size(), 2u);
    }

    void printWithoutAPrinterWarnsThroughTheWindowsDialogs() {
        WindowFixture f;
        bool opened = false;
        QTimer::singleShot(0, [&] {
            auto* w = qobject_cast<TFormPrint*>(QApplication::activeModalWidget());
            if (!w) return;
            opened = true;
            w->setPrinterSource([] { return CupsPrinters(); });
            w->setPrintDialogRunner([](QPrintDialog&) {
                QTest::qFail("the print dialog opened without a printer", __FILE__, __LINE__);
                return static_cast<int>(QDialog::Rejected);
            });
            QTRY_VERIFY(w->printButton()->isEnabled());
            w->printButton()->click();
            QTRY_VERIFY(!w->findingPrinters());
            w->close();
        });
        f.c().actions.print->trigger();

        QVERIFY(opened);
        QCOMPARE(f.dialogs.messages.size(), std::size_t(1));
        QCOMPARE(f.dialogs.messages[0].title, WarningTitle);
        QCOMPARE(f.dialogs.messages[0].text, QString::fromUtf8(NoPrinterText));
    }
};

FW_WINDOW_TEST(PrintMenuTest);

}  // namespace fw::testing

#include "print_qtest.moc"
