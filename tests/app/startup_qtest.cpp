// The main window right after start-up: state, controls, texts, fonts, menus.
#include <QAction>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QLocale>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSettings>
#include <QStringListModel>
#include <QTemporaryDir>
#include <QTest>

#include "app/settings/settings_store.h"
#include "window_fixture.h"
#include "window_test_registry.h"

namespace fw::testing {

namespace {

QRect ToQRect(const Rect& r) {
    return {r.left, r.top, r.width, r.height};
}

QStringList ActionTexts(const QList<QAction*>& actions) {
    QStringList texts;
    for (const QAction* a : actions) texts << (a->isSeparator() ? QStringLiteral("-") : a->text());
    return texts;
}

bool IsWhite(const QWidget* w) {
    return w->palette().color(QPalette::Base) == QColor(Qt::white);
}

}  // namespace

class StartupTest : public QObject {
    Q_OBJECT

  private slots:
    // Texts with commas typed into the settings file without quotes read as typed.
    void settingsTypedByHandWithCommas() {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("floorwatch.conf"));
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("[monitor]\nbands=80m,40m\n[sdr]\nargs=driver=fwtest,serial=FW0001\n");
        file.close();
        QSettings store(path, QSettings::IniFormat);
        const AppSettings s = LoadSettings(store);
        QCOMPARE(QString::fromStdString(s.monitor.bands), QStringLiteral("80m,40m"));
        QCOMPARE(QString::fromStdString(s.sdr.device.args),
                 QStringLiteral("driver=fwtest,serial=FW0001"));
    }

    void stateCaptionAndFirstPicture() {
        WindowFixture f;
        const AppState& s = f.state();
        QCOMPARE(f.window->windowTitle(),
                 QStringLiteral("Floorwatch v 1.0 (c) 2026 The Floorwatch authors"));
        QVERIFY(QString::fromStdString(s.ProgramDir).endsWith(QLatin1Char('/')));
        QCOMPARE(QString::fromStdString(s.Locator + " " + s.MeasDateTime),
                 QStringLiteral("NoLoc. NoDateTime"));
        QVERIFY(s.UserDataFile.empty() && !s.DebugVisible && s.AutoLayout);
        QCOMPARE(f.memoLines(), QStringList({"w:537", "h:497"}));
        QCOMPARE(f.c().ImPlot->pixmap().size(), QSize(537, 497));
        QVERIFY(f.c().PanDebug->isHidden() && !f.c().PanDebug->isEnabled());
        QCOMPARE(f.c().PanDebug->palette().color(QPalette::Window), QColor(Qt::red));
        QVERIFY(f.dialogs.messages.empty());
    }

    void displayControls() {
        WindowFixture f;
        MainControls& c = f.c();
        QCOMPARE(c.GBDia->title(), QStringLiteral("ITU-R P.372-12 Diagram"));
        QCOMPARE(c.GBDisplay->title(), QStringLiteral("Display Properties"));
        QCOMPARE(c.LaBandwidth->text(), QStringLiteral("Bandwidth [Hz]"));
        QVERIFY(c.LaBandwidth->alignment() & Qt::AlignRight);
        QCOMPARE(c.CBBandWidth->currentText(), QStringLiteral("2700"));
        QVERIFY(c.CBBandWidth->isEditable());
        QStringList items;
        for (int i = 0; i < c.CBBandWidth->count(); ++i) items << c.CBBandWidth->itemText(i);
        QCOMPARE(items, QStringList({"2700", "6000", "9000", "10000"}));
        QVERIFY(c.CBbwMode->isChecked());
        QCOMPARE(c.CBbwMode->text(), QStringLiteral("correct measurement\nto new bandwidth"));

        // Range, position, steps: the level axis -40 + 60 of the start-up state.
        const auto bar = [](QScrollBar* b) {
            return QList<int>{b->orientation(), b->minimum(),    b->maximum(),
                              b->value(),       b->singleStep(), b->pageStep()};
        };
        QCOMPARE(bar(c.LMDScrollBarPos), QList<int>({Qt::Horizontal, -100, 80, -40, 10, 10}));
        QCOMPARE(bar(c.LMDScrollBarWidth), QList<int>({Qt::Horizontal, 10, 200, 60, 10, 10}));
        QCOMPARE(f.state().YPos, -40);
        QCOMPARE(f.state().YWidth, 60);
        QCOMPARE(c.ImPlot->toolTip(), QStringLiteral("Right Click to save"));
        QCOMPARE(c.LBUserData->toolTip(), QStringLiteral("Right Click to manage"));
    }

    void designPositions() {
        WindowFixture f;
        MainControls& c = f.c();
        QCOMPARE(f.window->outerSize(), design::Window);
        QCOMPARE(c.GBDia->geometry(), ToQRect(design::GBDia));
        QCOMPARE(c.ImPlot->geometry(), ToQRect(design::ImPlot));
        QCOMPARE(c.Panel1->geometry(), ToQRect(design::Panel1));
        QCOMPARE(c.CBBandWidth->geometry(), ToQRect(design::CBBandWidth));
        QCOMPARE(c.ButEnter->geometry(), ToQRect(design::ButEnter));
        QCOMPARE(c.GBUD->geometry(), ToQRect(design::GBUD));
        QCOMPARE(c.LBUserData->geometry(), ToQRect(design::LBUserData));
        QCOMPARE(c.PanDebug->geometry(), ToQRect(design::PanDebug));
        QCOMPARE(c.Memo3->geometry(), ToQRect(design::Memo3));
        QCOMPARE(c.EditFieldStrength->geometry(), ToQRect(design::EditFieldStrength));
    }

    void entryControls() {
        WindowFixture f;
        MainControls& c = f.c();
        QCOMPARE(c.RadioGroup1->title(), QStringLiteral("Entry Method"));
        QStringList methods;
        for (QAbstractButton* b : c.RadioGroup1Buttons->buttons()) methods << b->text();
        QCOMPARE(methods, QStringList({"S-Value", "Antenna-Voltage [dBuV]", "Antenna-Power [dBm]",
                                       "Field-strength [dBuV/m]"}));
        QCOMPARE(c.RadioGroup1Buttons->checkedId(), 0);

        QCOMPARE(c.AddMeasurement->title(), QStringLiteral("Add Measurement"));
        QCOMPARE(c.CBBand->currentText(), QStringLiteral("80m"));
        QCOMPARE(c.CBBand->count(), 13);
        QCOMPARE(c.CBSValue->currentText(), QStringLiteral("S9"));
        QCOMPARE(c.CBSValue->itemText(12), QStringLiteral("S9+40"));
        QCOMPARE(c.CBFreqMode->text(), QStringLiteral("Frequency Mode -->"));
        QVERIFY(!c.CBFreqMode->isChecked());
        QCOMPARE(c.EditFrequency->text(), QStringLiteral("1"));

        const bool comma = QLocale::system().decimalPoint() == QStringLiteral(",");
        QCOMPARE(c.EditGain->text(), comma ? QStringLiteral("2,15") : QStringLiteral("2.15"));
        for (QLineEdit* e : {c.EditAntdBm, c.EditAntVol, c.EditFieldStrength}) {
            QVERIFY(e->text().isEmpty());
            QVERIFY(e->isReadOnly());
            QVERIFY(!IsWhite(e));
            QCOMPARE(e->alignment(), Qt::AlignCenter);
        }
        QVERIFY(!c.EditGain->isReadOnly() && IsWhite(c.EditGain));
        QVERIFY(c.EditFrequency->isReadOnly() && !IsWhite(c.EditFrequency));
        QVERIFY(c.CBBand->isEnabled() && IsWhite(c.CBBand));
        QVERIFY(c.CBSValue->isEnabled() && IsWhite(c.CBSValue));

        QCOMPARE(c.ButEnter->text(), QStringLiteral("ENTER\nAdd Measurement"));
        QVERIFY(c.ButEnter->isDefault());
        QVERIFY(c.ButEnter->font().bold());
        QCOMPARE(c.ButEnter->font().pixelSize(), 19);
    }

    void fonts() {
        WindowFixture f;
        QCOMPARE(f.window->font().family(), QStringLiteral("Liberation Sans"));
        QCOMPARE(f.window->font().pointSize(), 8);
        for (QWidget* w :
             {static_cast<QWidget*>(f.c().LBUserData), static_cast<QWidget*>(f.c().Memo3)}) {
            QCOMPARE(w->font().family(), QStringLiteral("Liberation Mono"));
            QCOMPARE(w->font().pointSize(), 8);
        }
        QCOMPARE(f.c().LBUserData->sizeHintForRow(0), 14);
        QCOMPARE(f.c().GBUD->title(), QStringLiteral("USER Data"));
    }

    // Every input takes focus from the keyboard and shows it; the walk along the chain is
    // the keyboard test's.
    void everyInputIsATabStop() {
        WindowFixture f;
        MainControls& c = f.c();
        for (QWidget* w : {static_cast<QWidget*>(c.CBBandWidth), static_cast<QWidget*>(c.CBBand),
                           static_cast<QWidget*>(c.CBFreqMode), static_cast<QWidget*>(c.EditFrequency),
                           static_cast<QWidget*>(c.CBSValue), static_cast<QWidget*>(c.EditGain),
                           static_cast<QWidget*>(c.EditAntdBm), static_cast<QWidget*>(c.EditAntVol),
                           static_cast<QWidget*>(c.EditFieldStrength),
                           static_cast<QWidget*>(c.LBUserData)})
            QVERIFY2(w->focusPolicy() & Qt::TabFocus, qPrintable(w->accessibleName()));
    }

    void mainMenu() {
        WindowFixture f;
        QMenuBar* bar = f.window->menuBar();
        QCOMPARE(ActionTexts(bar->actions()),
                 QStringList({"&File", "&View", "&Print", "&Rig", "&Station Log", "&Information"}));
        QMenu* file = bar->actions().at(0)->menu();
        QVERIFY(file);
        QCOMPARE(ActionTexts(file->actions()),
                 QStringList({"&Load USER Data", "&Save USER Data", "-", "Save &Picture",
                              "&Copy Picture to Clipboard", "-", "&Enter Locator and Date/Time",
                              "Send e&Mail ...", "-", "Se&ttings…", "-", "Cl&ose"}));
        QAction* print = bar->actions().at(2);
        QVERIFY(!print->menu());
        QMenu* rig = bar->actions().at(3)->menu();
        QVERIFY(rig);
        QCOMPARE(ActionTexts(rig->actions()),
                 QStringList({"Rig &Settings…", "-", "&Read S-Meter", "S&weep Bands…", "-",
                              "S&pectrum…", "&Bearing Scan…"}));
        QMenu* stationLog = bar->actions().at(4)->menu();
        QVERIFY(stationLog);
        QCOMPARE(ActionTexts(stationLog->actions()),
                 QStringList({"&Monitor…", "-", "&Level over Time…", "&24-Hour Profile…", "-",
                              "Log &to Measurement List…", "&Export…", "&Campaign Report…", "-",
                              "&Network…", "Compare with Nei&ghbours…", "Station &Details…"}));
        QMenu* info = bar->actions().at(5)->menu();
        QVERIFY(info);
        QCOMPARE(ActionTexts(info->actions()),
                 QStringList({"&About", "&Help", "Help (&German)", "-", "&Korvan",
                              "&Velmar Region 1", "-", "&Download ITU-R P.372"}));
        QCOMPARE(ActionTexts(f.c().ImPlot->actions()),
                 QStringList({"&Copy to Clipboard", "&Save As"}));
        QCOMPARE(f.c().ImPlot->contextMenuPolicy(), Qt::ActionsContextMenu);
        QCOMPARE(ActionTexts(f.c().LBUserData->actions()),
                 QStringList(
                     {"&Delete Item", "-", "&Load USER Data", "&Save USER Data", "&Clear USER Data"}));
        QCOMPARE(f.c().LBUserData->contextMenuPolicy(), Qt::ActionsContextMenu);
    }

    void closeEndsTheWindow() {
        WindowFixture f;
        f.window->show();
        QVERIFY(QTest::qWaitForWindowExposed(f.window.get()));
        QVERIFY(f.c().actions.close->isEnabled());
        f.c().actions.close->trigger();
        QVERIFY(!f.window->isVisible());
        QVERIFY(f.dialogs.messages.empty());  // nothing is asked
    }
};

FW_WINDOW_TEST(StartupTest);

}  // namespace fw::testing

#include "startup_qtest.moc"
