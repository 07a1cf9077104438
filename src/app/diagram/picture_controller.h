#pragma once
// "Save As" / "Save Picture" and "Copy to Clipboard" / "Copy Picture to Clipboard": the
// diagram picture shown now, written to a file or put on the clipboard. Both only read it.
#include <QObject>
#include <functional>

#include "app/window/dialogs.h"
#include "app/window/document.h"
#include "app/window/main_controls.h"
#include "libs/date_text.h"

namespace fw {

// The picture save dialog for a save on `today`: the four file types with the first
// preselected, default suffix "bmp", the dialog's own current folder, the proposed name
// YYMMDD_Noise_Report.bmp, and no question before overwriting.
FileDialogRequest PictureSaveRequest(const LocalTime& today);

// Asks for a file name with `request` and writes `picture` in the format of its extension.
// Cancel does nothing; a refused extension is a warning, a failed write an error.
void SavePictureAs(Dialogs& dialogs, const DiagramPicture& picture,
                   const FileDialogRequest& request);
// Replaces the clipboard's content with `picture`; nothing before a picture was drawn.
void CopyPictureToClipboard(Dialogs& dialogs, const DiagramPicture& picture);

class PictureController : public QObject {
    Q_OBJECT

  public:
    PictureController(const Document& document, Dialogs& dialogs, const MainActions& actions,
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
    Dialogs& dialogs_;
    std::function<LocalTime()> clock_;
};

}  // namespace fw
