#include "app/diagram/picture_controller.h"

#include <QAction>

namespace fw {

PictureController::PictureController(const Document& document, PictureDialogs& dialogs,
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
