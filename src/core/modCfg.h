#pragma once

#include <QString>

namespace tolva {

// The settings file "MEK_TOLVA.cfg": where reading and writing happen (the
// program folder when writable, else the user's configuration folder).
QString SettingsFilePath();

bool ReadSettings();
bool WriteSettings();
void RememberMonitor();

}  // namespace tolva
