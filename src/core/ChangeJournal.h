#pragma once

#include <QString>
#include <optional>

namespace tolva {

class DbConnection;

// The table an administrator may add to a NOVRAX database to keep a record of
// every value a save changes (resources/journal/ holds its creation scripts).
inline const QString kJournalTable = QStringLiteral("TOLVA_JOURNAL");

// A stored text as a save changes it: before (none: no row, or a null TVAL)
// and after (none: the row deleted).
struct StoredChange {
    std::optional<QString> before;
    std::optional<QString> after;
};

// The journal rows of one save, written on the save's connection inside the
// transaction of the group they belong to, so that a group and its record
// commit or roll back together.
class ChangeJournal {
public:
    // `reason`: what the user gave for the save; blank means none (NULL).
    explicit ChangeJournal(const QString& reason = QString());

    // Whether the connection's database holds the journal: one catalog call,
    // the first time only. Throws DbError.
    bool active(DbConnection& db);
    // One row for the change when the journal is active and the stored text
    // really changed. Throws DbError (a refused insert fails the group).
    void record(DbConnection& db, qint32 monId, qint32 chartId, const QString& option,
                const StoredChange& change);

private:
    std::optional<QString> m_reason;
    std::optional<bool> m_active;
    QString m_user;
};

}  // namespace tolva
