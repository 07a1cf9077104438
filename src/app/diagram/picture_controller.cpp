#include "app/diagram/picture_controller.h"

#include <QAction>
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

void SavePictureAs(Dialogs& dialogs, const DiagramPicture& picture,
                   const FileDialogRequest& request) {
    const std::optional<QString> name = dialogs.saveFileName(request);
    if (!name) return;
    const PictureSaveResult result =
        SavePictureToFile(picture, QFile::encodeName(*name).toStdString());
    if (result.saved()) return;
    const bool refused = result.status == PictureSaveResult::Status::Refused;
    dialogs.show({refused ? MessageKind::Warning : MessageKind::Error, result.message});
}

void CopyPictureToClipboard(Dialogs& dialogs, const DiagramPicture& picture) {
    QClipboard* clipboard = QGuiApplication::clipboard();
    if (!clipboard) {
        dialogs.show({MessageKind::Error, ClipboardFailedText});
        return;
    }
    const QImage image = PictureToQImage(picture);
    if (image.isNull()) return;  // nothing has been drawn yet
    clipboard->setImage(image);
}

PictureController::PictureController(const Document& document, Dialogs& dialogs,
                                     const MainActions& a, QObject* parent)
    : QObject(parent), document_(document), dialogs_(dialogs), clock_(CurrentLocalTime) {
    for (QAction* save : {a.imageSaveAs, a.savePicture}) {
        save->setEnabled(true);
        connect(save, &QAction::triggered, this, [this] { MISaveAsClick(); });
    }
    for (QAction* copy : {a.imageCopy, a.copyPicture}) {
        copy->setEnabled(true);
        connect(copy, &QAction::triggered, this, [this] { MICopytoClipboardClick(); });
    }
}

void PictureController::setClock(std::function<LocalTime()> clock) {
    clock_ = clock ? std::move(clock) : std::function<LocalTime()>(CurrentLocalTime);
}

void PictureController::MISaveAsClick() {
    // The name is proposed afresh from the date of each click. The picture is the one shown
    // now: a redraw that ended early left the previous one in place.
    SavePictureAs(dialogs_, document_.picture(), PictureSaveRequest(clock_()));
}

void PictureController::MICopytoClipboardClick() {
    CopyPictureToClipboard(dialogs_, document_.picture());
}

}  // namespace fw
