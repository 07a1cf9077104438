#pragma once
// Every question the main window's features ask, answered by one object: the real Qt
// dialogs (QtDialogs) or, in window tests, a script.
#include "app/entry/entry_dialogs.h"
#include "app/rig/rig_dialogs.h"
#include "app/settings/settings_dialogs.h"
#include "app/stationlog/station_log_dialogs.h"

namespace fw {

class WindowDialogs : public EntryDialogs,
                      public SettingsDialogs,
                      public RigDialogs,
                      public StationLogDialogs {};

}  // namespace fw
