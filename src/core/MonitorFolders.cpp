#include "MonitorFolders.h"

#include "OdbcStatement.h"

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
        // Straight from the driver, which gives names holding "Ø" whole.
        db.forEachRow(QStringLiteral("SELECT * FROM CSNODE WHERE VFLG IS NULL"),
                      [&](OdbcStatement& row) {
                          FieldRow fields;
                          for (int c = 0, n = row.columnCount(); c < n; ++c) {
                              const std::optional<QString> text = row.text(c);
                              fields.append(text ? FieldValue(QVariant(*text)) : FieldValue());
                          }
                          folders.nodes.append(fields);
                      });
        if (folders.nodes.isEmpty())
            return StoreOutcome::failure(Msg::FolderListError, catalogText(Msg::FolderListMissing));
        db.close();
    } catch (const DbError& error) {
        return StoreOutcome::failure(Msg::FolderListError, error.description());
    }
    return StoreOutcome::success();
}

}  // namespace tolva
