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
    // The document before the controllers, which use it: they are destroyed first. All of
    // them are also children of the window, which they leave when destroyed.
    std::unique_ptr<Document> document_;
    MainControls controls_;
    std::unique_ptr<DisplayController> display_;
    std::unique_ptr<EntryController> entry_;
    std::unique_ptr<MeasListController> measList_;
    std::unique_ptr<LocatorController> locator_;
    std::unique_ptr<SettingsController> settings_;
    std::unique_ptr<RigController> rig_;
    std::unique_ptr<MailController> mail_;
    std::unique_ptr<InfoController> info_;
    std::unique_ptr<PrintController> print_;
    std::unique_ptr<PictureController> picture_;
    std::unique_ptr<StationLogController> stationLog_;
    std::unique_ptr<NetworkController> network_;
    std::unique_ptr<NeighboursController> neighbours_;
    bool closeDeferred_ = false;  // a close waits for the station log's pending commits
};

}  // namespace fw
