#pragma once
// "Save As" / "Save Picture" and "Copy to Clipboard" / "Copy Picture to Clipboard": the
// diagram picture shown now, written to a file or put on the clipboard. Both only read it.
#include <QObject>
#include <functional>

#include "app/window/picture_saving.h"
#include "app/window/document.h"
#include "app/window/main_controls.h"
#include "libs/date_text.h"

namespace fw {

class PictureController : public QObject {
    Q_OBJECT

  public:
    PictureController(const Document& document, PictureDialogs& dialogs, const MainActions& actions,
                      QObject* parent);

    // Asks for a file name and writes the shown picture in the format of its extension.
    // Cancel does nothing; a refused extension is a warning, a failed write an error.
    void MISaveAsClick();
    // Replaces the clipboard's content with the shown picture.
    void MICopytoClipboardClick();

    // The clock that dates the proposed file name; null restores the local clock.
    void setClock(std::function<LocalTime()> clock);

  private:
    const Document& document_;
    PictureDialogs& dialogs_;
    std::function<LocalTime()> clock_;
};

}  // namespace fw
