#include "MonitorList.h"

#include "Catalog.h"
#include "DbConnection.h"

namespace tolva {

namespace {

const QString kMonitorQuery = QStringLiteral(
    "SELECT CSMON.MONID, CSMON.NAME, CSPROF.PROFFLG FROM CSMON, CSPROF WHERE (CSMON.MTYPE = "
    "'SPC') AND (CSMON.VFLG IS NULL) AND (CSPROF.PROFID = CSMON.PROFID) AND (CSMON.PROFID IN "
    "(SELECT PROFID FROM CSPROF WHERE VFLG IS NULL))");

constexpr double kQueryProfileFlag = 17;

}  // namespace

StoreOutcome LoadMonitorList(SharedState& state, const QString& connectionString) {
    try {
        DbConnection db;
        db.open(connectionString.isEmpty() ? state.gConnStr : connectionString);
        DbResult rows = db.execute(kMonitorQuery);

        // Read into a list of our own and take it only when every row converted:
        // a failure half-way leaves the current connection's list intact.
        QVector<MonitorEntry> monitors;
        while (!rows.atEnd()) {
            MonitorEntry entry;
            const FieldValue name = rows.field(1);
            if (name.isNull())
                throw DbError(catalogText(Msg::UnexpectedNull));
            entry.Name = name.toText().trimmed();
            entry.MonId = rows.field(0).toInt32();
            entry.IsQueryProfile = rows.field(2).equalsNumber(kQueryProfileFlag) ? 1 : 0;
            monitors.append(entry);
            rows.moveNext();
        }
        rows.close();
        db.close();

        if (monitors.isEmpty())
            return StoreOutcome::failure(Msg::MonitorsNotFound);
        state.gMonitors = std::move(monitors);
        return StoreOutcome::success();
    } catch (const DbError& error) {
        return StoreOutcome::failure(Msg::MonitorsNotFound, error.description());
    }
}

StoreOutcome CheckDataSource(SharedState& state, const QString& connectionString) {
    try {
        DbConnection probe;
        probe.open(connectionString);
        probe.close();
    } catch (const DbError& error) {
        return StoreOutcome::failure(Msg::MonitorsNotFound, error.description());
    }
    return LoadMonitorList(state, connectionString);
}

}  // namespace tolva
