#pragma once

#include <QString>
#include <QVector>

#include "DbConnection.h"
#include "FolderTree.h"
#include "StoreOutcome.h"

namespace tolva {

// The two folder tables as the monitor picker places them.
struct MonitorFolders {
    QVector<FieldRow> nodes;    // live CSNODE rows by column position
    QVector<FolderLink> links;  // CSMINN rows in reading order
};

// Reads CSMINN, then the live rows of CSNODE in one bulk read. On failure,
// message 131 with the driver's description, or with text 130 when CSNODE has
// no live row; `folders` then holds what was read before the failure.
StoreOutcome ReadMonitorFolders(const QString& connectionString, MonitorFolders& folders);

}  // namespace tolva
