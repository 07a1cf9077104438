#pragma once
// A picture saved to a file or copied to the clipboard, with its questions and messages:
// the diagram's "Save Picture" and "Copy Picture to Clipboard" and the same commands of the
// station log's views.
#include "app/window/dialogs.h"
#include "diagram/picture.h"
#include "libs/date_text.h"

namespace fw {

class PictureDialogs : public virtual MessageDialogs, public virtual FileDialogs {};

// The picture save dialog for a save on `today`: the four file types with the first
// preselected, default suffix "bmp", the dialog's own current folder, the proposed name
// YYMMDD_Noise_Report.bmp, and no question before overwriting.
FileDialogRequest PictureSaveRequest(const LocalTime& today);

// Asks for a file name with `request` and writes `picture` in the format of its extension.
// Cancel does nothing; a refused extension is a warning, a failed write an error.
void SavePictureAs(PictureDialogs& dialogs, const DiagramPicture& picture,
                   const FileDialogRequest& request);
// Replaces the clipboard's content with `picture`; nothing before a picture was drawn.
void CopyPictureToClipboard(MessageDialogs& dialogs, const DiagramPicture& picture);

}  // namespace fw
