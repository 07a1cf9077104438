// The SDR in the window, against the tests' SoapySDR module (complex Gaussian noise of a set
// density): Measure Noise and Sweep Bands… add the rows of typed antenna-power entries and
// fill the Spectrum window, a gone or busy device is named, the monitor logs the SDR, and
// Rig Settings… keeps the SDR's settings, looking for devices off the window's thread.
#include <QButtonGroup>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressDialog>
#include <QPushButton>
#include <QRadioButton>
#include <QSemaphore>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTableWidget>
#include <QTest>
#include <cmath>

#include "app/rig/noise_controller.h"
#include "app/rig/rig_controller.h"
#include "app/rig/rig_settings_dialog.h"
#include "app/rig/spectrum_controller.h"
#include "app/rig/spectrum_window.h"
#include "app/stationlog/monitor_controller.h"
#include "app/stationlog/monitor_window.h"
#include "app/stationlog/station_log_controller.h"
#include "libs/regional.h"
#include "sdr/sdr_lock.h"
#include "stationlog/log_queries.h"
#include "support/test_sdr.h"
#include "window_fixture.h"
#include "window_test_registry.h"

namespace fw::testing {

namespace {

// Long enough for 30 s of samples in the sanitizer build; QTRY_ returns as soon as it holds.
constexpr int SdrTimeoutMs = 60000;
const std::string TestSdrArgs = "driver=fwtest,n0_db=-140";

RigController& Rig(WindowFixture& f) {
    return *f.window->findChild<RigController*>();
}

SdrPreferences TestSdr(double seconds = 0.2) {
    SdrPreferences p;
    p.source = ReceiverKind::Sdr;
    p.device.args = TestSdrArgs;
    p.device.rateHz = 250000;
    p.device.refDbm = -30;
    p.device.seconds = seconds;
    p.refSet = true;
    return p;
}

void UseSdr(WindowFixture& f, const SdrPreferences& sdr, const std::string& logPath = {}) {
    AppSettings s = f.window->document().settings();
    s.sdr = sdr;
    s.rig.offsets = {{"40m", 3}};
    s.log.path = logPath;
    s.log.logEntries = !logPath.empty();
    f.window->document().setSettings(s);
}

std::vector<LogReading> Logged(const std::string& path) {
    if (!QFile::exists(QString::fromStdString(path))) return {};
    StationLog log = StationLog::Open(path, StationLog::OpenMode::ReadOnly);
    return ReadingsIn(log, {});
}

}  // namespace

class SdrTest : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase() { test::UseTestSdr(); }
    void cleanup() { unsetenv("FW_TEST_SDR_GONE"); }

    // The row is the AntPwr entry of 10 log10(N0 B) + REF + the band's calibration, shown in
    // the entry group as the typed power would be; the spectrum is there to see and save.
    void measureNoiseEntersThePowerAndShowsTheSpectrum() {
        QTemporaryDir dir;
        const std::string log = dir.filePath(QStringLiteral("log.sqlite")).toStdString();
        WindowFixture f;
        UseSdr(f, TestSdr(), log);
        QCOMPARE(f.c().actions.rigRead->text(), QStringLiteral("&Measure Noise"));
        QVERIFY(f.c().actions.rigStatus->text().startsWith(
            QString::fromStdString("SDR: " + TestSdrArgs)));
        f.c().CBBand->setCurrentText(QStringLiteral("40m"));
        f.c().actions.rigRead->trigger();
        QVERIFY(Rig(f).busy() && Rig(f).progressDialog());
        QVERIFY(!f.c().actions.rigRead->isEnabled());
        QTRY_VERIFY_WITH_TIMEOUT(!Rig(f).busy(), SdrTimeoutMs);
        QVERIFY(f.dialogs.messages.empty());
        QCOMPARE(f.window->document().measList().size(), size_t(1));
        const MeasRow row = f.window->document().measList().row(0);
        QCOMPARE(row.entryUnit, std::string("AntPwr"));
        const double expected = -140 + 10 * std::log10(2700.0) - 30 + 3;
        QVERIFY2(std::abs(row.antPowerDbm - expected) < 1.0, qPrintable(QString::number(row.antPowerDbm)));
        QCOMPARE(f.c().RadioGroup1Buttons->checkedId(), 2);  // antenna power
        QVERIFY(f.c().actions.rigStatus->text().endsWith(QStringLiteral("— idle")));
        QTRY_COMPARE(Logged(log).size(), size_t(1));
        QCOMPARE(Logged(log)[0].source, ReadingSource::Sdr);
        QCOMPARE(Logged(log)[0].rig, TestSdrArgs);
        QVERIFY(Logged(log)[0].estimate);  // with the estimate behind it
        QVERIFY(std::abs(Logged(log)[0].estimate->n0DbfsPerHz + 140) < 1.0);

        f.c().actions.rigSpectrum->trigger();
        SpectrumController& spectrum = Rig(f).findChild<NoiseController*>()->spectrum();
        QVERIFY(spectrum.window() && spectrum.window()->isVisible());
        QCOMPARE(spectrum.window()->reading->currentText(), QStringLiteral("40m"));
        QCOMPARE(spectrum.picture().width, 800);
        const QString file = dir.filePath(QStringLiteral("spectrum.png"));
        f.dialogs.saveAnswers.push_back(file);
        QTest::mouseClick(spectrum.window()->save, Qt::LeftButton);
        QVERIFY(QFile(file).size() > 1000);
    }

    // A sweep measures every band chosen; cancelled, it keeps the rows taken.
    void sweepMeasuresEachBandAndCancelKeepsTheRows() {
        WindowFixture f;
        UseSdr(f, TestSdr());
        f.dialogs.bandAnswers = {QStringList{"80m", "40m", "20m"}};
        f.c().actions.rigSweep->trigger();
        QTRY_VERIFY_WITH_TIMEOUT(!Rig(f).busy(), SdrTimeoutMs);
        QVERIFY(f.dialogs.messages.empty());
        QCOMPARE(f.window->document().measList().size(), size_t(3));
        f.c().actions.rigSpectrum->trigger();
        QCOMPARE(Rig(f).findChild<NoiseController*>()->spectrum().window()->reading->count(), 3);

        UseSdr(f, TestSdr(30));  // long enough to be cancelled in the second band
        f.dialogs.bandAnswers = {QStringList{"80m", "40m", "20m", "15m"}};
        f.c().actions.rigSweep->trigger();
        QTRY_VERIFY_WITH_TIMEOUT(f.window->document().measList().size() >= 4, SdrTimeoutMs);
        QTest::mouseClick(Rig(f).progressDialog()->findChild<QPushButton*>(), Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(!Rig(f).busy(), 3000);
        const std::size_t kept = f.window->document().measList().size();
        QVERIFY2(kept >= 4 && kept < 7, qPrintable(QString::number(kept)));
        QVERIFY(f.c().actions.rigStatus->text().contains(QStringLiteral("sweep cancelled after")));
        QVERIFY(f.dialogs.messages.empty());
    }

    // A device that is gone, or held by another job, is named; nothing is added.
    void goneOrBusySdrIsNamed() {
        WindowFixture f;
        UseSdr(f, TestSdr());
        setenv("FW_TEST_SDR_GONE", "1", 1);
        f.c().actions.rigRead->trigger();
        QTRY_VERIFY_WITH_TIMEOUT(!Rig(f).busy(), SdrTimeoutMs);
        unsetenv("FW_TEST_SDR_GONE");
        {
            // The same device by its serial number.
            const sdr::ClaimedSdr held =
                sdr::ClaimSdr({"serial=FW0001", 0, {}, "", 0, 1}, "floorwatch-cli monitor", {});
            f.c().actions.rigRead->trigger();
            QTRY_VERIFY_WITH_TIMEOUT(!Rig(f).busy(), SdrTimeoutMs);
        }
        QCOMPARE(f.dialogs.messages.size(), size_t(2));
        QVERIFY2(f.dialogs.messages[0].text.contains(QStringLiteral("SDR not available: ")),
                 qPrintable(f.dialogs.messages[0].text));
        QVERIFY2(f.dialogs.messages[1].text.contains(QStringLiteral("SDR in use by floorwatch-cli monitor")),
                 qPrintable(f.dialogs.messages[1].text));
        QVERIFY(f.window->document().measList().empty());

        UseSdr(f, SdrPreferences{ReceiverKind::Sdr, {}, false});  // no device set up yet
        f.c().actions.rigRead->trigger();
        QVERIFY(!Rig(f).busy());
        QCOMPARE(f.dialogs.messages.size(), size_t(3));
    }

    // The monitor reads the chosen SDR and logs its readings with source "sdr".
    void monitorLogsTheSdr() {
        QTemporaryDir dir;
        const std::string log = dir.filePath(QStringLiteral("log.sqlite")).toStdString();
        WindowFixture f;
        UseSdr(f, TestSdr(), log);
        f.c().actions.monitor->trigger();
        MonitorController& monitor = f.window->findChild<StationLogController*>()->monitor();
        monitor.window()->bands->setText(QStringLiteral("40m"));
        monitor.window()->everySeconds->setValue(1);
        QTest::mouseClick(monitor.window()->start, Qt::LeftButton);
        QVERIFY(monitor.runner().running());
        QVERIFY(!f.c().actions.rigRead->isEnabled());
        QTRY_VERIFY_WITH_TIMEOUT(!Logged(log).empty(), SdrTimeoutMs);
        QTest::mouseClick(monitor.window()->stop, Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(!monitor.runner().running(), 10000);
        const LogReading r = Logged(log).front();
        QCOMPARE(r.source, ReadingSource::Sdr);
        QCOMPARE(r.rig, std::string("Floorwatch test SDR"));
        // Its spectrum is the one shown.
        f.c().actions.rigSpectrum->trigger();
        QCOMPARE(Rig(f).findChild<NoiseController*>()->spectrum().window()->reading->currentText(),
                 QStringLiteral("40m"));
        QVERIFY(f.dialogs.messages.empty());
    }

    // The dialog lists the devices found off the window's thread, a choice fills in its
    // arguments, the SDR's values are checked with the command line's limits, and the
    // settings are stored and read back.
    void sdrSettingsAreCheckedAndStored() {
        QSemaphore release;
        RigSettingsSources sources;
        sources.devices = [&] {
            const bool released = release.tryAcquire(1, 10000);
            return released ? sdr::FindAllSdrDevices() : std::vector<sdr::SdrDeviceInfo>{};
        };
        sources.models = [] { return std::vector<rig::RigModelInfo>{}; };
        ReceiverSettings current{RigSettings{}, TestSdr()};
        current.sdr.device.args.clear();
        RigSettingsDialog dialog(current, nullptr, sources);
        auto* list = dialog.findChild<QListWidget*>(QStringLiteral("sdrDeviceList"));
        QVERIFY(list->item(0)->text().startsWith(QStringLiteral("Looking")));
        auto* bands = dialog.findChild<QTableWidget*>(QStringLiteral("bandTable"));
        QVERIFY(bands->isColumnHidden(2));  // an SDR has no mode to set
        release.release();
        QTRY_COMPARE(list->item(0)->text(),
                     QStringLiteral("driver=fwtest  Floorwatch test SDR  serial=FW0001"));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                          list->visualItemRect(list->item(0)).center());
        auto* args = dialog.findChild<QLineEdit*>(QStringLiteral("sdrArgs"));
        QCOMPARE(args->text(), QStringLiteral("driver=fwtest,serial=FW0001"));

        const QList<QLineEdit*> fields = dialog.findChild<SdrSettingsBox*>()->findChildren<QLineEdit*>();
        QLineEdit* rate = fields[1];
        QLineEdit* ref = fields[4];
        QLineEdit* seconds = fields[5];
        fields[6]->setText(QStringLiteral("remote:format=CS8"));
        const struct {
            QLineEdit* field;
            QString text;
            QString error;
        } refused[] = {
            {rate, "5", "the sample rate must lie between 10000 and 200000000 Hz, not 5"},
            {seconds, "90", "the capture time must lie between 0.1 and 60 s, not 90"},
            {ref, "", "the SDR needs its reference level"},
            {ref, "x", "the reference level \"x\" is no number"},
        };
        const QChar sep(SystemDecimalSeparator());
        QString error;
        for (const auto& c : refused) {
            const QString before = c.field->text();
            c.field->setText(c.text);
            QVERIFY(!dialog.result(error));
            QVERIFY2(error.startsWith(QString(c.error).replace(QChar('.'), sep)), qPrintable(error));
            // With the rig chosen, the SDR's fields do not hold up the settings.
            dialog.findChild<QRadioButton*>(QStringLiteral("useSdr"))->setChecked(false);
            QVERIFY(dialog.result(error) && !bands->isColumnHidden(2));
            dialog.findChild<QRadioButton*>(QStringLiteral("useSdr"))->setChecked(true);
            c.field->setText(before);
        }
        const std::optional<ReceiverSettings> taken = dialog.result(error);
        QVERIFY2(taken, qPrintable(error));
        QVERIFY(taken->sdr.chosen());
        QCOMPARE(taken->sdr.device.args, std::string("driver=fwtest,serial=FW0001"));
        QCOMPARE(taken->sdr.device.refDbm, -30.0);
        QCOMPARE(taken->sdr.device.rateHz, 250000.0);

        {
            WindowFixture f;
            f.dialogs.rigSettingsAnswers = {*taken};
            f.c().actions.rigSettings->trigger();
        }
        WindowFixture again;
        const SdrPreferences back = again.window->document().settings().sdr;
        QVERIFY(back.chosen() && back.refSet && !back.device.gainDb);
        QCOMPARE(back.device.args, taken->sdr.device.args);
        QCOMPARE(back.device.seconds, taken->sdr.device.seconds);
        QCOMPARE(back.device.streamArgs, std::string("remote:format=CS8"));
        again.dialogs.rigSettingsAnswers = {ReceiverSettings{DefaultSettings().rig, {}}};
        again.c().actions.rigSettings->trigger();  // back to the defaults for the other tests
    }
};

FW_WINDOW_TEST(SdrTest);

}  // namespace fw::testing

#include "sdr_qtest.moc"
