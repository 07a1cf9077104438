// The "Station Log" menu: the monitor against a real rigctld, entry logging, log to list,
// the export, the views and the campaign report.
#include <QAction>
#include <QApplication>
#include <QButtonGroup>
#include <QComboBox>
#include <QDateTime>
#include <QDeadlineTimer>
#include <QFile>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPrinterInfo>
#include <QPointer>
#include <QProcess>
#include <QProgressDialog>
#include <QPushButton>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QRegularExpression>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include "libs/regional.h"
#include <QSemaphore>
#include <QThread>
#include <atomic>
#include <stop_token>

#include "app/print/print_window.h"
#include "app/stationlog/entry_logger.h"
#include "app/rig/rig_controller.h"
#include "app/stationlog/log_view_controller.h"
#include "app/stationlog/log_view_window.h"
#include "app/stationlog/monitor_controller.h"
#include "app/stationlog/monitor_window.h"
#include "app/stationlog/station_log_controller.h"
#include "output/qt/picture_pdf.h"
#include "output/qt/qimage_picture.h"
#include "rigctld_process.h"
#include "stationlog/log_queries.h"
#include "stationlog/log_to_list.h"
#include "stationlog/sqlite_db.h"
#include "stationlog/utc_text.h"
#include "window_fixture.h"
#include "window_test_registry.h"

namespace fw::testing {

namespace {

constexpr UtcSeconds March1 = 1772323200;  // 2026-03-01 00:00 UTC

LogBand Band(const char* name) {
    for (const LogBand& b : AllBands())
        if (b.band == name) return b;
    return {};
}

LogReading FieldReading(UtcSeconds utc, const char* band, double field) {
    LogReading r;
    r.utc = utc;
    r.band = band;
    r.freqMHz = Band(band).freqMHz;
    r.bandwidthHz = 2700;
    r.method = "Field";
    r.gainDbi = -999;
    r.fieldDbuVm = field;
    r.source = ReadingSource::Typed;
    r.locator = "JO40CQ";
    return r;
}

// 40m: 10, 30, 20 dB(uV/m) (median 20); 20m: 5, 7 (median 6), all on 1 March 2026.
void WriteHandMadeLog(const std::string& path) {
    StationLog log = StationLog::Open(path);
    const LogReading readings[] = {
        FieldReading(March1 + 3600, "40m", 10), FieldReading(March1 + 7200, "40m", 30),
        FieldReading(March1 + 9000, "40m", 20), FieldReading(March1 + 3600, "20m", 5),
        FieldReading(March1 + 7200, "20m", 7)};
    log.addAll(readings);
}

std::vector<LogReading> LoggedReadings(const std::string& path) {
    if (!QFile::exists(QString::fromStdString(path))) return {};
    StationLog log = StationLog::Open(path, StationLog::OpenMode::ReadOnly);
    return ReadingsIn(log, {});
}

void UseLog(WindowFixture& f, const std::string& path, bool logEntries = false) {
    AppSettings s = f.window->document().settings();
    s.log.path = path;
    s.log.logEntries = logEntries;
    f.window->document().setSettings(s);
}

StationLogController& Controller(WindowFixture& f) {
    return *f.window->findChild<StationLogController*>();
}

// Runs a command whose disk work goes off the window's thread: greyed until it is done.
void TriggerAndWait(QAction* command) {
    command->trigger();
    QVERIFY(!command->isEnabled());
    QTRY_VERIFY_WITH_TIMEOUT(command->isEnabled(), 20000);
}

// A window over the hand-made log.
struct HandMadeLogWindow {
    QTemporaryDir dir;
    std::string path = dir.filePath(QStringLiteral("log.sqlite")).toStdString();
    WindowFixture f;
    HandMadeLogWindow() {
        WriteHandMadeLog(path);
        UseLog(f, path);
    }
};

// The same with the level-over-time view open.
struct LevelViewWindow : HandMadeLogWindow {
    LogViewController& view;
    LevelViewWindow() : view(Controller(f).levelOverTime()) {
        f.c().actions.levelOverTime->trigger();
        QTRY_VERIFY(f.c().actions.levelOverTime->isEnabled() && !view.loading());
    }
};

void EnterField(WindowFixture& f, const char* text) {
    QAbstractButton* method = f.c().RadioGroup1Buttons->button(3);  // field strength
    QTest::mouseClick(method, Qt::LeftButton, {}, QPoint(6, method->height() / 2));
    f.c().EditFieldStrength->setText(QString::fromLatin1(text));
    QTest::mouseClick(f.c().ButEnter, Qt::LeftButton);
}

}  // namespace

class StationLogTest : public QObject {
    Q_OBJECT

  private slots:
    // The monitor sweeps a real rigctld on its worker thread while the window takes a typed
    // entry; both end up in the log. Stop ends the run.
    void monitorLogsSweepsWhileTheWindowWorks() {
        rig::test::RigctldProcess rigctld;
        QTemporaryDir dir;
        const std::string path = dir.filePath(QStringLiteral("log.sqlite")).toStdString();
        WindowFixture f;
        UseLog(f, path, true);
        AppSettings s = f.window->document().settings();
        s.rig.connection.target = rig::RigctldAddress{"127.0.0.1", rigctld.port()};
        s.rig.samples = 1;
        s.rig.settleMs = 0;
        f.window->document().setSettings(s);

        f.c().actions.monitor->trigger();
        MonitorController& monitor = Controller(f).monitor();
        MonitorWindow* w = monitor.window();
        QVERIFY(w && w->isVisible());
        w->bands->setText(QStringLiteral("40m,20m"));
        w->everySeconds->setValue(1);
        w->forMinutes->setValue(0);
        QTest::mouseClick(w->start, Qt::LeftButton);
        QVERIFY(monitor.runner().running());
        QVERIFY(!w->start->isEnabled() && w->stop->isEnabled());

        EnterField(f, "20");  // the window goes on working meanwhile
        QCOMPARE(f.window->document().measList().size(), 1u);
        const auto rigReadings = [&] {
            int n = 0;
            for (const LogReading& r : LoggedReadings(path)) n += r.source == ReadingSource::Rig;
            return n;
        };
        QTRY_VERIFY_WITH_TIMEOUT(rigReadings() >= 4, 30000);  // two sweeps at least
        QTRY_VERIFY(w->lastSweep->toPlainText().contains(QStringLiteral("40m: ")));
        // Levels with the decimal separator of the list box.
        const QRegularExpression level(QStringLiteral("^40m: -?\\d+\\%1\\d dBµV/m$")
                                           .arg(QChar(SystemDecimalSeparator())),
                                       QRegularExpression::MultilineOption);
        QVERIFY2(level.match(w->lastSweep->toPlainText()).hasMatch(),
                 qPrintable(w->lastSweep->toPlainText()));
        QTRY_VERIFY(w->nextSweep->text().startsWith(QStringLiteral("Next sweep: ")));
        QCOMPARE(w->gaps->text(), QStringLiteral("Gaps: 0"));

        QTest::mouseClick(w->stop, Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(!monitor.runner().running(), 10000);
        QVERIFY(w->start->isEnabled());
        QVERIFY(f.dialogs.messages.empty());
        const std::vector<LogReading> all = LoggedReadings(path);
        int typed = 0;
        for (const LogReading& r : all) {
            if (r.source == ReadingSource::Typed) {
                ++typed;
                continue;
            }
            QVERIFY(r.band == "40m" || r.band == "20m");
            QCOMPARE(r.rig, "rigctld at " + rigctld.address());
        }
        QCOMPARE(typed, 1);
        QCOMPARE(f.window->document().settings().monitor.bands, std::string("40m,20m"));
    }

    // Closing the main window while the monitor runs stops it; committed readings stay.
    void closingTheWindowStopsTheMonitor() {
        rig::test::RigctldProcess rigctld;
        QTemporaryDir dir;
        const std::string path = dir.filePath(QStringLiteral("log.sqlite")).toStdString();
        auto f = std::make_unique<WindowFixture>();
        UseLog(*f, path);
        AppSettings s = f->window->document().settings();
        s.rig.connection.target = rig::RigctldAddress{"127.0.0.1", rigctld.port()};
        s.rig.samples = 1;
        s.rig.settleMs = 0;
        f->window->document().setSettings(s);
        f->c().actions.monitor->trigger();
        MonitorWindow* w = Controller(*f).monitor().window();
        w->bands->setText(QStringLiteral("80m"));
        w->everySeconds->setValue(3600);
        QTest::mouseClick(w->start, Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(!LoggedReadings(path).empty(), 20000);
        // One reading in a word that fits it; the next sweep lies ahead, the table holds the
        // sweep that is complete.
        QTRY_COMPARE(w->state->text(), QStringLiteral("Waiting after sweep 1, 1 reading logged"));
        const QTime next = QTime::fromString(w->nextSweep->text(), "'Next sweep: 'HH:mm:ss' UTC'");
        QVERIFY2(next.isValid(), qPrintable(w->nextSweep->text()));
        QVERIFY((QDateTime::currentDateTimeUtc().time().secsTo(next) + 86400) % 86400 > 3000);
        QVERIFY(w->lastSweep->toPlainText().startsWith(QStringLiteral("80m: ")));
        f.reset();  // waiting for the next sweep: the stop ends the wait at once
        QCOMPARE(LoggedReadings(path).size(), 1u);
    }

    // One user of the rig in the window: a reading holds the monitor's Start (also in a
    // window opened meanwhile), a run holds Read S-Meter and Sweep Bands, and a run that
    // ends while the rig is held leaves Start disabled.
    void rigJobsAndTheMonitorHoldEachOthersStart() {
        rig::test::SilentPeer silent(true);  // connections wait: the jobs stay under way
        QTemporaryDir dir;
        WindowFixture f;
        UseLog(f, dir.filePath(QStringLiteral("log.sqlite")).toStdString());
        AppSettings s = f.window->document().settings();
        s.rig.connection = {rig::RigctldAddress{"127.0.0.1", silent.port()}, 60000};
        f.window->document().setSettings(s);
        RigController& rig = *f.window->findChild<RigController*>();
        MonitorController& monitor = Controller(f).monitor();
        QAction* read = f.c().actions.rigRead;
        QAction* sweep = f.c().actions.rigSweep;

        read->trigger();
        f.c().actions.monitor->trigger();
        MonitorWindow* w = monitor.window();
        monitor.startClick();
        QVERIFY(rig.busy() && !monitor.runner().running() && !w->start->isEnabled());
        QTest::mouseClick(rig.progressDialog()->findChild<QPushButton*>(), Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(!rig.busy() && w->start->isEnabled(), 5000);

        QTest::mouseClick(w->start, Qt::LeftButton);
        rig.MIReadSMeterClick();
        QVERIFY(monitor.runner().running() && !rig.busy());
        QVERIFY(!read->isEnabled() && !sweep->isEnabled());
        QVERIFY(f.c().actions.rigStatus->text().endsWith(QStringLiteral("— in use by the monitor")));
        monitor.setStartBlocked(true);  // as a rig job starting now would
        QTest::mouseClick(w->stop, Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(!monitor.runner().running(), 5000);
        QVERIFY(!w->start->isEnabled() && read->isEnabled() && sweep->isEnabled());
    }

    // An unreachable rig ends the run with a message naming the address; nothing is logged.
    void unreachableRigIsReported() {
        QTemporaryDir dir;
        const std::string path = dir.filePath(QStringLiteral("log.sqlite")).toStdString();
        WindowFixture f;
        UseLog(f, path);
        AppSettings s = f.window->document().settings();
        const int port = rig::test::FreeLoopbackPort();
        s.rig.connection.target = rig::RigctldAddress{"127.0.0.1", port};
        f.window->document().setSettings(s);
        f.c().actions.monitor->trigger();
        MonitorController& monitor = Controller(f).monitor();
        QTest::mouseClick(monitor.window()->start, Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(!monitor.runner().running(), 20000);
        QCOMPARE(f.dialogs.messages.size(), 1u);
        QVERIFY(f.dialogs.messages[0].text.contains(QString::number(port)));
        QVERIFY(!QFile::exists(QString::fromStdString(path)));
    }

    void entryLogging_data() {
        QTest::addColumn<bool>("on");
        QTest::addColumn<bool>("writable");
        QTest::addColumn<int>("logged");
        QTest::addColumn<int>("errors");
        QTest::newRow("off") << false << true << 0 << 0;
        QTest::newRow("on") << true << true << 2 << 0;
        QTest::newRow("on, log cannot be written") << true << false << 0 << 1;
    }
    // Each entered row is logged as typed with its band and the locator, or not at all;
    // an unwritable log is reported once and the list keeps every row.
    void entryLogging() {
        QFETCH(bool, on);
        QFETCH(bool, writable);
        QFETCH(int, logged);
        QFETCH(int, errors);
        QTemporaryDir dir;
        QFile blocker(dir.filePath(QStringLiteral("file")));  // a file where a folder should be
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        const std::string path = dir.filePath(writable ? QStringLiteral("log.sqlite")
                                                       : QStringLiteral("file/log.sqlite"))
                                     .toStdString();
        WindowFixture f;
        UseLog(f, path, on);
        f.window->document().setLocatorAndTime("JO40CQ", std::nullopt);
        EnterField(f, "20");
        EnterField(f, "25");
        QCOMPARE(f.window->document().measList().size(), 2u);
        QTRY_VERIFY(Controller(f).entryLogger().idle());
        QCOMPARE(static_cast<int>(f.dialogs.messages.size()), errors);
        const std::vector<LogReading> readings = LoggedReadings(path);
        QCOMPARE(static_cast<int>(readings.size()), logged);
        for (const LogReading& r : readings) {
            QCOMPARE(QString::fromStdString(r.band), f.c().CBBand->currentText());
            QCOMPARE(r.source, ReadingSource::Typed);
            QCOMPARE(r.locator, std::string("JO40CQ"));
        }
    }

    // A log held by another program's write lock holds neither an entry nor the window:
    // the commits wait on the worker, in order, the list group says so, and closing the
    // window waits for them without losing one.
    void entryCommitsWaitOffTheWindowsThread() {
        QTemporaryDir dir;
        const std::string path = dir.filePath(QStringLiteral("log.sqlite")).toStdString();
        StationLog::Open(path);
        WindowFixture f;
        f.window->show();
        UseLog(f, path, true);
        SqliteDb other(path, SqliteDb::Mode::ReadWriteCreate);
        other.exec("BEGIN IMMEDIATE");
        EnterField(f, "20");
        EnterField(f, "25");
        QCOMPARE(f.window->document().measList().size(), 2u);
        QVERIFY(!Controller(f).entryLogger().idle());
        QTRY_COMPARE(f.c().GBUD->title(),
                     QStringLiteral("USER Data — writing 2 measurements to the station log…"));
        QVERIFY(!f.window->close());
        other.exec("COMMIT");
        QTRY_VERIFY(!f.window->isVisible());
        QCOMPARE(f.c().GBUD->title(), QStringLiteral("USER Data"));
        QVERIFY(f.dialogs.messages.empty());
        const std::vector<LogReading> logged = LoggedReadings(path);
        QCOMPARE(logged.size(), 2u);
        QCOMPARE(logged[0].fieldDbuVm, 20.0);
        QCOMPARE(logged[1].fieldDbuVm, 25.0);
    }

    // Printing a view asks for the printers and hands the job over off the window's thread;
    // Print says so meanwhile, and the server's default printer is proposed.
    void viewPrintsOffTheWindowsThread() {
        LevelViewWindow w;
        LogViewController& view = w.view;
        QSemaphore asked, listed, handedOver, release;
        view.setPrinting(
            [&] {
                asked.release();
                return listed.tryAcquire(1, 10000) ? CupsPrinters{{"Home", "Office"}, "Office"}
                                                   : CupsPrinters{};
            },
            [&](const std::string& printer, const std::string&, const QByteArray& pdf) {
                handedOver.release();
                const bool released = release.tryAcquire(1, 10000);
                return released && printer == "Office" && pdf.startsWith("%PDF-")
                           ? std::string()
                           : std::string("not handed over");
            });
        QPushButton* print = view.window()->print;
        w.f.dialogs.itemAnswers.push_back(1);
        QTest::mouseClick(print, Qt::LeftButton);
        QVERIFY(asked.tryAcquire(1, 10000));
        QVERIFY(!print->isEnabled());
        QCOMPARE(print->text(), QStringLiteral("Finding printers…"));
        listed.release();
        QTRY_COMPARE(print->text(), QStringLiteral("Printing…"));
        QCOMPARE(w.f.dialogs.itemsShown.back(), (QStringList{"Home", "Office"}));
        QCOMPARE(w.f.dialogs.itemsProposed.back(), 1);
        QVERIFY(handedOver.tryAcquire(1, 10000));
        release.release();
        QTRY_VERIFY(print->isEnabled());
        QVERIFY(w.f.dialogs.messages.empty());
    }

    // Each band's median over the chosen span replaces the list, with the log's locator.
    void logToListGivesTheMedians() {
        HandMadeLogWindow w;
        WindowFixture& f = w.f;
        EnterField(f, "50");  // not saved: replaced only after a Yes
        f.dialogs.spanAnswers.push_back(LogSpan{March1, March1 + 86400});
        TriggerAndWait(f.c().actions.logToList);
        QCOMPARE(f.dialogs.questions.size(), 1u);
        QCOMPARE(f.window->document().measList().size(), 1u);
        QCOMPARE(f.window->document().measList().row(0).fieldDbuVm, 50.0);
        f.dialogs.spanAnswers.push_back(LogSpan{March1, March1 + 86400});
        f.dialogs.confirmAnswers.push_back(true);
        TriggerAndWait(f.c().actions.logToList);
        QCOMPARE(f.dialogs.questions.size(), 2u);
        QCOMPARE(f.dialogs.spansProposed.size(), 2u);
        QCOMPARE(*f.dialogs.spansProposed[0].from, March1 + 3600);  // the whole log in hours
        QCOMPARE(*f.dialogs.spansProposed[0].to, March1 + 3 * 3600);
        const MeasList& list = f.window->document().measList();
        QCOMPARE(list.size(), 2u);
        QCOMPARE(list.row(0).freqMHz, Band("40m").freqMHz);
        QCOMPARE(list.row(0).fieldDbuVm, 20.0);
        QCOMPARE(list.row(1).freqMHz, Band("20m").freqMHz);
        QCOMPARE(list.row(1).fieldDbuVm, 6.0);
        QCOMPARE(f.state().Locator, std::string("JO40CQ"));
        QVERIFY(f.dialogs.messages.empty());

        // A span without readings changes nothing.
        f.dialogs.spanAnswers.push_back(LogSpan{March1 + 86400, March1 + 2 * 86400});
        TriggerAndWait(f.c().actions.logToList);
        QCOMPARE(list.size(), 2u);
        QCOMPARE(f.dialogs.messages.size(), 1u);
        QCOMPARE(f.dialogs.questions.size(), 2u);  // the list came from the log: no question
    }

    // Without a log, the views, Log to Measurement List and Export say how a log comes
    // about, as an information, and create none.
    void commandsWithoutALogSayHowOneComesAbout() {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("none.sqlite"));
        WindowFixture f;
        UseLog(f, path.toStdString());
        for (QAction* command : {f.c().actions.levelOverTime, f.c().actions.hourlyProfile,
                                 f.c().actions.logToList, f.c().actions.exportLog}) {
            f.dialogs.messages.clear();
            command->trigger();
            QCOMPARE(f.dialogs.messages.size(), 1u);
            QCOMPARE(f.dialogs.messages[0].title, InformationTitle);
            QVERIFY(f.dialogs.messages[0].text.contains(QStringLiteral("Monitor…")));
        }
        QVERIFY(!QFile::exists(path));
    }

    // Station Details: read where the log lies, nothing made on Cancel, the edit written and
    // offered again the next time.
    void stationDetailsAreKeptInTheLog() {
        QTemporaryDir dir;
        const std::string path = dir.filePath(QStringLiteral("new/log.sqlite")).toStdString();
        WindowFixture f;
        UseLog(f, path);
        QAction* command = f.c().actions.stationDetails;
        f.dialogs.stationDetailsAnswers.push_back(std::nullopt);
        TriggerAndWait(command);
        QVERIFY(!QFile::exists(QString::fromStdString(path)));
        StationDetails edited;
        edited[StationField::Callsign] = "DL1ABC";
        edited[StationField::Address] = "Hauptstr. 1\n12345 Musterstadt";
        f.dialogs.stationDetailsAnswers.push_back(edited);
        TriggerAndWait(command);
        f.dialogs.stationDetailsAnswers.push_back(std::nullopt);
        TriggerAndWait(command);
        QCOMPARE(f.dialogs.stationDetailsShown.size(), 3u);
        QVERIFY(f.dialogs.stationDetailsShown[1].empty());
        QVERIFY(f.dialogs.stationDetailsShown[2] == edited);
        StationLog log = StationLog::Open(path, StationLog::OpenMode::ReadOnly);
        QVERIFY(ReadStationDetails(log) == edited);
        QVERIFY(f.dialogs.messages.empty());
    }

#ifdef FW_CLI_PATH
    void exportEqualsTheCommandLine_data() {
        QTest::addColumn<int>("choice");
        QTest::addColumn<QString>("format");
        QTest::newRow("csv") << 0 << "csv";
        QTest::newRow("databank") << 1 << "databank";
    }
    void exportEqualsTheCommandLine() {
        QFETCH(int, choice);
        QFETCH(QString, format);
        HandMadeLogWindow w;
        WindowFixture& f = w.f;
        const QString windowFile = w.dir.filePath(QStringLiteral("window.csv"));
        const QString cliFile = w.dir.filePath(QStringLiteral("cli.csv"));
        f.dialogs.itemAnswers.push_back(choice);
        f.dialogs.spanAnswers.push_back(LogSpan{March1 + 3600, March1 + 9000});
        f.dialogs.saveAnswers.push_back(windowFile);
        TriggerAndWait(f.c().actions.exportLog);
        QVERIFY(f.dialogs.messages.empty());

        QProcess cli;
        cli.start(QStringLiteral(FW_CLI_PATH),
                  {"log", "export", "--log", QString::fromStdString(w.path), "--format", format,
                   "--from", "2026-03-01T01:00",
                   "--to", "2026-03-01T02:30", "--output", cliFile});
        QVERIFY(cli.waitForFinished(60000));
        QCOMPARE(cli.exitCode(), 0);
        QFile a(windowFile), b(cliFile);
        QVERIFY(a.open(QIODevice::ReadOnly) && b.open(QIODevice::ReadOnly));
        const QByteArray bytes = a.readAll();
        QVERIFY(bytes.count('\n') >= 3);  // header and the readings or bands of the span
        QCOMPARE(bytes, b.readAll());
    }
#endif

    // The level-over-time view draws the ticked bands and saves the picture shown.
    void viewRendersAndSaves() {
        LevelViewWindow w;
        WindowFixture& f = w.f;
        LogViewController& view = w.view;
        QVERIFY(view.window() && view.window()->isVisible());
        QCOMPARE(view.window()->bandList->count(), 2);
        const QImage both = PictureToQImage(view.picture());
        QVERIFY(!both.isNull());
        view.window()->bandList->item(0)->setCheckState(Qt::Unchecked);
        QTRY_VERIFY(!view.loading());
        const QImage one = PictureToQImage(view.picture());
        QVERIFY(one != both);

        const QString file = w.dir.filePath(QStringLiteral("view.png"));
        f.dialogs.saveAnswers.push_back(file);
        QTest::mouseClick(view.window()->save, Qt::LeftButton);
        QVERIFY(f.dialogs.messages.empty());
        QCOMPARE(QImage(file).convertToFormat(QImage::Format_RGB888), one);

        // Print: the installed printers to choose from, or a warning that there is none.
        QStringList printers;
        for (const std::string& name : ListCupsPrinters().names) printers << QString::fromStdString(name);
        f.dialogs.itemAnswers.push_back(std::nullopt);  // cancelled: nothing is printed
        QTest::mouseClick(view.window()->print, Qt::LeftButton);
        QTRY_VERIFY(view.window()->print->isEnabled());
        if (printers.isEmpty()) {
            QCOMPARE(f.dialogs.messages.size(), 1u);
            QCOMPARE(f.dialogs.messages[0].title, WarningTitle);
        } else {
            QCOMPARE(f.dialogs.itemsShown.back(), printers);
            QVERIFY(f.dialogs.messages.empty());
        }

        f.c().actions.hourlyProfile->trigger();
        QTRY_VERIFY(f.c().actions.hourlyProfile->isEnabled() &&
                    !Controller(f).hourlyProfile().loading());
        QVERIFY(!PictureToQImage(Controller(f).hourlyProfile().picture()).isNull());
    }

    // The view is read off the window's thread, "Loading…" shown meanwhile; a newer request
    // gives up the one under way, and closing the view gives up its read.
    void viewReadsOffTheWindowsThread() {
        LevelViewWindow w;
        LogViewWindow& window = *w.view.window();
        const QImage both = PictureToQImage(w.view.picture());
        QSemaphore started, release;
        std::vector<std::stop_token> stops;  // each pushed before `started` says so
        std::atomic<bool> onWindowThread = false;
        w.view.setViewReader([&, windowThread = QThread::currentThread()](
                                 const std::string& path, const LogViewRequest& r,
                                 const ItuCoefficientCache& c, double ratio, std::stop_token stop) {
            onWindowThread = onWindowThread || QThread::currentThread() == windowThread;
            stops.push_back(stop);
            started.release();
            for (int i = 0; i < 1000 && !stop.stop_requested() && !release.tryAcquire(1, 10);) ++i;
            StationLog log = StationLog::Open(path, StationLog::OpenMode::ReadOnly);
            return RenderLogView(log, r, c, ratio);
        });
        for (const Qt::CheckState state : {Qt::Unchecked, Qt::Checked, Qt::Unchecked}) {
            window.bandList->item(0)->setCheckState(state);
            QVERIFY(started.tryAcquire(1, 10000));
            QCOMPARE(window.image->text(), QStringLiteral("Loading…"));
            QVERIFY(w.view.loading() && !window.save->isEnabled() && !window.print->isEnabled());
            if (state == Qt::Unchecked) continue;
            QVERIFY(stops[0].stop_requested());
            release.release(2);  // the given-up read may take one on its way out
            QTRY_VERIFY(!w.view.loading());
            QVERIFY(window.save->isEnabled() && window.print->isEnabled());
            QCOMPARE(PictureToQImage(w.view.picture()), both);  // the newer request's
        }
        window.close();
        QVERIFY(!w.view.loading() && stops[2].stop_requested() && !stops[1].stop_requested());
        QVERIFY(!onWindowThread);
    }

    // The printed page: one A4 page in landscape with the picture on it.
    void viewPrintsAsOneLandscapePage() {
        const QImage picture(800, 500, QImage::Format_RGB888);
        const QByteArray pdf = PicturePdfBytes(picture, QStringLiteral("Level over Time"));
        QVERIFY(pdf.startsWith("%PDF-"));
        QCOMPARE(pdf.count("/Type /Page\n") + pdf.count("/Type /Page "), 1);
        QVERIFY(pdf.contains("/MediaBox [0 0 842"));  // A4 landscape: 842 x 595 points
    }

    // The campaign report opens in the print window; its page buttons reach the last page
    // and "Save as PDF" writes the pages shown. The comparison adds its page.
    void campaignReportPreviewsAndSavesItsPages() {
        HandMadeLogWindow w;
        WindowFixture& f = w.f;
        QTemporaryDir& dir = w.dir;
        const LogSpan day{March1, March1 + 86400};
        const LogSpan early{March1, March1 + 7200}, late{March1 + 7200, March1 + 86400};
        std::vector<int> pageCounts;
        for (const bool compare : {false, true}) {
            const QString pdf = dir.filePath(QStringLiteral("report%1.pdf").arg(pageCounts.size()));
            f.dialogs.campaignAnswers.push_back(compare ? CampaignRequest{day, early, late, {}}
                                                        : CampaignRequest{day, {}, {}, {}});
            f.dialogs.saveAnswers.push_back(pdf);
            int pages = 0, lastShown = 0;
            // The report is built off the window's thread; the preview opens after.
            QTimer poll;
            QObject::connect(&poll, &QTimer::timeout, [&] {
                auto* w = qobject_cast<TFormPrint*>(QApplication::activeModalWidget());
                if (!w) return;
                poll.stop();
                w->VorschauErzeugen();
                pages = w->pageCount();
                while (w->navButton(NavButton::NextPage)->isEnabled())
                    w->navButton(NavButton::NextPage)->click();
                lastShown = w->currentPage();
                w->savePdfButton()->click();
                QTRY_VERIFY(!w->jobRunning());  // saved off the window's thread
                w->close();
            });
            poll.start(10);
            f.c().actions.campaignReport->trigger();
            QTRY_VERIFY_WITH_TIMEOUT(pages > 0 && f.c().actions.campaignReport->isEnabled(),
                                     60000);
            QVERIFY(f.dialogs.messages.empty());
            QVERIFY(pages >= 3);  // summary, the bands, method
            QCOMPARE(lastShown, pages);
            QFile file(pdf);
            QVERIFY(file.open(QIODevice::ReadOnly));
            const QByteArray bytes = file.readAll();
            QVERIFY(bytes.startsWith("%PDF-"));
            QCOMPARE(bytes.count("/Type /Page\n") + bytes.count("/Type /Page "), pages);
            pageCounts.push_back(pages);
        }
        QVERIFY(pageCounts[1] > pageCounts[0]);
        QCOMPARE(*f.dialogs.spansProposed.back().from, March1 + 3600);  // the whole log

        // A span without readings opens no window.
        f.dialogs.campaignAnswers.push_back(
            CampaignRequest{{March1 + 86400, March1 + 2 * 86400}, {}, {}, {}});
        f.c().actions.campaignReport->trigger();
        QTRY_COMPARE_WITH_TIMEOUT(f.dialogs.messages.size(), 1u, 60000);
        QCOMPARE(f.dialogs.messages[0].text, QString::fromLatin1(NoReadingsInSpanText));
        // Nor does a comparison of a span with itself.
        f.dialogs.campaignAnswers.push_back(CampaignRequest{day, day, day, {}});
        f.c().actions.campaignReport->trigger();
        QTRY_COMPARE_WITH_TIMEOUT(f.dialogs.messages.size(), 2u, 60000);
        QVERIFY(f.dialogs.messages[1].text.startsWith(
            QStringLiteral("Cannot compare: the before and after spans are the same")));
    }
    // While another program holds the log, the progress window says so; once it lets go,
    // the report goes on to its print window.
    void campaignReportSaysItWaitsForTheLog() {
        HandMadeLogWindow w;
        std::unique_ptr<SqliteDb> holder;
        w.f.dialogs.campaignAnswers.push_back(CampaignRequest{{March1, March1 + 86400}, {}, {}, {}});
        // Taken after the span was looked up, before the report opens the log.
        w.f.dialogs.whileCampaignChosen = [&] {
            holder = std::make_unique<SqliteDb>(w.path, SqliteDb::Mode::ReadWriteCreate);
            holder->exec("PRAGMA locking_mode = EXCLUSIVE; BEGIN EXCLUSIVE; INSERT INTO gaps"
                         " (utc, band, freq_mhz, reason, rig) VALUES (1, '', 1, 'r', '')");
        };
        int pages = 0;
        QTimer poll;
        QObject::connect(&poll, &QTimer::timeout, [&] {
            auto* print = qobject_cast<TFormPrint*>(QApplication::activeModalWidget());
            if (!print) return;
            print->VorschauErzeugen();
            pages = print->pageCount();
            print->close();
        });
        poll.start(10);
        w.f.c().actions.campaignReport->trigger();
        QPointer<QProgressDialog> progress;
        QTRY_VERIFY(progress = w.f.window->findChild<QProgressDialog*>("CampaignProgress"));
        QTRY_COMPARE(progress ? progress->labelText() : QString(),
                     QString::fromLatin1(LogWaitingText));
        QVERIFY(holder && pages == 0);
        holder->exec("ROLLBACK");
        holder.reset();
        QTRY_VERIFY_WITH_TIMEOUT(pages > 0 && w.f.c().actions.campaignReport->isEnabled(), 60000);
        QVERIFY(!progress && w.f.dialogs.messages.empty());
    }
    // Cancel in the progress window gives the report up: no print window and no message,
    // the command usable again.
    void campaignReportCancels() {
        HandMadeLogWindow w;
        w.f.dialogs.campaignAnswers.push_back(
            CampaignRequest{{March1, March1 + 86400}, {}, {}, {}});
        QAction* command = w.f.c().actions.campaignReport;
        command->trigger();
        // The log's span is looked up off the window's thread before the dialog asks.
        QVERIFY(!command->isEnabled() && w.f.dialogs.campaignAnswers.size() == 1);
        QPointer<QProgressDialog> progress;
        for (QDeadlineTimer d(10000); !progress && !d.hasExpired(); QThread::msleep(1)) {
            QCoreApplication::processEvents();
            progress = w.f.window->findChild<QProgressDialog*>("CampaignProgress");
        }
        QVERIFY(progress && progress->isVisible() && !command->isEnabled());
        QTest::mouseClick(progress->findChild<QPushButton*>(), Qt::LeftButton);
        // A print window opening now would hold this wait until the test times out.
        QTRY_VERIFY_WITH_TIMEOUT(command->isEnabled(), 60000);
        QVERIFY(!progress && w.f.dialogs.messages.empty());
    }
};

FW_WINDOW_TEST(StationLogTest);

}  // namespace fw::testing

#include "station_log_qtest.moc"
