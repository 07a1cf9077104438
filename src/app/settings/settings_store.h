#pragma once
// Reads and writes the program's settings in the user's settings file
// ($XDG_CONFIG_HOME/Floorwatch/Floorwatch.ini, by default in ~/.config, in INI form).
// Missing or unreadable values keep their defaults.
#include <optional>

#include "app/settings/app_settings.h"
#include "libs/message.h"

class QSettings;

namespace fw {

AppSettings LoadSettings(QSettings& store);
void SaveSettings(QSettings& store, const AppSettings& settings);

// The user's settings file and its full name.
AppSettings LoadUserSettings();
std::string UserSettingsPath();
// False when the file cannot be written; the settings stay in use for this run.
bool SaveUserSettings(const AppSettings& settings);
// The same, with the message for the user when the file cannot be written.
std::optional<Message> SaveUserSettingsOrSayWhy(const AppSettings& settings);

}  // namespace fw
