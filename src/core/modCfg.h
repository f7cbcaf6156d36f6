#pragma once

#include <QByteArray>
#include <QString>

#include "core/SharedState.h"

namespace tolva {

// The settings file "MEK_TOLVA.cfg" in the program folder while that is
// writable. Otherwise it is written in the user's configuration folder, and read
// from there once it exists, else from beside the program.
struct SettingsLocation {
    QString read, write;
};
SettingsLocation settingsLocation(const QString& appPath, bool appFolderWritable,
                                  const QString& userFile);
// Where WriteSettings writes.
QString SettingsFilePath(const SharedState& s);

bool ReadSettings(SharedState& s);
// The reading of the file's content, also remembering its encoding for the write.
bool ReadSettingsBytes(SharedState& s, const QByteArray& bytes);
bool WriteSettings(const SharedState& s);
void RememberMonitor(SharedState& s);

}  // namespace tolva
