#include "ChangeJournal.h"

#include <QSysInfo>

#include "DbConnection.h"

#ifdef Q_OS_UNIX
#include <pwd.h>
#include <unistd.h>
#endif

namespace tolva {

namespace {

// The desktop session's account: where the database has no users of its own.
QString sessionUser() {
#ifdef Q_OS_UNIX
    if (const passwd* entry = getpwuid(getuid()))
        return QString::fromLocal8Bit(entry->pw_name);
#endif
    return qEnvironmentVariable("USER", qEnvironmentVariable("USERNAME"));
}

}  // namespace

ChangeJournal::ChangeJournal(const QString& reason) {
    if (!reason.trimmed().isEmpty())
        m_reason = reason.trimmed();
}

bool ChangeJournal::active(DbConnection& db) {
    if (!m_active) {
        m_active = db.findTable(kJournalTable).has_value();
        if (*m_active) {
            m_user = db.userName();
            // SQLite has no users: the desktop session's account stands for one.
            if (m_user.isEmpty())
                m_user = sessionUser();
        }
    }
    return *m_active;
}

void ChangeJournal::record(DbConnection& db, qint32 monId, qint32 chartId, const QString& option,
                           const StoredChange& change) {
    if (change.before == change.after || !active(db))
        return;
    // The server's clock, not the workstation's: one time base for every editor.
    db.executeWithTexts(
        QStringLiteral("INSERT INTO ") + kJournalTable +
            QStringLiteral(" (CHANGED_AT, DB_USER, WORKSTATION, MONID, CHRTID, OPTNAME, "
                           "OLD_TVAL, NEW_TVAL, REASON) VALUES (CURRENT_TIMESTAMP, ?, ?, ") +
            QString::number(monId) + QStringLiteral(", ") + QString::number(chartId) +
            QStringLiteral(", ?, ?, ?, ?)"),
        {m_user, QSysInfo::machineHostName(), option, change.before, change.after, m_reason});
}

}  // namespace tolva
