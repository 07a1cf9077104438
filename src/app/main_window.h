#pragma once
// The main window: owns the state of a run and the controls, and hands every command
// group to its controller.
#include <QMainWindow>
#include <memory>

#include "app/logic/app_state.h"
#include "app/dialogs.h"
#include "app/logic/layout_rule.h"
#include "app/main_controls.h"
#include "measure/meas_list.h"
#include "diagram/render.h"

namespace fw {

class DisplayController;
class EntryController;
class LocatorController;
class MeasListController;

class MainWindow : public QMainWindow {
    Q_OBJECT

  public:
    // `dialogs` answers every modal dialog; without one the real Qt dialogs are used.
    // `programFilePath` defaults to the running program's file.
    explicit MainWindow(Dialogs* dialogs = nullptr, const QString& programFilePath = {});
    ~MainWindow() override;

    AppState& state() { return state_; }
    const AppState& state() const { return state_; }
    MainControls& controls() { return controls_; }
    Dialogs& dialogs() { return *dialogs_; }
    DisplayController& display() { return *display_; }
    EntryController& entry() { return *entry_; }
    MeasListController& measListController() { return *measListController_; }
    MeasList& measList() { return measList_; }

    // The measurements the diagram draws as dots.
    MeasDots measurementDots() const;

    // The redraw in which every change ends.
    void updateNoise();
    // Rebuilds the measurement list box; run before every redraw that follows a change.
    void updateUserList();

    // The window's outer size: the client area plus the frame and caption band.
    Size outerSize() const;
    void setOuterSize(Size outer);
    // A resizable frame (automatic layout) or a fixed one.
    void setResizableBorder(bool resizable);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void FormCreate(const QString& programFilePath);
    void placeOnScreen();

    AppState state_;
    MeasList measList_;
    std::unique_ptr<Dialogs> ownDialogs_;
    Dialogs* dialogs_ = nullptr;
    MainControls controls_;
    std::unique_ptr<DisplayController> display_;
    std::unique_ptr<EntryController> entry_;
    std::unique_ptr<MeasListController> measListController_;
    std::unique_ptr<LocatorController> locatorController_;
};

}  // namespace fw
