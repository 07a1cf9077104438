#pragma once
// The questions of the "Rig" menu and of the Spectrum window.
#include <QStringList>
#include <optional>

#include "app/settings/app_settings.h"
#include "app/window/picture_printing.h"

namespace fw {

class RigDialogs : public virtual PicturePrintDialogs {
  public:
    // "Rig Settings…"; the edited rig and SDR settings, or no value on cancel.
    virtual std::optional<ReceiverSettings> editRigSettings(const ReceiverSettings& current) = 0;
    // The bands a sweep visits, chosen from `bands` with `checked` ticked at first; no value
    // on cancel, never an empty list.
    virtual std::optional<QStringList> chooseBands(const QStringList& bands,
                                                   const QStringList& checked) = 0;
};

}  // namespace fw
