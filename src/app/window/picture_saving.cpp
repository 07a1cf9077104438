#include "app/window/picture_saving.h"

#include <QClipboard>
#include <QFile>
#include <QGuiApplication>
#include <QImage>

#include "app/window/qt_text.h"
#include "output/picture_files.h"
#include "output/qt/qimage_picture.h"

namespace fw {

namespace {

constexpr const char* ClipboardFailedText = "Zwischenablage kann nicht geöffnet werden";

}  // namespace

FileDialogRequest PictureSaveRequest(const LocalTime& today) {
    FileDialogRequest r;
    r.title = QStringLiteral("Save Picture");
    for (const FileTypeFilter& type : PictureFileTypes) r.filters << ToQString(type.description);
    r.selectedFilter = 0;
    r.defaultSuffix = ToQString(PictureDefaultSuffix);
    r.proposedName = QString::fromStdString(DefaultPictureName(today));
    r.confirmOverwrite = false;
    return r;
}

void SavePictureAs(PictureDialogs& dialogs, const DiagramPicture& picture,
                   const FileDialogRequest& request) {
    const std::optional<QString> name = dialogs.saveFileName(request);
    if (!name) return;
    const PictureSaveResult result =
        SavePictureToFile(picture, QFile::encodeName(*name).toStdString());
    if (result.saved()) return;
    const bool refused = result.status == PictureSaveResult::Status::Refused;
    dialogs.show({refused ? MessageKind::Warning : MessageKind::Error, result.message});
}

void CopyPictureToClipboard(MessageDialogs& dialogs, const DiagramPicture& picture) {
    QClipboard* clipboard = QGuiApplication::clipboard();
    if (!clipboard) {
        dialogs.show({MessageKind::Error, ClipboardFailedText});
        return;
    }
    const QImage image = PictureToQImage(picture);
    if (image.isNull()) return;  // nothing has been drawn yet
    clipboard->setImage(image);
}

}  // namespace fw
