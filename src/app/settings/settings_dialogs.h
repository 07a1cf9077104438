#pragma once
// The question of "Settings…".
#include <optional>

#include "app/settings/app_settings.h"
#include "app/window/dialogs.h"

namespace fw {

class SettingsDialogs : public virtual MessageDialogs {
  public:
    // The settings dialog; the edited settings, or no value on cancel.
    virtual std::optional<AppSettings> editSettings(const AppSettings& current) = 0;
};

}  // namespace fw
