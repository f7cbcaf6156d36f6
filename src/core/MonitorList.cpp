#include "MonitorList.h"

#include "Catalog.h"
#include "DbConnection.h"
#include "OdbcStatement.h"

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
        // Read into a list of our own and take it only when every row converted:
        // a failure half-way leaves the current connection's list intact. Read
        // straight from the driver, which gives names holding "Ø" whole.
        QVector<MonitorEntry> monitors;
        db.forEachRow(kMonitorQuery, [&](OdbcStatement& row) {
            MonitorEntry entry;
            entry.MonId = row.int32(0);
            const std::optional<QString> name = row.text(1);
            if (!name)
                throw DbError(catalogText(Msg::UnexpectedNull));
            entry.Name = name->trimmed();
            const std::optional<QString> flag = row.text(2);
            entry.IsQueryProfile =
                flag && FieldValue(QVariant(*flag)).equalsNumber(kQueryProfileFlag) ? 1 : 0;
            monitors.append(entry);
        });
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
