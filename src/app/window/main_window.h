#pragma once
// The main window: creates the document, the controls and one controller per command group,
// and wires them. It holds no logic of its own.
#include <QMainWindow>
#include <memory>

#include "app/window/dialogs.h"
#include "app/window/document.h"
#include "app/window/main_controls.h"
#include "app/window/window_frame.h"

namespace fw {

class DisplayController;
class EntryController;

class MainWindow : public QMainWindow, public WindowFrame {
    Q_OBJECT

  public:
    // `dialogs` answers every modal dialog; without one the real Qt dialogs are used.
    // `programFilePath` defaults to the running program's file.
    explicit MainWindow(Dialogs* dialogs = nullptr, const QString& programFilePath = {});
    ~MainWindow() override;

    Document& document() { return *document_; }
    MainControls& controls() { return controls_; }
    DisplayController& display() { return *display_; }
    EntryController& entry() { return *entry_; }

    Size outerSize() const override;
    void setOuterSize(Size outer) override;
    void setResizableBorder(bool resizable) override;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void FormCreate(const QString& programFilePath);
    void placeOnScreen();

    std::unique_ptr<Dialogs> ownDialogs_;
    Dialogs* dialogs_ = nullptr;
    Document* document_ = nullptr;  // children of the window, like every controller
    MainControls controls_;
    DisplayController* display_ = nullptr;
    EntryController* entry_ = nullptr;
};

}  // namespace fw
