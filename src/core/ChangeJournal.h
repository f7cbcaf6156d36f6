#pragma once

#include <QString>
#include <optional>

namespace tolva {

class DbConnection;
struct ValueWrite;

// The table an administrator may add to a NOVRAX database to keep a record of
// every value a save changes (resources/journal/ holds its creation scripts).
inline const QString kJournalTable = QStringLiteral("TOLVA_JOURNAL");

// The journal rows of one save, run on the save's connection inside its
// transaction, so that the values and their record commit or roll back together.
class ChangeJournal {
public:
    // `reason`: what the user gave for the save; blank means none (NULL).
    explicit ChangeJournal(const QString& reason = QString());

    // Whether the connection's database holds the journal: one catalog call,
    // the first time only, unless presenceSelect's answer came first. Throws DbError.
    bool active(DbConnection& db);
    // A statement answering with one row whose first column is 0 without the
    // journal table: a server sends it along with the save's reads, which saves
    // the catalog call its round trips. None where the catalog call costs nothing.
    static std::optional<QString> presenceSelect(DbConnection& db);
    void presenceRead(bool kept) { m_active = kept; }
    // The INSERT of the value's record when the journal is active and the
    // stored text really changes; none otherwise. Throws DbError.
    std::optional<QString> statement(DbConnection& db, qint32 monId, const ValueWrite& write);

private:
    // A text as an SQL literal (NULL for none) in the connection's dialect.
    QString literal(DbConnection& db, const std::optional<QString>& text);

    std::optional<QString> m_reason;
    std::optional<bool> m_active;
    QString m_user;
};

}  // namespace tolva
