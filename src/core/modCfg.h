#pragma once

#include <QString>

namespace tolva {

// The settings file "MEK_TOLVA.cfg": where reading and writing happen (the
// program folder when writable, else the user's configuration folder).
QString SettingsFilePath();

bool ReadSettings();
bool WriteSettings();
void RememberMonitor();
// Column numbers from the view switches and the current monitor; then the
// toolbar images and view-menu check marks through the editor window.
void ApplyViewState();

}  // namespace tolva
