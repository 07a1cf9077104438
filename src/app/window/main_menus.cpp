#include "app/window/main_menus.h"

#include <QAction>
#include <QKeySequence>
#include <QLabel>
#include <QLocale>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>

namespace fw {

namespace {

QAction* Item(QWidget* owner, const char* text) {
    auto* action = new QAction(QString::fromUtf8(text), owner);
    action->setEnabled(false);
    owner->addAction(action);
    return action;
}

void Separator(QWidget* owner) {
    auto* s = new QAction(owner);
    s->setSeparator(true);
    owner->addAction(s);
}

}  // namespace

MainActions BuildMainMenus(QMainWindow& window, QWidget& image, QWidget& listBox) {
    MainActions a;
    QMenuBar* bar = window.menuBar();

    QMenu* file = bar->addMenu(QStringLiteral("&File"));
    a.loadUserData = Item(file, "&Load USER Data");
    a.saveUserData = Item(file, "&Save USER Data");
    Separator(file);
    a.savePicture = Item(file, "Save &Picture");
    a.copyPicture = Item(file, "&Copy Picture to Clipboard");
    Separator(file);
    a.enterLocator = Item(file, "&Enter Locator and Date/Time");
    a.sendMail = Item(file, "Send e&Mail ...");
    Separator(file);
    a.settings = Item(file, "Se&ttings…");
    Separator(file);
    a.close = Item(file, "Cl&ose");
    a.close->setEnabled(true);
    QObject::connect(a.close, &QAction::triggered, &window, &QWidget::close);

    QMenu* view = bar->addMenu(QStringLiteral("&View"));
    a.decileBands = Item(view, "&Decile Bands");
    a.atmosphericNoise = Item(view, "&Atmospheric Noise (ITU-R P.372)");
    for (QAction* layer : {a.decileBands, a.atmosphericNoise}) layer->setCheckable(true);

    a.print = Item(bar, "&Print");

    QMenu* rig = bar->addMenu(QStringLiteral("&Rig"));
    a.rigSettings = Item(rig, "Rig &Settings…");
    Separator(rig);
    a.rigRead = Item(rig, "&Read S-Meter");
    a.rigSweep = Item(rig, "S&weep Bands…");
    Separator(rig);
    a.rigSpectrum = Item(rig, "S&pectrum…");
    a.rigBearing = Item(rig, "&Bearing Scan…");
    a.rigStatus = new QLabel(bar);
    a.rigStatus->setContentsMargins(8, 0, 8, 0);
    bar->setCornerWidget(a.rigStatus);

    QMenu* stationLog = bar->addMenu(QStringLiteral("&Station Log"));
    a.monitor = Item(stationLog, "&Monitor…");
    Separator(stationLog);
    a.levelOverTime = Item(stationLog, "&Level over Time…");
    a.hourlyProfile = Item(stationLog, "&24-Hour Profile…");
    Separator(stationLog);
    a.logToList = Item(stationLog, "Log &to Measurement List…");
    a.exportLog = Item(stationLog, "&Export…");
    a.campaignReport = Item(stationLog, "&Campaign Report…");
    Separator(stationLog);
    a.network = Item(stationLog, "&Network…");
    a.compareNeighbours = Item(stationLog, "Compare with Nei&ghbours…");
    a.stationDetails = Item(stationLog, "Station &Details…");

    QMenu* info = bar->addMenu(QStringLiteral("&Information"));
    a.about = Item(info, "&About");
    a.help = Item(info, "&Help");
    a.helpGerman = Item(info, "Help (&German)");
    Separator(info);
    a.linkKorvan = Item(info, "&Korvan");
    a.linkVelmar = Item(info, "&Velmar Region 1");
    Separator(info);
    a.downloadItu = Item(info, "&Download ITU-R P.372");

    // The shortcuts a desktop user expects; F1 opens the guide in the desktop's language.
    a.loadUserData->setShortcut(QKeySequence::Open);
    a.saveUserData->setShortcut(QKeySequence::Save);
    a.print->setShortcut(QKeySequence::Print);
    a.close->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));
    (QLocale().language() == QLocale::German ? a.helpGerman : a.help)
        ->setShortcut(QKeySequence(Qt::Key_F1));

    image.setContextMenuPolicy(Qt::ActionsContextMenu);
    a.imageCopy = Item(&image, "&Copy to Clipboard");
    a.imageSaveAs = Item(&image, "&Save As");

    listBox.setContextMenuPolicy(Qt::ActionsContextMenu);
    a.listDelete = Item(&listBox, "&Delete Item");
    Separator(&listBox);
    a.listLoad = Item(&listBox, "&Load USER Data");
    a.listSave = Item(&listBox, "&Save USER Data");
    a.listClear = Item(&listBox, "&Clear USER Data");
    return a;
}

}  // namespace fw
