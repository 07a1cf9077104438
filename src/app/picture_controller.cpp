#include "app/picture_controller.h"

#include <QAction>
#include <QClipboard>
#include <QFile>
#include <QGuiApplication>
#include <QImage>

#include "output/picture_files.h"
#include "output/qt/qimage_picture.h"

namespace fw {

namespace {

constexpr const char* ClipboardFailedText = "Zwischenablage kann nicht geöffnet werden";

QString FromUtf8(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

FileDialogRequest PictureSaveRequest(const LocalTime& today) {
    FileDialogRequest r;
    r.title = QStringLiteral("Save Picture");
    for (const FileTypeFilter& type : PictureFileTypes) r.filters << FromUtf8(type.description);
    r.selectedFilter = 0;
    r.defaultSuffix = FromUtf8(PictureDefaultSuffix);
    r.proposedName = QString::fromStdString(DefaultPictureName(today));
    r.confirmOverwrite = false;
    return r;
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
    // The name is proposed afresh from the date of each click.
    const std::optional<QString> name = dialogs_.saveFileName(PictureSaveRequest(clock_()));
    if (!name) return;
    // The picture shown now: a redraw that ended early left the previous one in place.
    const PictureSaveResult result =
        SavePictureToFile(document_.picture(), QFile::encodeName(*name).toStdString());
    if (result.saved()) return;
    const bool refused = result.status == PictureSaveResult::Status::Refused;
    dialogs_.show({refused ? MessageKind::Warning : MessageKind::Error, result.message});
}

void PictureController::MICopytoClipboardClick() {
    QClipboard* clipboard = QGuiApplication::clipboard();
    if (!clipboard) {
        dialogs_.show({MessageKind::Error, ClipboardFailedText});
        return;
    }
    const QImage image = PictureToQImage(document_.picture());
    if (image.isNull()) return;  // nothing has been drawn yet
    clipboard->setImage(image);
}

}  // namespace fw
