#include "MonitorList.h"

#include "DbConnection.h"
#include "app/SharedState.h"
#include "app/UiPort.h"

namespace tolva {

namespace {

const QString kMonitorQuery = QStringLiteral(
    "SELECT CSMON.MONID, CSMON.NAME, CSPROF.PROFFLG FROM CSMON, CSPROF WHERE (CSMON.MTYPE = "
    "'SPC') AND (CSMON.VFLG IS NULL) AND (CSPROF.PROFID = CSMON.PROFID) AND (CSMON.PROFID IN "
    "(SELECT PROFID FROM CSPROF WHERE VFLG IS NULL))");

constexpr double kQueryProfileFlag = 17;

}  // namespace

bool LoadMonitorList(const QString& connectionString, QString* failure) {
    SharedState& state = appState();
    uiPort().setBusyPointer();
    uiPort().processPendingEvents();
    if (failure)
        failure->clear();

    try {
        DbConnection db;
        db.open(connectionString.isEmpty() ? state.gConnStr : connectionString);
        DbResult rows = db.execute(kMonitorQuery);

        // An ordinary int: a database may hold more monitors than a 16-bit count.
        int n = 0;
        while (!rows.atEnd()) {
            // Growing one entry at a time keeps the entries already read and
            // drops what an earlier, longer list held beyond them.
            state.gMonitors.resize(n + 1);
            MonitorEntry& entry = state.gMonitors[n];
            const FieldValue name = rows.field(1);
            if (name.isNull())
                throw DbError(QStringLiteral("Valeur NULL inattendue"));
            entry.Name = name.toText().trimmed();
            entry.MonId = rows.field(0).toInt32();
            entry.IsQueryProfile = rows.field(2).equalsNumber(kQueryProfileFlag) ? 1 : 0;
            ++n;
            rows.moveNext();
        }
        rows.close();
        db.close();

        if (n == 0)
            return false;  // the list stays as it was; the caller restores the pointer
        uiPort().setNormalPointer();
        return true;
    } catch (const DbError& error) {
        uiPort().setNormalPointer();
        if (failure)
            *failure = error.description();
        return false;
    }
}

}  // namespace tolva
