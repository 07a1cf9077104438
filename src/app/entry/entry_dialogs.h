#pragma once
// The questions of the measurement list ("Load", "Save") and of "Enter Locator and
// Date/Time".
#include <QString>
#include <optional>

#include "app/window/dialogs.h"

namespace fw {

class EntryDialogs : public virtual MessageDialogs, public virtual FileDialogs {
  public:
    // A text-input dialog; no value when the user cancels.
    virtual std::optional<QString> inputText(const QString& caption, const QString& prompt,
                                             const QString& initialText) = 0;
};

}  // namespace fw
