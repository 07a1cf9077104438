// The "Rig" menu against a real rigctld with Hamlib's dummy rig (its S-meter always reads
// -12 dB over S9): a reading and a sweep add the rows of typed antenna-voltage entries, a
// sweep can be cancelled and keeps its rows, an unreachable rigctld is named, and the rig
// settings are stored.
#include <QAbstractButton>
#include <QAction>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressDialog>
#include <QPushButton>
#include <QTableWidget>
#include <QListWidget>
#include <QSemaphore>
#include <QTest>

#include "app/rig/rig_settings_dialog.h"
#include <map>
#include <optional>

#include "app/rig/band_choice_dialog.h"
#include "app/rig/rig_controller.h"
#include "app/rig/rig_settings_dialog.h"
#include "libs/regional.h"
#include "model/levels.h"
#include "rig/reading.h"
#include "rigctld_process.h"
#include "window_fixture.h"
#include "window_test_registry.h"

namespace fw::testing {

namespace {

using rig::test::RigctldProcess;

// Long enough for a sweep of a few bands on a loaded machine; QTRY_ returns as soon as it holds.
constexpr int RigTimeoutMs = 20000;

RigController& Rig(WindowFixture& f) {
    return *f.window->findChild<RigController*>();
}

void UseRigctld(WindowFixture& f, const std::string& address) {
    AppSettings s = f.window->document().settings();
    s.rig.connection.target = rig::ParseRigctldAddress(address);
    s.rig.settleMs = 0;
    f.window->document().setSettings(s);
}

void ChooseTarget(WindowFixture& f, bool free, const QString& bandOrMHz) {
    f.c().CBFreqMode->setChecked(free);
    if (free)
        f.c().EditFrequency->setText(bandOrMHz);
    else
        f.c().CBBand->setCurrentText(bandOrMHz);
}

QStringList ListLines(WindowFixture& f) {
    return f.window->document().listModel().stringList();
}

// Every message shown so far, for the failure report of a check that expects none.
QByteArray ShownTexts(WindowFixture& f) {
    QStringList texts;
    for (const auto& m : f.dialogs.messages) texts << m.text;
    return texts.join(QStringLiteral(" | ")).toUtf8();
}

QString StatusText(WindowFixture& f) {
    return f.c().actions.rigStatus->text();
}

double BandMHz(const QString& band) {
    for (const BandEntry& b : BandTable)
        if (QString::fromUtf8(b.text.data(), b.text.size()) == band) return b.frequencyMHz;
    return 0;
}

void CompareRigSettings(const RigSettings& a, const RigSettings& b) {
    QCOMPARE(rig::ConnectionLabel(a.connection), rig::ConnectionLabel(b.connection));
    const auto* da = std::get_if<rig::DirectRig>(&a.connection.target);
    const auto* db = std::get_if<rig::DirectRig>(&b.connection.target);
    QCOMPARE(da != nullptr, db != nullptr);
    if (da) {
        QCOMPARE(da->speed, db->speed);
        QVERIFY(da->conf == db->conf);
    }
    QCOMPARE(a.connection.timeoutMs, b.connection.timeoutMs);
    QCOMPARE(a.samples, b.samples);
    QCOMPARE(a.settleMs, b.settleMs);
    QCOMPARE(a.modes.splitMHz, b.modes.splitMHz);
    QCOMPARE(a.modes.belowSplit, b.modes.belowSplit);
    QCOMPARE(a.modes.fromSplit, b.modes.fromSplit);
    QVERIFY(a.modes.bandModes == b.modes.bandModes);
    QVERIFY(a.offsets == b.offsets);
}

// The letter after a single "&" in a control's text; none without one.
std::optional<QChar> Mnemonic(const QString& text) {
    for (qsizetype i = 0; i + 1 < text.size(); ++i) {
        if (text[i] != '&') continue;
        if (text[i + 1] != '&') return text[i + 1].toLower();
        ++i;
    }
    return std::nullopt;
}

// Checks that the keys of a dialog's labels and buttons are distinct, that each label with a
// key leads to a field, and that there are at least `least` keys.
void CheckDialogKeys(const QWidget& dialog, std::size_t least) {
    std::map<QChar, QString> taken;
    const auto take = [&](const QString& text) {
        const std::optional<QChar> key = Mnemonic(text);
        if (!key) return;
        QVERIFY2(taken.emplace(*key, text).second,
                 qPrintable(text + " shares its key with " + taken[*key]));
    };
    for (const QLabel* label : dialog.findChildren<QLabel*>()) {
        if (!Mnemonic(label->text())) continue;
        QVERIFY2(label->buddy(), qPrintable(label->text()));
        take(label->text());
    }
    for (const QAbstractButton* button : dialog.findChildren<QAbstractButton*>())
        take(button->text());
    QVERIFY(taken.size() >= least);
}

// No SoapySDR devices, at once.
RigSettingsSources NoDevices() {
    RigSettingsSources sources;
    sources.devices = [] { return std::vector<sdr::SdrDeviceInfo>{}; };
    return sources;
}

RigSettings EditedRigSettings() {
    RigSettings s;
    s.connection.target = rig::DirectRig{1, "/dev/ttyUSB0", 9600, {{"static_data", "1"}}};
    s.connection.timeoutMs = 2000;
    s.samples = 3;
    s.settleMs = 150;
    s.modes.splitMHz = 8;
    s.modes.belowSplit = "LSB";
    s.modes.fromSplit = "USB";
    s.modes.bandModes = {{"MW", "AM"}, {"10m", "FM"}};
    s.offsets = {{"40m", -1.5}, {"20m", 2.25}};
    return s;
}

}  // namespace

class RigTest : public QObject {
    Q_OBJECT

  private slots:
    void readSMeterAddsTheTypedEntry_data() {
        QTest::addColumn<bool>("free");
        QTest::addColumn<QString>("target");
        QTest::newRow("band") << false << QStringLiteral("40m");
        QTest::newRow("free frequency")
            << true << QString::fromStdString(rig::ExactNumberText(7.1, SystemDecimalSeparator()));
    }

    // The row equals the one ENTER gives for the median typed as antenna voltage, and the
    // entry group shows what ENTER would have shown.
    void readSMeterAddsTheTypedEntry() {
        QFETCH(bool, free);
        QFETCH(QString, target);
        RigctldProcess rigctld;
        WindowFixture f;
        UseRigctld(f, rigctld.address());
        ChooseTarget(f, free, target);

        f.c().actions.rigRead->trigger();
        // The reading runs on a worker: the command has returned before any row is there.
        QVERIFY(f.window->document().measList().empty());
        QVERIFY(Rig(f).busy() && Rig(f).progressDialog());
        QVERIFY(!f.c().actions.rigRead->isEnabled());
        QTRY_VERIFY_WITH_TIMEOUT(!Rig(f).busy(), RigTimeoutMs);
        QVERIFY2(f.dialogs.messages.empty(), ShownTexts(f).constData());
        QCOMPARE(f.window->document().measList().size(), size_t(1));
        QVERIFY(StatusText(f).endsWith(QStringLiteral("— idle")));
        const MeasRow row = f.window->document().measList().row(0);
        QCOMPARE(row.entryUnit, std::string("AntVol"));
        QCOMPARE(row.antVoltDbuV, 20 * std::log10(50.0) - 12);  // S9 = 50 uV, -12 dB

        WindowFixture typed;
        ChooseTarget(typed, free, target);
        typed.c().RadioGroup1Buttons->button(1)->click();  // antenna voltage
        typed.c().EditAntVol->setText(QString::fromStdString(
            rig::ExactNumberText(rig::AntennaVoltageDbuV(-12, 0), SystemDecimalSeparator())));
        typed.c().ButEnter->click();
        QCOMPARE(typed.window->document().measList().size(), size_t(1));
        QVERIFY(typed.window->document().measList().row(0) == row);
        QCOMPARE(ListLines(f), ListLines(typed));
        QCOMPARE(f.c().RadioGroup1Buttons->checkedId(), 1);
        for (auto field : {&MainControls::EditAntVol, &MainControls::EditAntdBm,
                           &MainControls::EditFieldStrength, &MainControls::EditGain})
            QCOMPARE((f.c().*field)->text(), (typed.c().*field)->text());
        QCOMPARE(f.memoLines(), typed.memoLines());
    }

    void sweepAddsRowsAndCancelKeepsThem() {
        RigctldProcess rigctld;
        WindowFixture f;
        f.window->show();
        QVERIFY(QTest::qWaitForWindowExposed(f.window.get()));
        UseRigctld(f, rigctld.address());
        const QStringList three{"80m", "40m", "20m"};
        f.dialogs.bandAnswers = {three};
        f.c().actions.rigSweep->trigger();
        QTRY_VERIFY_WITH_TIMEOUT(!Rig(f).busy(), RigTimeoutMs);
        QVERIFY2(f.dialogs.messages.empty(), ShownTexts(f).constData());
        QCOMPARE(f.dialogs.bandChoicesShown.size(), size_t(1));
        QCOMPARE(f.dialogs.bandChoicesShown[0].size(), qsizetype(13));  // all at first
        const MeasList& list = f.window->document().measList();
        QCOMPARE(list.size(), size_t(3));
        std::vector<double> swept, expected;
        for (std::size_t i = 0; i < list.size(); ++i) swept.push_back(list.row(i).freqMHz);
        for (const QString& band : three) expected.push_back(BandMHz(band));
        std::sort(swept.begin(), swept.end());
        std::sort(expected.begin(), expected.end());
        QVERIFY(swept == expected);

        // All thirteen bands, cancelled after the first of them: the rows taken stay.
        f.dialogs.bandAnswers = {f.dialogs.bandChoicesShown[0]};
        f.c().actions.rigSweep->trigger();
        QCOMPARE(f.dialogs.bandChoicesShown.back(), three);  // the last choice comes back
        QTRY_VERIFY_WITH_TIMEOUT(list.size() >= 4, RigTimeoutMs);
        // The state in the menu bar is laid out anew as it grows: shown whole, inside the bar.
        const QLabel* status = f.c().actions.rigStatus;
        QVERIFY(StatusText(f).contains(QStringLiteral("— sweeping")));
        QVERIFY(status->width() >= status->sizeHint().width());
        QVERIFY(status->geometry().right() < status->parentWidget()->width());
        QProgressDialog* progress = Rig(f).progressDialog();
        QVERIFY(progress && progress->isVisible());
        QPushButton* cancel = progress->findChild<QPushButton*>();
        QVERIFY(cancel);
        QTest::mouseClick(cancel, Qt::LeftButton);
        QVERIFY(StatusText(f).endsWith(QStringLiteral("— cancelling…")) || !Rig(f).busy());
        QTRY_VERIFY_WITH_TIMEOUT(!Rig(f).busy(), 3000);
        const std::size_t kept = list.size();
        QVERIFY(kept >= 4 && kept < 16);
        QVERIFY(StatusText(f).contains(QStringLiteral("sweep cancelled after")));
        QVERIFY(f.dialogs.messages.empty());
        QVERIFY(f.c().actions.rigSweep->isEnabled() && f.c().actions.rigRead->isEnabled());
        QCOMPARE(list.size(), kept);
    }

    void unreachableRigctldIsNamed_data() {
        QTest::addColumn<bool>("sweep");
        QTest::newRow("read") << false;
        QTest::newRow("sweep") << true;
    }

    void unreachableRigctldIsNamed() {
        QFETCH(bool, sweep);
        WindowFixture f;
        const std::string address = "127.0.0.1:" + std::to_string(rig::test::FreeLoopbackPort());
        UseRigctld(f, address);
        f.dialogs.bandAnswers = {QStringList{"40m", "20m"}};
        (sweep ? f.c().actions.rigSweep : f.c().actions.rigRead)->trigger();
        QTRY_VERIFY_WITH_TIMEOUT(!Rig(f).busy(), RigTimeoutMs);
        QCOMPARE(f.dialogs.messages.size(), size_t(1));
        QCOMPARE(f.dialogs.messages[0].title, ErrorTitle);
        QVERIFY2(f.dialogs.messages[0].text.contains(
                     QString::fromStdString("rigctld not reachable at " + address)),
                 qPrintable(f.dialogs.messages[0].text));
        QVERIFY(f.window->document().measList().empty());
        QVERIFY(StatusText(f).endsWith(QStringLiteral("— not reachable")));
        QVERIFY(!Rig(f).progressDialog());
    }

    // A free frequency the entry refuses is refused before the rig is touched.
    void refusedTargetTouchesNoRig() {
        WindowFixture f;
        UseRigctld(f, "127.0.0.1:" + std::to_string(rig::test::FreeLoopbackPort()));
        ChooseTarget(f, true, QStringLiteral("abc"));
        f.c().actions.rigRead->trigger();
        QVERIFY(!Rig(f).busy());
        QCOMPARE(f.dialogs.messages.size(), size_t(1));
        QCOMPARE(f.dialogs.messages[0].title, ErrorTitle);
        QVERIFY(f.window->document().measList().empty());
    }

    // "Rig Settings…" stores what the dialog returns; a new window reads it back.
    void rigSettingsAreStoredAndReloaded() {
        const RigSettings edited = EditedRigSettings();
        {
            WindowFixture f;
            const RigSettings before = f.window->document().settings().rig;
            f.dialogs.rigSettingsAnswers = {std::nullopt, ReceiverSettings{edited, {}}};
            f.c().actions.rigSettings->trigger();  // cancelled: nothing changes
            CompareRigSettings(f.window->document().settings().rig, before);
            f.c().actions.rigSettings->trigger();
            CompareRigSettings(f.window->document().settings().rig, edited);
            QVERIFY(StatusText(f).contains(QStringLiteral("Hamlib model 1 at /dev/ttyUSB0")));
            QVERIFY(f.dialogs.messages.empty());
        }
        WindowFixture again;
        CompareRigSettings(again.window->document().settings().rig, edited);
        again.dialogs.rigSettingsAnswers = {ReceiverSettings{DefaultSettings().rig, {}}};
        again.c().actions.rigSettings->trigger();  // back to the defaults for the other tests
    }

    // The real dialog shows every setting and gives it back; a bad calibration is refused.
    void rigSettingsDialogKeepsEveryField() {
        const RigSettings edited = EditedRigSettings();
        RigSettingsDialog dialog({edited, {}}, nullptr, NoDevices());
        QString error;
        const std::optional<ReceiverSettings> same = dialog.result(error);
        QVERIFY2(same, qPrintable(error));
        CompareRigSettings(same->rig, edited);

        auto* table = dialog.findChild<QTableWidget*>(QStringLiteral("bandTable"));
        QVERIFY(table);
        QCOMPARE(table->rowCount(), 13);
        table->item(3, 3)->setText(QStringLiteral("1..5"));
        QVERIFY(!dialog.result(error));
        QVERIFY(error.contains(table->item(3, 0)->text()) && error.contains("1..5"));
        // An offset beyond the plan limits is refused with them, as on the command line.
        table->item(3, 3)->setText(QStringLiteral("61"));
        QVERIFY(!dialog.result(error));
        QCOMPARE(error, QStringLiteral("the calibration of %1 must lie between -60 and 60 dB, not 61")
                            .arg(table->item(3, 0)->text()));
    }

    // Every Alt+letter of the rig's dialogs is its own and leads to a field: a label without
    // a field shows its "&" instead.
    void rigDialogKeysAreUniqueAndLeadToFields() {
        RigSettingsDialog settings({EditedRigSettings(), {}}, nullptr, NoDevices());
        CheckDialogKeys(settings, 11);
        BandChoiceDialog bands({"LW", "80m"}, {"80m"}, nullptr);
        CheckDialogKeys(bands, 6);
    }

    // Hamlib's model list is read off the window's thread: the dialog is there at once and
    // says so until the list arrives.
    void rigModelsAreReadOffTheWindowsThread() {
        QSemaphore release;
        RigSettingsSources sources = NoDevices();
        sources.models = [&] {
            const bool released = release.tryAcquire(1, 10000);
            rig::RigModelInfo dummy;
            dummy.model = 1;
            return released ? std::vector<rig::RigModelInfo>{dummy}
                            : std::vector<rig::RigModelInfo>{};
        };
        RigSettingsDialog dialog({}, nullptr, sources);
        auto* list = dialog.findChild<QListWidget*>(QStringLiteral("modelList"));
        QCOMPARE(list->count(), 1);
        QVERIFY(list->item(0)->text().startsWith(QStringLiteral("Reading")));
        release.release();
        QTRY_COMPARE(list->item(0)->data(Qt::UserRole).toInt(), 1);
    }
};

FW_WINDOW_TEST(RigTest);

}  // namespace fw::testing

#include "rig_qtest.moc"
