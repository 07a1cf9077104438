// The display controls driving the redraw: bandwidth box, scroll bars, resize, label toggles.
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QProcess>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTextDocument>

#include "app/diagram/display_controller.h"
#include "output/qt/qimage_picture.h"
#include "window_fixture.h"
#include "window_test_registry.h"

Q_DECLARE_METATYPE(fw::Size)

namespace fw::testing {

namespace {

const ShownMessage BandwidthMessage{QStringLiteral("Informationen"),
                                    QStringLiteral("Bandwidth must be an integer number!")};

// Replaces the bandwidth box's whole text by typing `text` over a selection, key by key.
void TypeOverSelection(QComboBox* box, const QString& text) {
    box->lineEdit()->selectAll();
    QTest::keyClicks(box->lineEdit(), text);
}

QSize PlotSize(WindowFixture& f) {
    return f.c().ImPlot->size();
}

}  // namespace

class DisplayTest : public QObject {
    Q_OBJECT

  private slots:
    void everyAcceptedKeystrokeRedraws() {
        WindowFixture f;
        QSignalSpy redraws(&f.window->document(), &Document::pictureReplaced);
        TypeOverSelection(f.c().CBBandWidth, QStringLiteral("500"));
        // "5", "50", "500": each intermediate text is drawn at once.
        QCOMPARE(redraws.count(), 3);
        QCOMPARE(f.window->display().pictureBandwidthHz(), 500);
        QVERIFY(f.dialogs.messages.empty());

        f.c().CBBandWidth->setCurrentIndex(2);  // picking an item
        QCOMPARE(redraws.count(), 4);
        QCOMPARE(f.window->display().pictureBandwidthHz(), 9000);
    }

    void acceptedBandwidthTexts_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("bandwidth");
        QTest::newRow("hexadecimal") << "$A8C" << 2700;
        QTest::newRow("leading blank") << " 6000" << 6000;
        QTest::newRow("zero") << "0" << 0;
        QTest::newRow("negative") << "-500" << -500;
        QTest::newRow("32-bit maximum") << "2147483647" << 2147483647;
    }
    void acceptedBandwidthTexts() {
        QFETCH(QString, text);
        QFETCH(int, bandwidth);
        WindowFixture f;
        QSignalSpy redraws(&f.window->document(), &Document::pictureReplaced);
        f.c().CBBandWidth->setEditText(text);
        QCOMPARE(redraws.count(), 1);
        QCOMPARE(f.window->display().pictureBandwidthHz(), bandwidth);
        QCOMPARE(f.c().CBBandWidth->currentText(), text);
        QVERIFY(f.dialogs.messages.empty());
    }

    void refusedBandwidthTexts_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("keyByKey");
        QTest::addColumn<int>("acceptedBefore");  // intermediate texts that draw first
        QTest::newRow("letter typed") << "2700a" << true << 4;
        QTest::newRow("trailing blank typed") << "6000 " << true << 4;
        QTest::newRow("decimal comma typed") << "2," << true << 1;
        QTest::newRow("decimal comma") << "2,7" << false << 0;
        QTest::newRow("letters only") << "abc" << false << 0;
        QTest::newRow("out of range") << "2147483648" << false << 0;
        QTest::newRow("blank only") << " " << false << 0;
    }
    void refusedBandwidthTexts() {
        QFETCH(QString, text);
        QFETCH(bool, keyByKey);
        QFETCH(int, acceptedBefore);
        WindowFixture f;
        QSignalSpy redraws(&f.window->document(), &Document::pictureReplaced);
        bool checkedWhileOpen = false;
        f.dialogs.whileMessageOpen = [&](const ShownMessage&) {
            // The old picture is still shown while the message is open.
            checkedWhileOpen = redraws.count() == acceptedBefore;
        };
        const QImage before = f.c().ImPlot->pixmap().toImage();
        if (keyByKey)
            TypeOverSelection(f.c().CBBandWidth, text);
        else
            f.c().CBBandWidth->setEditText(text);
        QCOMPARE(f.dialogs.messages, std::vector<ShownMessage>{BandwidthMessage});
        QVERIFY(checkedWhileOpen);
        QCOMPARE(f.c().CBBandWidth->currentText(), QStringLiteral("2700"));
        // The reset draws once more, for what the box shows now.
        QCOMPARE(redraws.count(), acceptedBefore + 1);
        QCOMPARE(f.window->display().pictureBandwidthHz(), 2700);
        QCOMPARE(f.c().ImPlot->pixmap().toImage(), before);

        // The next redraw, whatever causes it, uses 2700.
        f.c().LMDScrollBarPos->triggerAction(QAbstractSlider::SliderSingleStepAdd);
        QCOMPARE(f.window->display().pictureBandwidthHz(), 2700);
        QCOMPARE(f.dialogs.messages.size(), 1u);
    }

    void emptyTextIsRefusedAndTheDiagramFollowsTheReset() {
        WindowFixture f;
        f.c().CBBandWidth->setEditText(QStringLiteral("6000"));
        const QImage shown = f.c().ImPlot->pixmap().toImage();
        const QStringList memo = f.memoLines();
        QSignalSpy redraws(&f.window->document(), &Document::pictureReplaced);
        f.c().CBBandWidth->lineEdit()->selectAll();
        QTest::keyClick(f.c().CBBandWidth->lineEdit(), Qt::Key_Backspace);
        QCOMPARE(f.dialogs.messages, std::vector<ShownMessage>{BandwidthMessage});
        QCOMPARE(f.c().CBBandWidth->currentText(), QStringLiteral("2700"));
        // Drawn once, for the reset box: the refused text itself draws nothing.
        QCOMPARE(redraws.count(), 1);
        QVERIFY(f.c().ImPlot->pixmap().toImage() != shown);
        QCOMPARE(f.window->display().pictureBandwidthHz(), 2700);
        QCOMPARE(f.memoLines().size(), memo.size() + 2);
    }

    void scrollBarsSetTheLevelAxis() {
        WindowFixture f;
        QSignalSpy redraws(&f.window->document(), &Document::pictureReplaced);
        QScrollBar* pos = f.c().LMDScrollBarPos;
        QScrollBar* width = f.c().LMDScrollBarWidth;

        pos->triggerAction(QAbstractSlider::SliderSingleStepAdd);
        QCOMPARE(f.state().YPos, -30);
        QCOMPARE(f.state().YWidth, 60);
        width->triggerAction(QAbstractSlider::SliderPageStepSub);
        QCOMPARE(f.state().YWidth, 50);
        QCOMPARE(redraws.count(), 2);

        pos->setValue(-100);
        width->setValue(10);
        QCOMPARE(f.state().YPos, -100);
        QCOMPARE(f.state().YWidth, 10);
        pos->setValue(500);  // beyond the range: the bar stops at its end
        width->setValue(1000);
        QCOMPARE(f.state().YPos, 80);
        QCOMPARE(f.state().YWidth, 200);
        pos->setValue(37);  // a thumb drag can stop at any whole value
        QCOMPARE(f.state().YPos, 37);
        QCOMPARE(redraws.count(), 7);
        QCOMPARE(f.memoLines().size(), 2 + 2 * 7);
    }

    void checkBoxCausesNoRedraw() {
        WindowFixture f;
        QSignalSpy redraws(&f.window->document(), &Document::pictureReplaced);
        QTest::mouseClick(f.c().CBbwMode, Qt::LeftButton);
        QVERIFY(!f.c().CBbwMode->isChecked());
        QCOMPARE(redraws.count(), 0);
    }

    void showingAndResizingLaysOutAndRedraws() {
        WindowFixture f;
        f.window->show();
        QVERIFY(QTest::qWaitForWindowExposed(f.window.get()));
        QCOMPARE(f.window->outerSize(), (Size{981, 580}));
        QCOMPARE(PlotSize(f), QSize(536, 494));
        QCOMPARE(f.memoLines().mid(f.memoLines().size() - 2), QStringList({"w:536", "h:494"}));
        QCOMPARE(f.c().Panel1->geometry(), QRect(565, 5, 401, 519));
        QCOMPARE(f.c().GBDia->geometry(), QRect(6, 5, 554, 518));
        QCOMPARE(f.c().GBUD->height(), 270);
        QCOMPARE(f.c().LBUserData->height(), 246);

        f.window->setOuterSize({1200, 700});
        QTRY_COMPARE(PlotSize(f), QSize(755, 614));
        QCOMPARE(f.window->display().picture().width, 755);
        QCOMPARE(f.window->display().picture().height, 614);
        QCOMPARE(f.c().ImPlot->pixmap().size(), QSize(755, 614));

        // The window cannot become smaller than 750 x 400.
        f.window->setOuterSize({600, 300});
        QTRY_COMPARE(f.window->outerSize(), (Size{750, 400}));
        QCOMPARE(PlotSize(f), QSize(305, 314));
        QCOMPARE(f.c().Panel1->geometry(), QRect(334, 5, 401, 339));
        QCOMPARE(f.c().LBUserData->height(), 66);
        QCOMPARE(f.c().PanDebug->geometry().topLeft(), QPoint(16, 112));
    }

    void labelClicksToggleThePanelAndTheLayout_data() {
        QTest::addColumn<int>("modifiers");
        QTest::addColumn<bool>("panel");
        QTest::addColumn<bool>("autoLayout");
        QTest::newRow("plain") << int(Qt::NoModifier) << false << true;
        QTest::newRow("ctrl") << int(Qt::ControlModifier) << false << true;
        QTest::newRow("shift") << int(Qt::ShiftModifier) << true << true;
        QTest::newRow("alt") << int(Qt::AltModifier) << false << false;
        QTest::newRow("shift+alt") << int(Qt::ShiftModifier | Qt::AltModifier) << true << false;
    }
    void labelClicksToggleThePanelAndTheLayout() {
        QFETCH(int, modifiers);
        QFETCH(bool, panel);
        QFETCH(bool, autoLayout);
        WindowFixture f;
        f.window->show();
        QVERIFY(QTest::qWaitForWindowExposed(f.window.get()));
        const auto mods = Qt::KeyboardModifiers(modifiers);
        QTest::mouseClick(f.c().LaBandwidth, Qt::LeftButton, mods);
        QCOMPARE(f.state().DebugVisible, panel);
        QCOMPARE(f.c().PanDebug->isVisible(), panel);
        QCOMPARE(f.c().PanDebug->isEnabled(), panel);
        QCOMPARE(f.state().AutoLayout, autoLayout);
        QCOMPARE(f.window->minimumSize() == f.window->maximumSize(), !autoLayout);  // fixed border
        // The panel holds the size lines of every redraw since start-up.
        QCOMPARE(f.memoLines().mid(0, 2), QStringList({"w:537", "h:497"}));
        // A second click with any mouse button switches back.
        QTest::mouseClick(f.c().LaBandwidth, Qt::RightButton, mods);
        QVERIFY(!f.state().DebugVisible && f.c().PanDebug->isHidden());
        QVERIFY(f.state().AutoLayout);
    }

    void altClickFreezesTheLayout() {
        WindowFixture f;
        f.window->show();
        QVERIFY(QTest::qWaitForWindowExposed(f.window.get()));
        QTest::mouseClick(f.c().LaBandwidth, Qt::LeftButton, Qt::AltModifier);
        QVERIFY(!f.state().AutoLayout);
        QVERIFY(!f.state().DebugVisible);
        QCOMPARE(f.window->minimumSize(), f.window->maximumSize());  // fixed border

        QSignalSpy redraws(&f.window->document(), &Document::pictureReplaced);
        const QRect panel = f.c().Panel1->geometry();
        f.window->display().FormResize({1400, 900});
        QCOMPARE(redraws.count(), 0);
        QCOMPARE(f.c().Panel1->geometry(), panel);
        QCOMPARE(PlotSize(f), QSize(536, 494));

        QTest::mouseClick(f.c().LaBandwidth, Qt::LeftButton, Qt::AltModifier);
        QVERIFY(f.state().AutoLayout);
        QCOMPARE(f.window->maximumSize(), QSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX));
        f.window->setOuterSize({1000, 600});
        QTRY_COMPARE(PlotSize(f), QSize(555, 514));
    }

#ifdef FW_CLI_PATH
    // The window shows exactly the picture the command-line renderer draws.
    void shownPictureEqualsTheCommandLineRendering_data() {
        QTest::addColumn<Size>("outer");
        QTest::addColumn<QString>("bandwidth");
        QTest::addColumn<int>("yPos");
        QTest::addColumn<int>("yWidth");
        QTest::newRow("design size") << Size{981, 580} << "2700" << -40 << 60;
        QTest::newRow("minimum size") << Size{750, 400} << "9000" << -100 << 10;
        QTest::newRow("large") << Size{1300, 800} << "$A8C" << 20 << 110;
    }
    void shownPictureEqualsTheCommandLineRendering() {
        QFETCH(Size, outer);
        QFETCH(QString, bandwidth);
        QFETCH(int, yPos);
        QFETCH(int, yWidth);
        WindowFixture f;
        f.window->show();
        QVERIFY(QTest::qWaitForWindowExposed(f.window.get()));
        f.window->setOuterSize(outer);
        QTRY_COMPARE(f.window->outerSize(), outer);
        f.c().CBBandWidth->setEditText(bandwidth);
        f.c().LMDScrollBarPos->setValue(yPos);
        f.c().LMDScrollBarWidth->setValue(yWidth);
        const QSize size = PlotSize(f);

        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QString png = dir.filePath(QStringLiteral("x.png"));
        QProcess cli;
        cli.start(QStringLiteral(FW_CLI_PATH),
                  {"render", "--size", QStringLiteral("%1x%2").arg(size.width()).arg(size.height()),
                   "--bandwidth", bandwidth, "--ypos", QString::number(yPos), "--ywidth",
                   QString::number(yWidth), "--output", png});
        QVERIFY(cli.waitForFinished(60000));
        QCOMPARE(cli.exitCode(), 0);

        const QImage expected = QImage(png).convertToFormat(QImage::Format_RGB888);
        const QImage shown =
            f.c().ImPlot->pixmap().toImage().convertToFormat(QImage::Format_RGB888);
        QCOMPARE(shown.size(), size);
        QCOMPARE(expected.size(), size);
        QVERIFY(shown == expected);
    }

    // The "View" menu's layers: off at start-up, each switch redraws once; the atmospheric
    // layer needs a locator and a time, and the diagnostic panel says why it is missing.
    void viewMenuSwitchesTheLayers() {
        ScriptedDialogs dialogs;
        // Beside the built programs, where the coefficient files are.
        const QString program =
            QFileInfo(QStringLiteral(FW_CLI_PATH)).absolutePath() + QStringLiteral("/floorwatch");
        MainWindow window(&dialogs, program);
        const MainActions& a = window.controls().actions;
        QVERIFY(!a.decileBands->isChecked() && !a.atmosphericNoise->isChecked());
        const auto picture = [&window] { return window.controls().ImPlot->pixmap().toImage(); };
        const QImage plain = picture();
        QSignalSpy redraws(&window.document(), &Document::pictureReplaced);

        a.decileBands->trigger();
        QCOMPARE(redraws.count(), 1);
        const QImage deciles = picture();
        QVERIFY(deciles != plain);

        a.atmosphericNoise->trigger();  // NoLoc.: drawn without the layer, the panel says why
        QCOMPARE(redraws.count(), 2);
        QCOMPARE(picture(), deciles);
        const QString memo = window.controls().Memo3->toPlainText();
        QVERIFY2(memo.contains(QStringLiteral("No atmospheric noise: ")), qPrintable(memo));
        QCOMPARE(memo.count(QStringLiteral("No atmospheric noise")), 1);

        window.document().setLocatorAndTime("JO40CQ", std::string("2026-12-07 20:00"));
        QCOMPARE(redraws.count(), 3);
        QVERIFY(picture() != deciles);

        a.decileBands->trigger();
        a.atmosphericNoise->trigger();
        QCOMPARE(redraws.count(), 5);
        window.document().setLocatorAndTime("NoLoc.", std::string("NoDateTime"));
        QCOMPARE(picture(), plain);  // both off: exactly the picture of before
        QVERIFY(dialogs.messages.empty());
    }

    // Coefficient files without their list of sums are drawn, and the panel says so.
    void uncheckedCoefficientFilesAreToldInThePanel() {
        QTemporaryDir program;
        QVERIFY(QDir(program.path()).mkdir(QStringLiteral("itu-p372")));
        QVERIFY(QFile::copy(QFileInfo(QStringLiteral(FW_CLI_PATH)).absolutePath() +
                                QStringLiteral("/itu-p372/COEFF12W.txt"),
                            program.path() + QStringLiteral("/itu-p372/COEFF12W.txt")));
        ScriptedDialogs dialogs;
        MainWindow window(&dialogs, program.path() + QStringLiteral("/floorwatch"));
        window.document().setLocatorAndTime("JO40CQ", std::string("2026-12-07 20:00"));
        window.controls().actions.atmosphericNoise->trigger();
        const QString memo = window.controls().Memo3->toPlainText();
        QVERIFY2(memo.contains(QStringLiteral("have no list SHA256SUMS: they are read unchecked.")),
                 qPrintable(memo));
        QVERIFY(!memo.contains(QStringLiteral("No atmospheric noise")));
    }

    // A fresh window and floorwatch-cli without options start from the same values: the
    // same picture, and ENTER adds the same row as `enter`.
    void freshWindowEqualsTheCommandLineDefaults() {
        WindowFixture f;  // not shown: the picture keeps its designed size
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QString png = dir.filePath(QStringLiteral("x.png"));
        const auto run = [](const QStringList& args) {
            QProcess cli;
            cli.start(QStringLiteral(FW_CLI_PATH), args);
            cli.waitForFinished(60000);
            return cli.exitCode() == 0 ? QString::fromUtf8(cli.readAllStandardOutput()) : QString();
        };
        run({"render", "--output", png});
        QVERIFY(QImage(png).convertToFormat(QImage::Format_RGB888) ==
                f.c().ImPlot->pixmap().toImage().convertToFormat(QImage::Format_RGB888));

        const QStringList printed = run({"enter"}).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        QVERIFY(!printed.isEmpty());
        f.c().ButEnter->click();
        QCOMPARE(f.c().userListModel->stringList().value(2), printed.last());
    }
#endif

    // A level-axis bar redraws without touching the list: its model and selected row stay.
    void levelAxisBarsKeepTheListAndItsSelection() {
        WindowFixture f;
        f.c().ButEnter->click();
        f.c().ButEnter->click();
        QListView* list = f.c().LBUserData;
        list->setCurrentIndex(list->model()->index(3, 0));
        QSignalSpy resets(list->model(), &QAbstractItemModel::modelReset);
        f.c().LMDScrollBarPos->triggerAction(QAbstractSlider::SliderSingleStepAdd);
        f.c().LMDScrollBarWidth->triggerAction(QAbstractSlider::SliderSingleStepAdd);
        QCOMPARE(resets.count(), 0);
        QCOMPARE(list->currentIndex().row(), 3);
    }

    // Every redraw adds two lines to the diagnostic panel; it keeps only the latest.
    void diagnosticPanelStaysBounded() {
        WindowFixture f;
        for (int i = 0; i < DiagnosticPanelLines; ++i)
            f.c().LMDScrollBarPos->setValue(i % 2 == 0 ? 0 : 10);
        QCOMPARE(f.c().Memo3->document()->blockCount(), DiagnosticPanelLines);
        QVERIFY(f.memoLines().constLast().startsWith(QStringLiteral("h:")));
    }
};

FW_WINDOW_TEST(DisplayTest);

}  // namespace fw::testing

#include "display_qtest.moc"
