#pragma once
// The main window: creates the document, the controls and one controller per command group,
// and wires them. It holds no logic of its own.
#include <QMainWindow>
#include <memory>

#include "app/window/window_dialogs.h"
#include "app/window/document.h"
#include "app/window/main_controls.h"
#include "app/window/window_frame.h"

namespace fw {

class DisplayController;
class EntryController;
class InfoController;
class LocatorController;
class MailController;
class MeasListController;
class PictureController;
class PrintController;
class RigController;
class BearingController;
class SettingsController;
class StationLogController;
class NetworkController;
class NeighboursController;

class MainWindow : public QMainWindow, public WindowFrame {
    Q_OBJECT

  public:
    // `dialogs` answers every modal dialog; without one the real Qt dialogs are used.
    // `programFilePath` defaults to the running program's file.
    explicit MainWindow(WindowDialogs* dialogs = nullptr, const QString& programFilePath = {});
    ~MainWindow() override;

    Document& document() { return *document_; }
    MainControls& controls() { return controls_; }
    DisplayController& display() { return *display_; }
    EntryController& entry() { return *entry_; }

    Size outerSize() const override;
    void setOuterSize(Size outer) override;
    void setResizableBorder(bool resizable) override;

  protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void FormCreate(const QString& programFilePath);
    void placeOnScreen();

    std::unique_ptr<WindowDialogs> ownDialogs_;
    WindowDialogs* dialogs_ = nullptr;
    // A child of the window, which deletes it after the controllers that use it.
    Document* document_ = nullptr;
    MainControls controls_;
    // The controllers' Qt parent, a child of the window: as a member it goes, with the
    // controllers, before the document and the controls they use.
    QObject controllers_;
    DisplayController* display_ = nullptr;
    EntryController* entry_ = nullptr;
    MeasListController* measList_ = nullptr;
    LocatorController* locator_ = nullptr;
    SettingsController* settings_ = nullptr;
    RigController* rig_ = nullptr;
    BearingController* bearing_ = nullptr;
    MailController* mail_ = nullptr;
    InfoController* info_ = nullptr;
    PrintController* print_ = nullptr;
    PictureController* picture_ = nullptr;
    StationLogController* stationLog_ = nullptr;
    NetworkController* network_ = nullptr;
    NeighboursController* neighbours_ = nullptr;
    bool closeDeferred_ = false;  // a close waits for the station log's pending commits
};

}  // namespace fw
