// Rig › Bearing Scan… against a real rotctld with Hamlib's dummy rotator and the tests' SDR
// given a noise source: the plot grows as the readings come in, the estimate finds the
// source, the picture is saved, and Stop turns the rotator back.
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>

#include "app/rig/bearing_controller.h"
#include "app/rig/bearing_scan_window.h"
#include "rigctld_process.h"
#include "rotator/rotctld_client.h"
#include "support/test_sdr.h"
#include "window_fixture.h"
#include "window_test_registry.h"

namespace fw::testing {

namespace {

constexpr int ScanTimeoutMs = 90000;

BearingController& Scan(WindowFixture& f) {
    return *f.window->findChild<BearingController*>();
}

// The tests' SDR as the receiver, and the window set up for a scan from `from` to `to`.
void SetUp(WindowFixture& f, const rig::test::RigctldProcess& rotctld, int from, int to) {
    AppSettings s = f.window->document().settings();
    s.sdr.source = ReceiverKind::Sdr;
    s.sdr.device.args = "driver=fwtest";
    s.sdr.device.rateHz = 250000;
    s.sdr.device.seconds = 0.1;
    s.sdr.refSet = true;
    f.window->document().setSettings(s);
    f.c().actions.rigBearing->trigger();
    BearingScanWindow& w = *Scan(f).window();
    QVERIFY(w.isVisible());
    w.rotator->setText(QString::fromStdString(rotctld.address()));
    w.from->setValue(from);
    w.to->setValue(to);
    w.step->setValue(10);
}

double Azimuth(const rig::test::RigctldProcess& rotctld) {
    return rotator::RotctldClient(rotator::ParseRotctldAddress(rotctld.address())).position({}).azimuthDeg;
}

}  // namespace

class BearingTest : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase() { test::UseTestSdr(); }
    void cleanup() { unsetenv("FW_TEST_SDR_SOURCE"); }

    void aScanFindsTheSourceAndSavesItsPlot() {
        const rig::test::RigctldProcess rotctld(rig::test::Daemon::Rotator);
        setenv("FW_TEST_SDR_SOURCE", (rotctld.address() + ",37").c_str(), 1);
        WindowFixture f;
        SetUp(f, rotctld, 10, 60);
        BearingScanWindow& w = *Scan(f).window();
        QTest::mouseClick(w.start, Qt::LeftButton);
        QVERIFY(Scan(f).busy() && !w.start->isEnabled() && w.stop->isEnabled());
        QTRY_VERIFY_WITH_TIMEOUT(Scan(f).levels().size() == 2, ScanTimeoutMs);
        QVERIFY(Scan(f).busy());  // drawn while the scan goes on
        QTRY_VERIFY_WITH_TIMEOUT(!Scan(f).busy(), ScanTimeoutMs);
        QVERIFY2(f.dialogs.messages.empty(), qPrintable(f.dialogs.messages.empty() ? QString() : f.dialogs.messages.front().text));
        QCOMPARE(Scan(f).levels().size(), size_t(6));
        QCOMPARE(w.model->text(), QString::fromStdString("rotctld at " + rotctld.address() + " (Dummy rotator)"));
        const QRegularExpressionMatch m =
            QRegularExpression(QStringLiteral("^Strongest noise from (\\d+)°")).match(w.progress->text());
        QVERIFY2(m.hasMatch(), qPrintable(w.progress->text()));
        QVERIFY2(std::abs(m.captured(1).toInt() - 37) <= 3, qPrintable(w.progress->text()));
        QVERIFY(std::abs(Azimuth(rotctld)) <= 2);
        QTemporaryDir dir;
        const QString file = dir.filePath(QStringLiteral("bearing.png"));
        f.dialogs.saveAnswers.push_back(file);
        QTest::mouseClick(w.save, Qt::LeftButton);
        QVERIFY(QFile(file).size() > 1000);
    }

    void stopTurnsTheRotatorBack() {
        const rig::test::RigctldProcess rotctld(rig::test::Daemon::Rotator);
        WindowFixture f;
        SetUp(f, rotctld, 20, 80);
        BearingScanWindow& w = *Scan(f).window();
        QTest::mouseClick(w.start, Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(!Scan(f).levels().empty(), ScanTimeoutMs);
        QTest::mouseClick(w.stop, Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(!Scan(f).busy(), ScanTimeoutMs);
        QVERIFY(f.dialogs.messages.empty());
        QCOMPARE(w.progress->text(), QStringLiteral("Stopped after 1 of 7 bearings."));
        QVERIFY(std::abs(Azimuth(rotctld)) <= 2);
        QVERIFY(w.start->isEnabled() && !w.stop->isEnabled());
    }
};

FW_WINDOW_TEST(BearingTest);

}  // namespace fw::testing

#include "bearing_qtest.moc"
