#include "app/picture_controller.h"

#include <QAction>
#include <QClipboard>
#include <QFile>
#include <QGuiApplication>
#include <QImage>

#include "app/display_controller.h"
#include "app/main_window.h"
#include "output/picture_files.h"
#include "output/qimage_picture.h"

namespace fw {

namespace {

const QString ClipboardFailedText = QStringLiteral("Zwischenablage kann nicht geöffnet werden");

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

PictureController::PictureController(MainWindow& window)
    : QObject(&window), window_(window), clock_(CurrentLocalTime) {
    const MainActions& a = window.controls().actions;
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
    const std::optional<QString> name =
        window_.dialogs().saveFileName(PictureSaveRequest(clock_()));
    if (!name) return;
    // The picture shown now: a redraw that ended early left the previous one in place.
    const PictureSaveResult result =
        SavePictureToFile(window_.display().picture(), QFile::encodeName(*name).toStdString());
    switch (result.status) {
        case PictureSaveResult::Status::Saved:
            return;
        case PictureSaveResult::Status::Refused:
            window_.dialogs().warning(QString::fromStdString(result.message));
            return;
        case PictureSaveResult::Status::Failed:
            window_.dialogs().error(QString::fromStdString(result.message));
            return;
    }
}

void PictureController::MICopytoClipboardClick() {
    QClipboard* clipboard = QGuiApplication::clipboard();
    if (!clipboard) {
        window_.dialogs().error(ClipboardFailedText);
        return;
    }
    const QImage image = PictureToQImage(window_.display().picture());
    if (image.isNull()) return;  // nothing has been drawn yet
    clipboard->setImage(image);
}

}  // namespace fw
