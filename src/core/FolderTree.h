#pragma once

#include <QString>
#include <QVector>
#include <memory>
#include <vector>

#include "core/DbConnection.h"
#include "core/SharedState.h"

namespace tolva {

// One CSMINN row: a monitor filed in a folder.
struct FolderLink {
    qint32 NodeId = 0;
    qint32 MonId = 0;
};

// The folder tree of the monitor picker, without widgets: folders hold their
// subfolders (in chain order) and then their monitors (in filing order).
struct FolderTreeItem {
    enum class Kind { Folder, Monitor };
    Kind kind = Kind::Folder;
    QString text;
    int monitorIndex = -1;  // index in gMonitors, for monitors
    std::vector<std::unique_ptr<FolderTreeItem>> children;
};

struct FolderTree {
    std::unique_ptr<FolderTreeItem> root;      // null when no folder holds a monitor
    const FolderTreeItem* selected = nullptr;  // the remembered monitor, if shown
};

// Places the folders of CSNODE (rows by column position: node number, name,
// parent, previous folder under the same parent) from the root folder 0 down,
// with the monitors that `links` files in each. Folders holding no monitor
// anywhere below them are left out. The selected item is the last monitor item
// placed whose monitor `lastMonitors` remembers for `dsn`.
// Each folder number is placed once at most, so a table whose parent or chain
// links form a loop still gives a finite tree: the loop ends that branch.
FolderTree BuildFolderTree(const QVector<FieldRow>& nodes, const QVector<FolderLink>& links,
                           const QVector<MonitorEntry>& monitors,
                           const QVector<DsnMonitor>& lastMonitors, const QString& dsn);

}  // namespace tolva
