#include "JournalHistory.h"

#include <QHash>

#include "ChangeJournal.h"
#include "ChartName.h"
#include "DbConnection.h"
#include "OdbcStatement.h"
#include "OptionReader.h"
#include "core/Catalog.h"

namespace tolva {

QString journalLimitName(const QString& option) {
    static const QHash<QString, int> headings = {{QStringLiteral("ProcCapUpper"), 153},
                                                 {QStringLiteral("ProcCapNominal"), 154},
                                                 {QStringLiteral("ProcCapLower"), 155},
                                                 {QStringLiteral("XChartUCLConstant"), 156},
                                                 {QStringLiteral("XChartLCLConstant"), 157},
                                                 {QStringLiteral("XChartCenterLineValue"), 158},
                                                 {QStringLiteral("RChartUCLConstant"), 159},
                                                 {QStringLiteral("RChartLCLConstant"), 160},
                                                 {QStringLiteral("RChartCenterLineValue"), 161}};
    const int number = headings.value(option);
    if (number == 0)
        return option;
    return catalogHeading(number).split(QStringLiteral("\r\n")).join(u' ');
}

QString changeText(const QString& before, const QString& after) {
    return (before.isEmpty() ? catalogText(Msg::NoValue) : before) + QStringLiteral(" → ") +
           (after.isEmpty() ? catalogText(Msg::ClearedValue) : after);
}

StoreOutcome FindJournal(SharedState& s, bool& exists) {
    exists = false;
    try {
        DbConnection db;
        db.open(s.gConnStr);
        exists = db.findTable(kJournalTable).has_value();
        return StoreOutcome::success();
    } catch (const DbError& error) {
        return StoreOutcome::driverFailure(error.description());
    }
}

StoreOutcome ReadJournalHistory(SharedState& s, QVector<JournalEntry>& entries, bool& exists) {
    entries.clear();
    exists = false;
    try {
        MonitorLink link(s);
        link.ensureOpen();
        exists = link.db.findTable(kJournalTable).has_value();
        if (!exists)
            return StoreOutcome::success();
        // Rows of one save share their time: the chart and option keep them in
        // a stable order.
        const QString sql =
            QStringLiteral(
                "SELECT J.CHANGED_AT, J.DB_USER, J.WORKSTATION, J.CHRTID, C.NAME, J.OPTNAME, "
                "J.OLD_TVAL, J.NEW_TVAL, J.REASON FROM ") +
            kJournalTable +
            QStringLiteral(" J LEFT JOIN CSCHRT C ON C.CHRTID = J.CHRTID WHERE J.MONID = ") +
            QString::number(link.monitorId()) +
            QStringLiteral(" ORDER BY J.CHANGED_AT DESC, J.CHRTID, J.OPTNAME");
        link.db.forEachRow(sql, [&](OdbcStatement& row) {
            JournalEntry e;
            // Fractions of a second (PostgreSQL) tell a reader nothing.
            e.changedAt = row.text(0).value_or(QString()).left(19);
            e.user = row.text(1).value_or(QString());
            e.workstation = row.text(2).value_or(QString());
            e.chartId = row.int32(3);
            e.characteristic =
                splitChartName(row.text(4).value_or(QString()).trimmed()).characteristic;
            e.option = row.text(5).value_or(QString());
            e.before = row.text(6);
            e.after = row.text(7);
            e.reason = row.text(8).value_or(QString());
            entries.append(std::move(e));
        });
        return StoreOutcome::success();
    } catch (const DbError& error) {
        entries.clear();
        return StoreOutcome::driverFailure(error.description());
    }
}

}  // namespace tolva
