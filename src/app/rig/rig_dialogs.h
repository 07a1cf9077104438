#pragma once
// The questions of the "Rig" menu.
#include <QStringList>
#include <optional>

#include "app/window/dialogs.h"
#include "rig/rig_plan.h"

namespace fw {

class RigDialogs : public virtual MessageDialogs {
  public:
    // "Rig Settings…"; the edited rig settings, or no value on cancel.
    virtual std::optional<RigSettings> editRigSettings(const RigSettings& current) = 0;
    // The bands a sweep visits, chosen from `bands` with `checked` ticked at first; no value
    // on cancel, never an empty list.
    virtual std::optional<QStringList> chooseBands(const QStringList& bands,
                                                   const QStringList& checked) = 0;
};

}  // namespace fw
