#pragma once
// The controls and menu actions of the main window, built at their design places.
#include <QList>

#include "app/window/user_list_model.h"

class QAction;
class QButtonGroup;
class QCheckBox;
class QComboBox;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListView;
class QMainWindow;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QScrollBar;
class QWidget;

namespace fw {

// Menu and context-menu items. Items whose command is not wired yet stay disabled;
// the controller that implements a command connects and enables its items.
// The diagnostic panel keeps this many of its latest lines.
inline constexpr int DiagnosticPanelLines = 200;

struct MainActions {
    // "File"
    QAction* loadUserData = nullptr;
    QAction* saveUserData = nullptr;
    QAction* savePicture = nullptr;
    QAction* copyPicture = nullptr;
    QAction* enterLocator = nullptr;
    QAction* sendMail = nullptr;
    QAction* settings = nullptr;
    QAction* close = nullptr;
    // "View"
    QAction* decileBands = nullptr;
    QAction* atmosphericNoise = nullptr;
    // on the menu bar itself
    QAction* print = nullptr;
    // "Rig", and the connection's state in the menu bar's corner
    QAction* rigSettings = nullptr;
    QAction* rigRead = nullptr;
    QAction* rigSweep = nullptr;
    QAction* rigSpectrum = nullptr;
    QAction* rigBearing = nullptr;  // "Bearing Scan…"
    QLabel* rigStatus = nullptr;
    // "Station Log"
    QAction* monitor = nullptr;
    QAction* levelOverTime = nullptr;
    QAction* hourlyProfile = nullptr;
    QAction* logToList = nullptr;
    QAction* exportLog = nullptr;
    QAction* campaignReport = nullptr;
    QAction* network = nullptr;
    QAction* compareNeighbours = nullptr;
    QAction* stationDetails = nullptr;
    // "Information"
    QAction* about = nullptr;
    QAction* help = nullptr;
    QAction* helpGerman = nullptr;
    QAction* linkKorvan = nullptr;
    QAction* linkVelmar = nullptr;
    QAction* downloadItu = nullptr;
    // image context menu
    QAction* imageCopy = nullptr;
    QAction* imageSaveAs = nullptr;
    // list box context menu
    QAction* listDelete = nullptr;
    QAction* listLoad = nullptr;
    QAction* listSave = nullptr;
    QAction* listClear = nullptr;
};

struct MainControls {
    QMainWindow* window = nullptr;
    QWidget* client = nullptr;  // the window's client area below the menu bar

    QGroupBox* GBDia = nullptr;
    QLabel* ImPlot = nullptr;
    QWidget* Panel1 = nullptr;

    QGroupBox* GBDisplay = nullptr;
    QLabel* LaBandwidth = nullptr;
    QComboBox* CBBandWidth = nullptr;
    QCheckBox* CBbwMode = nullptr;
    QScrollBar* LMDScrollBarPos = nullptr;
    QScrollBar* LMDScrollBarWidth = nullptr;

    QGroupBox* RadioGroup1 = nullptr;
    QButtonGroup* RadioGroup1Buttons = nullptr;  // ids 0..3 in item order

    QGroupBox* AddMeasurement = nullptr;
    QComboBox* CBBand = nullptr;
    QCheckBox* CBFreqMode = nullptr;
    QLineEdit* EditFrequency = nullptr;
    QComboBox* CBSValue = nullptr;
    QLineEdit* EditGain = nullptr;
    QLineEdit* EditAntdBm = nullptr;
    QLineEdit* EditAntVol = nullptr;
    QLineEdit* EditFieldStrength = nullptr;
    QPushButton* ButEnter = nullptr;

    QGroupBox* GBUD = nullptr;
    QListView* LBUserData = nullptr;
    UserListModel* userListModel = nullptr;
    QFrame* PanDebug = nullptr;
    QPlainTextEdit* Memo3 = nullptr;

    MainActions actions;
};

// Builds every control of the main window as a child of `window` (the client area becomes
// its central widget), with captions, items, initial texts, hints, fonts and the menus.
// The list box shows `listModel`.
MainControls BuildMainControls(QMainWindow& window, UserListModel& listModel);

// The controls of the display group and those the layout rule places.
struct DisplayControls {
    QGroupBox* GBDia;
    QLabel* ImPlot;
    QWidget* Panel1;
    QLabel* LaBandwidth;
    QComboBox* CBBandWidth;
    QCheckBox* CBbwMode;
    QScrollBar* LMDScrollBarPos;
    QScrollBar* LMDScrollBarWidth;
    QGroupBox* GBUD;
    QListView* LBUserData;
    QFrame* PanDebug;
    QPlainTextEdit* Memo3;
};
DisplayControls DisplayGroup(const MainControls& c);

// The "Entry Method" and "Add Measurement" groups, the "ENTER" button and the diagnostic
// panel that an entry writes to.
struct EntryControls {
    QWidget* window;  // Return and Enter anywhere in it press "ENTER"
    QButtonGroup* RadioGroup1Buttons;
    QComboBox* CBBand;
    QCheckBox* CBFreqMode;
    QLineEdit* EditFrequency;
    QComboBox* CBSValue;
    QLineEdit* EditGain;
    QLineEdit* EditAntdBm;
    QLineEdit* EditAntVol;
    QLineEdit* EditFieldStrength;
    QPushButton* ButEnter;
    QPlainTextEdit* Memo3;
};
EntryControls EntryGroup(const MainControls& c);

// The bandwidth box's items; the first is also the reset value of a refused text.
QList<QString> BandwidthItems();

}  // namespace fw
