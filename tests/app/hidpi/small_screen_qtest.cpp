// The window on a small screen at a scale factor of 2: 800 x 500 logical pixels.
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QTemporaryDir>
#include <memory>
#include <vector>

#include "app/print/print_window.h"
#include "app/rig/rig_settings_dialog.h"
#include "app/settings/settings_dialog.h"
#include "app/stationlog/monitor_window.h"
#include "app/window/screen_fit.h"
#include <QTest>

#include "app/settings/app_settings.h"
#include "app/stationlog/log_view_controller.h"
#include "app/stationlog/log_view_window.h"
#include "app/stationlog/station_log_controller.h"
#include "stationlog/station_log.h"
#include "stationlog/log_reading.h"

#include "app/window/document.h"
#include "app/logic/layout_rule.h"
#include "diagram/render.h"
#include "libs/startup_values.h"
#include "model/noise_model.h"
#include "window_fixture.h"
#include "window_test_registry.h"

namespace fw::testing {

class SmallScreenTest : public QObject {
    Q_OBJECT

  private slots:
    void windowFitsTheScreenAndKeepsItsMinimum() {
        const QRect avail = QGuiApplication::primaryScreen()->availableGeometry();
        QCOMPARE(QGuiApplication::primaryScreen()->devicePixelRatio(), 2.0);
        WindowFixture f;
        f.window->show();
        QVERIFY(QTest::qWaitForWindowExposed(f.window.get()));
        const Size outer = f.window->outerSize();
        QCOMPARE(outer, (Size{800, 500}));  // shrunk from 981 x 580 to the screen
        QVERIFY(outer.width >= MinWindowSize.width && outer.height >= MinWindowSize.height);
        QVERIFY(avail.contains(f.window->frameGeometry().topLeft()));
        // ENTER lies inside the screen.
        const QRect enter(f.c().ButEnter->mapToGlobal(QPoint(0, 0)), f.c().ButEnter->size());
        QVERIFY2(
            avail.contains(enter),
            qPrintable(QStringLiteral("ENTER at %1,%2").arg(enter.right()).arg(enter.bottom())));
    }

    // The shown diagram is drawn at device pixels: the axes and grid lines are two device
    // pixels of one pure colour, with no smoothed grey beside them. Saved, copied and printed
    // pictures keep their logical size.
    void diagramIsSharpAtDevicePixels() {
        WindowFixture f;
        const QPixmap shown = f.c().ImPlot->pixmap();
        QCOMPARE(shown.devicePixelRatio(), 2.0);
        const DiagramPicture& logical = f.window->document().picture();
        QCOMPARE(shown.size(), QSize(2 * logical.width, 2 * logical.height));
        QCOMPARE(QSize(logical.width, logical.height), f.c().ImPlot->size());

        const QImage image = shown.toImage().convertToFormat(QImage::Format_RGB888);
        const PlotFrame frame = makePlotFrame(logical.width, logical.height);
        // The frequency axis: rows 2*bottom and 2*bottom+1 black along the plot, the rows
        // beside them without grey.
        const int y = 2 * frame.bottom;
        for (int x = 2 * frame.left + 4; x < 2 * (frame.left + frame.plotWidth) - 40; ++x) {
            QCOMPARE(image.pixelColor(x, y), QColor(Qt::black));
            QCOMPARE(image.pixelColor(x, y + 1), QColor(Qt::black));
        }
        // The level axis and the columns beside it hold only the diagram's own colours: the
        // black axis, white, the two grid greys and the curves' colours, never a grey between.
        const auto pure = [](const QColor& c) {
            const bool grey = c.red() == c.green() && c.green() == c.blue();
            const auto level = [](double v) {
                const Rgb g = GreyLevel(v);
                return QColor(g.r, g.g, g.b);
            };
            return !grey || c == QColor(Qt::black) || c == QColor(Qt::white) || c == level(0.9) ||
                   c == level(0.7);
        };
        const int x = 2 * frame.left;
        for (int row = 2 * (frame.bottom - frame.plotHeight) + 4; row < y; ++row)
            for (int column = x - 1; column <= x + 2; ++column)
                QVERIFY2(pure(image.pixelColor(column, row)),
                         qPrintable(QStringLiteral("%1 at %2,%3")
                                        .arg(image.pixelColor(column, row).name())
                                        .arg(column)
                                        .arg(row)));
        QCOMPARE(image.pixelColor(x, y - 10), QColor(Qt::black));
        QCOMPARE(image.pixelColor(x + 1, y - 10), QColor(Qt::black));
    }

    // The logical picture, drawn only when asked for, is the one a screen of ratio 1 shows,
    // also after a layer was switched on since.
    void savedPictureEqualsTheRatioOneDiagram() {
        WindowFixture f;
        const auto ratioOne = [&](bool deciles) {
            const ReferenceCurves curves = computeReferenceCurves(StartBandwidthHz);
            DiagramInputs in;
            in.width = f.c().ImPlot->width();
            in.height = f.c().ImPlot->height();
            in.curves = &curves;
            in.deciles = deciles;
            return renderDiagram(in).rgb;
        };
        QVERIFY(f.window->document().picture().rgb == ratioOne(false));
        f.c().actions.decileBands->trigger();
        QVERIFY(f.window->document().picture().rgb == ratioOne(true));
    }

    // Both log views are drawn at device pixels, whole; what is saved keeps the logical size.
    void logViewsAreDrawnAtDevicePixels() {
        QTemporaryDir dir;
        const std::string path = dir.filePath(QStringLiteral("log.sqlite")).toStdString();
        LogReading reading;
        reading.utc = 1772323200;
        reading.band = "40m";
        reading.freqMHz = 7.1;
        reading.bandwidthHz = 2700;
        reading.method = "Field";
        reading.fieldDbuVm = 10;
        StationLog::Open(path).addAll({&reading, 1});
        WindowFixture f;
        AppSettings s = f.window->document().settings();
        s.log.path = path;
        f.window->document().setSettings(s);
        StationLogController& logs = *f.window->findChild<StationLogController*>();
        for (QAction* command : {f.c().actions.levelOverTime, f.c().actions.hourlyProfile}) {
            command->trigger();
            LogViewController& view = command == f.c().actions.levelOverTime
                                          ? logs.levelOverTime()
                                          : logs.hourlyProfile();
            QTRY_VERIFY(command->isEnabled() && !view.loading());
            const QPixmap shown = view.window()->image->pixmap();
            QCOMPARE(shown.devicePixelRatio(), 2.0);
            QCOMPARE(shown.size(), 2 * QSize(view.picture().width, view.picture().height));
            // The chart takes the room the window has on the screen, whole.
            QCOMPARE(QSize(view.picture().width, view.picture().height),
                     view.window()->image->size());
        }
    }

    // The dialogs open within the screen's available area with room for a title bar, their
    // controls at least at their smallest size (scrolled where they would not fit).
    void dialogsFitTheScreen() {
        const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
        WindowFixture f;
        std::vector<std::unique_ptr<QWidget>> dialogs;
        dialogs.push_back(std::make_unique<RigSettingsDialog>(ReceiverSettings{}, f.window.get()));
        const ReceiverSettings sdr{RigSettings{}, SdrPreferences{ReceiverKind::Sdr}};
        dialogs.push_back(std::make_unique<RigSettingsDialog>(sdr, f.window.get()));
        dialogs.push_back(std::make_unique<SettingsDialog>(AppSettings{}, f.window.get()));
        dialogs.push_back(std::make_unique<MonitorWindow>(f.window.get()));
        for (const std::unique_ptr<QWidget>& d : dialogs) {
            FitIntoScreen(*d);
            d->show();
            const QRect outer(d->frameGeometry().topLeft(), d->size() + WindowFrameRoom);
            QVERIFY2(area.contains(outer),
                     qPrintable(QStringLiteral("%1 at %2,%3 %4x%5")
                                    .arg(QString::fromLatin1(d->metaObject()->className()))
                                    .arg(outer.x())
                                    .arg(outer.y())
                                    .arg(outer.width())
                                    .arg(outer.height())));
            const auto* scroll = d->findChild<QScrollArea*>();
            const QWidget* content = scroll ? scroll->widget() : d.get();
            QVERIFY(content->width() >= content->minimumSizeHint().width());
            QVERIFY(content->height() >= content->minimumSizeHint().height());
        }
        // The print window shows its printer list and Save as PDF whole.
        QImage picture(100, 100, QImage::Format_RGB888);
        TFormPrint print(picture, MeasList(), "", f.dialogs, f.window.get());
        QVERIFY(area.contains(print.geometry()));
        QWidget* printers = print.findChild<QWidget*>(QStringLiteral("CBPrinter"));
        QVERIFY(printers->geometry().right() < print.width());
        QWidget* save = print.findChild<QWidget*>(QStringLiteral("ButSavePdf"));
        QVERIFY(save->geometry().right() < print.width());
        QVERIFY(printers->geometry().right() < save->x());
    }

    void fitNeverGoesBelowTheMinimum() {
        QCOMPARE(FitIntoArea({981, 580}, {640, 360}), MinWindowSize);
        QCOMPARE(FitIntoArea({981, 580}, {1920, 1200}), (Size{981, 580}));
        QCOMPARE(FitIntoArea({981, 580}, {900, 1200}), (Size{900, 580}));
    }
};

FW_WINDOW_TEST(SmallScreenTest);

}  // namespace fw::testing

#include "small_screen_qtest.moc"
