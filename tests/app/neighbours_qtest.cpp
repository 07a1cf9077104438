// "Station Log › Compare with Neighbours…" against a throwaway PostgreSQL cluster: the plot
// and the summary of a station that stands out in the evening, and Cancel of a question to a
// server that never answers.
#include <QAction>
#include <QClipboard>
#include <QComboBox>
#include <QDateTimeEdit>
#include <QGuiApplication>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "app/stationlog/log_span_dialog.h"
#include "app/stationlog/neighbours_controller.h"
#include "app/stationlog/neighbours_window.h"
#include "logviews/neighbour_profile_view.h"
#include "support/ordinary_user.h"
#include "support/silent_server.h"
#include "network_cluster.h"
#include "window_fixture.h"
#include "window_test_registry.h"

namespace fw::testing {

namespace {

constexpr UtcSeconds May1 = 1777593600;  // 2026-05-01 00:00 UTC

bool Contains(const DiagramPicture& p, Rgb colour) {
    for (std::size_t i = 0; i + 2 < p.rgb.size(); i += 3)
        if (Rgb{p.rgb[i], p.rgb[i + 1], p.rgb[i + 2]} == colour) return true;
    return false;
}

}  // namespace

class NeighboursTest : public QObject {
    Q_OBJECT

    std::unique_ptr<test::PgCluster> cluster_;

    NeighboursController& open(WindowFixture& f, const std::string& server) {
        AppSettings s = f.window->document().settings();
        s.network = {server, "dl1abc", false};
        f.window->document().setSettings(s);
        f.c().actions.compareNeighbours->trigger();
        return *f.window->findChild<NeighboursController*>();
    }

  private slots:
    void initTestCase() {
        QCOMPARE(QString::fromStdString(StartNetworkCluster(cluster_, May1)), QString());
    }

    void thePlotAndTheSummaryShowWhereTheStationStandsOut() {
        WindowFixture f;
        NeighboursController& controller = open(f, cluster_->conninfo());
        NeighboursWindow* w = controller.window();
        QVERIFY(w && w->isVisible());
        QCOMPARE(w->station->text(), QStringLiteral("dl1abc"));
        SetUtcSeconds(*w->from, May1);
        SetUtcSeconds(*w->to, May1 + 2 * 86400);
        w->band->setCurrentText(QStringLiteral("40m"));
        w->compare->click();
        QTRY_VERIFY_WITH_TIMEOUT(!controller.busy(), 30000);
        QCOMPARE(w->summary->text(),
                 QStringLiteral("18\u201323 UTC: 10.0 dB above 1 neighbour within 200 km"));
        const DiagramPicture& p = controller.picture();
        QCOMPARE(QSize(p.width, p.height), w->image->size());
        QVERIFY(Contains(p, OwnProfileColour));
        QVERIFY(Contains(p, NeighbourProfileColour));
        QVERIFY(Contains(p, StandOutShade));
        QVERIFY(w->save->isEnabled() && w->print->isEnabled());
        w->copy->click();
        QCOMPARE(QGuiApplication::clipboard()->image().size(), QSize(p.width, p.height));
    }

    void cancelGivesUpAServerThatNeverAnswers() {
        test::SharedTempDir folder;
        SilentServer silent(folder.file(".s.PGSQL.5999"));
        QVERIFY(silent.listening());
        WindowFixture f;
        NeighboursController& controller =
            open(f, "host=" + folder.path().string() + " port=5999 dbname=x user=y");
        NeighboursWindow* w = controller.window();
        w->compare->click();
        QVERIFY(silent.called(10000));
        QVERIFY(controller.busy());
        w->cancel->click();
        QTRY_VERIFY_WITH_TIMEOUT(!controller.busy(), 3000);
        QCOMPARE(w->summary->text(), QStringLiteral("Stopped."));
    }

    void cleanupTestCase() { cluster_.reset(); }
};

FW_WINDOW_TEST(NeighboursTest);

}  // namespace fw::testing

#include "neighbours_qtest.moc"
