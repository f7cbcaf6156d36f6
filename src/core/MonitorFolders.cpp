#include "MonitorFolders.h"

namespace tolva {

StoreOutcome ReadMonitorFolders(const QString& connectionString, MonitorFolders& folders) {
    folders = MonitorFolders();
    try {
        DbConnection db;
        db.open(connectionString);
        DbResult links = db.execute(QStringLiteral("SELECT * FROM CSMINN"));
        while (!links.atEnd()) {
            folders.links.append({links.field(0).toInt32(), links.field(1).toInt32()});
            links.moveNext();
        }
        DbResult nodes = db.execute(QStringLiteral("SELECT * FROM CSNODE WHERE VFLG IS NULL"));
        if (nodes.atEnd())
            return StoreOutcome::failure(Msg::FolderListError, catalogText(Msg::FolderListMissing));
        folders.nodes = nodes.readAll();
        db.close();
    } catch (const DbError& error) {
        return StoreOutcome::failure(Msg::FolderListError, error.description());
    }
    return StoreOutcome::success();
}

}  // namespace tolva
