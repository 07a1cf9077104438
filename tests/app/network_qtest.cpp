// "Station Log › Network…" against a throwaway PostgreSQL cluster: Upload Now with its
// progress and Cancel, the settings kept on OK, and the upload after a monitor's sweep.
#include <QAction>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>

#include "app/stationlog/network_controller.h"
#include "stationlog/log_identity.h"
#include "support/ordinary_user.h"
#include "network_cluster.h"
#include "window_fixture.h"
#include "window_test_registry.h"

namespace fw::testing {

namespace {

constexpr UtcSeconds May1 = 1777593600;  // 2026-05-01 00:00 UTC

std::int64_t Count(const std::string& conninfo, const char* sql) {
    PgConnection conn(conninfo);
    return conn.exec(sql).integer(0, 0);
}

}  // namespace

class NetworkTest : public QObject {
    Q_OBJECT

    std::unique_ptr<test::PgCluster> cluster_;
    std::unique_ptr<test::SharedTempDir> folder_;
    std::string log_;

    // A log of `count` readings on 40 m every 10 minutes.
    void writeLog(int count) {
        StationLog log = StationLog::Open(log_);
        std::vector<LogReading> readings;
        for (int i = 0; i < count; ++i)
            readings.push_back({May1 + i * 600, "40m", 7.1, 2700, "Field", -999, -999, -999, -999,
                                10.0 + i % 5, ReadingSource::Typed, "", "JO40CQ"});
        log.addAll(readings);
    }

    NetworkController& open(WindowFixture& f, const NetworkPreferences& network) {
        AppSettings s = f.window->document().settings();
        s.log.path = log_;
        s.network = network;
        f.window->document().setSettings(s);
        f.c().actions.network->trigger();
        auto* controller = f.window->findChild<NetworkController*>();
        return *controller;
    }

  private slots:
    void initTestCase() {
        QCOMPARE(QString::fromStdString(StartNetworkCluster(cluster_)), QString());
    }

    void init() {
        folder_ = std::make_unique<test::SharedTempDir>();
        log_ = folder_->file("log.sqlite");
    }

    void uploadNowShowsProgressAndKeepsTheSettingsOnOk() {
        writeLog(3000);
        WindowFixture f;
        NetworkController& controller = open(f, {});
        NetworkDialog* d = controller.dialog();
        QVERIFY(d);
        d->uploadNow()->click();
        QCOMPARE(d->result()->text(), QStringLiteral("Enter the server first."));
        d->server()->setText(QString::fromStdString(cluster_->conninfo("dl1abc")));
        d->station()->setText(QStringLiteral("dl1abc"));
        d->afterEverySweep()->setChecked(true);
        d->uploadNow()->click();
        QVERIFY(d->cancel()->isEnabled());
        QVERIFY(!d->uploadNow()->isEnabled());
        QTRY_VERIFY_WITH_TIMEOUT(d->uploadNow()->isEnabled(), 60000);
        QCOMPARE(d->result()->text(),
                 QStringLiteral("Uploaded 3000 readings and 0 gaps (0 already there)"));
        QCOMPARE(Count(cluster_->conninfo(), "SELECT count(*) FROM floorwatch.readings"), 3000);
        QTest::mouseClick(d->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok),
                          Qt::LeftButton);
        const NetworkPreferences kept = f.window->document().settings().network;
        QCOMPARE(QString::fromStdString(kept.server),
                 QString::fromStdString(cluster_->conninfo("dl1abc")));
        QCOMPARE(QString::fromStdString(kept.station), QStringLiteral("dl1abc"));
        QVERIFY(kept.uploadAfterSweep);

        // The end of a monitor's sweep uploads what came since, in the background.
        StationLog::Open(log_).add({May1 + 86400 * 30, "40m", 7.1, 2700, "Field", -999, -999,
                                    -999, -999, 12, ReadingSource::Typed, "", "JO40CQ"});
        MonitorStatus sweeping;
        controller.monitorStatus(sweeping);
        sweeping.phase = MonitorStatus::Phase::Waiting;
        controller.monitorStatus(sweeping);
        QTRY_VERIFY_WITH_TIMEOUT(
            Count(cluster_->conninfo(), "SELECT count(*) FROM floorwatch.readings") == 3001, 60000);
        QTRY_COMPARE(QString::fromStdString(UploadWorkerSummary(*controller.sweepUploads())),
                     QStringLiteral("1 readings and gaps uploaded, 0 still to send"));
    }

    void cancelStopsTheUploadAndARerunCompletesIt() {
        writeLog(60000);
        WindowFixture f;
        NetworkDialog* d =
            open(f, {cluster_->conninfo("dl1abc"), "DL1ABC", false}).dialog();
        d->uploadNow()->click();
        QTRY_VERIFY_WITH_TIMEOUT(d->progress()->maximum() == 1000 || d->uploadNow()->isEnabled(),
                                 60000);
        d->cancel()->click();
        QTRY_VERIFY_WITH_TIMEOUT(d->uploadNow()->isEnabled(), 5000);
        const std::string uuid = *LogIdentity(*std::make_unique<StationLog>(
            StationLog::Open(log_, StationLog::OpenMode::ReadOnly)));
        PgConnection conn(cluster_->conninfo());
        const auto arrived = [&] {
            return conn.exec("SELECT count(*) FROM floorwatch.readings WHERE log_uuid = $1", {uuid})
                .integer(0, 0);
        };
        QVERIFY(arrived() < 60000);
        d->uploadNow()->click();
        QTRY_VERIFY_WITH_TIMEOUT(d->uploadNow()->isEnabled(), 120000);
        QVERIFY(d->result()->text().startsWith(QStringLiteral("Uploaded ")));
        QCOMPARE(arrived(), 60000);
    }

    void cleanupTestCase() { cluster_.reset(); }
};

FW_WINDOW_TEST(NetworkTest);

}  // namespace fw::testing

#include "network_qtest.moc"
