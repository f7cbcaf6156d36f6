#include "JournalHistory.h"

#include <QHash>

#include "ChangeJournal.h"
#include "ChartName.h"
#include "DbConnection.h"
#include "OdbcStatement.h"
#include "OptionReader.h"
#include "core/Catalog.h"
#include "core/LimitGroups.h"

namespace tolva {

QString journalLimitName(const QString& option) {
    for (const LimitGroup& g : limitGroups()) {
        for (size_t k = 0; k < g.cells.size(); ++k) {
            if (option == QLatin1String(g.valueOptions[k]))
                return limitHeadingOnOneLine(g.cells[k]);
        }
    }
    return option;
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

namespace {

// The widest text column of the journal (VARCHAR(255)).
constexpr int kJournalTextWidth = 255;

// Names of the journal's charts: those of the loaded table, then one statement
// for any the profile no longer holds.
QHash<qint32, QString> chartNames(const SharedState& s, DbConnection& db,
                                  const QVector<JournalEntry>& entries) {
    QHash<qint32, QString> names;
    for (const OptionRow& row : s.gOptionRows)
        names.insert(row.ChartId, row.ChartName);
    QStringList missing;
    for (const JournalEntry& e : entries) {
        if (!names.contains(e.chartId)) {
            names.insert(e.chartId, QString());
            missing << QString::number(e.chartId);
        }
    }
    if (!missing.isEmpty()) {
        db.forEachRow(QStringLiteral("SELECT CHRTID, NAME FROM CSCHRT WHERE CHRTID IN (") +
                          missing.join(QStringLiteral(", ")) + u')',
                      [&](OdbcStatement& row) {
                          const qint32 id = row.int32(0);
                          names.insert(id, row.text(1).value_or(QString()).trimmed());
                      });
    }
    return names;
}

}  // namespace

StoreOutcome ReadJournalHistory(SharedState& s, QVector<JournalEntry>& entries, bool& exists) {
    entries.clear();
    exists = false;
    try {
        MonitorLink link(s);
        link.ensureOpen();
        exists = link.db.findTable(kJournalTable).has_value();
        if (!exists)
            return StoreOutcome::success();
        // The index on (MONID, CHANGED_AT) gives the order without a sort.
        // A block of rows per driver call: the journal grows long, its texts stay short.
        link.db.forEachTextRow(
            QStringLiteral("SELECT CHANGED_AT, DB_USER, WORKSTATION, CHRTID, OPTNAME, OLD_TVAL, "
                           "NEW_TVAL, REASON FROM ") +
                kJournalTable + QStringLiteral(" WHERE MONID = ") +
                QString::number(link.monitorId()) + QStringLiteral(" ORDER BY CHANGED_AT DESC"),
            8, kJournalTextWidth, [&](const OdbcTextRows& row) {
                JournalEntry e;
                // Fractions of a second (PostgreSQL) tell a reader nothing.
                e.changedAt = row.text(0).value_or(QString()).left(19);
                e.user = row.text(1).value_or(QString());
                e.workstation = row.text(2).value_or(QString());
                e.chartId = row.text(3).value_or(QString()).toInt();
                e.option = row.text(4).value_or(QString());
                e.before = row.text(5);
                e.after = row.text(6);
                e.reason = row.text(7).value_or(QString());
                entries.append(std::move(e));
            });
        const QHash<qint32, QString> names = chartNames(s, link.db, entries);
        for (JournalEntry& e : entries)
            e.characteristic = splitChartName(names.value(e.chartId)).characteristic;
        return StoreOutcome::success();
    } catch (const DbError& error) {
        entries.clear();
        return StoreOutcome::driverFailure(error.description());
    }
}

}  // namespace tolva
