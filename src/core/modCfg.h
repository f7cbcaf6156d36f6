#pragma once

#include <QByteArray>
#include <QString>

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
QString SettingsFilePath();

bool ReadSettings();
// The reading of the file's content, also remembering its encoding for the write.
bool ReadSettingsBytes(const QByteArray& bytes);
bool WriteSettings();
void RememberMonitor();

}  // namespace tolva
