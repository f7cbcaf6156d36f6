#pragma once

#include <QString>
#include <QVector>
#include <optional>

#include "core/SharedState.h"
#include "core/StoreOutcome.h"

namespace tolva {

// One row of the journal as the history window shows it.
struct JournalEntry {
    QString changedAt;  // the server's time as "YYYY-MM-DD hh:mm:ss"
    QString user;
    QString workstation;
    qint32 chartId = 0;
    QString characteristic;  // the chart's name, its query part cut off
    QString option;
    std::optional<QString> before;  // none: no row before
    std::optional<QString> after;   // none: the row deleted
    QString reason;
};

// The journal rows of the current monitor, newest first, or none (`exists`
// false) when the database keeps no journal. One catalog call and one
// statement, whatever the number of rows, and one more for the names of
// charts gOptionRows does not hold. On failure the driver's text.
StoreOutcome ReadJournalHistory(SharedState& s, QVector<JournalEntry>& entries, bool& exists);

// Whether the data source holds the journal (one connection, one catalog call).
StoreOutcome FindJournal(SharedState& s, bool& exists);

// The grid heading (on one line) of the limit an option holds, or the option's
// own name for the type and flag options.
QString journalLimitName(const QString& option);

// "old → new" with the catalog's words for no value and for a cleared one.
QString changeText(const QString& before, const QString& after);

}  // namespace tolva
