#include "ChangeJournal.h"

#include <QSysInfo>

#include "DbConnection.h"
#include "OptionWriter.h"

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

std::optional<QString> ChangeJournal::presenceSelect(DbConnection& db) {
    switch (db.dialect()) {
        case DbConnection::Dialect::PostgreSQL:
            // A table an unquoted INSERT reaches through the search path.
            return QStringLiteral("SELECT COUNT(*) FROM pg_catalog.pg_tables WHERE tablename = '") +
                   kJournalTable.toLower() +
                   QStringLiteral("' AND schemaname = ANY (current_schemas(false))");
        case DbConnection::Dialect::MySQL:
            return QStringLiteral(
                       "SELECT COUNT(*) FROM information_schema.TABLES WHERE "
                       "TABLE_SCHEMA = DATABASE() AND TABLE_NAME = '") +
                   kJournalTable + u'\'';
        default:
            return std::nullopt;
    }
}

bool ChangeJournal::active(DbConnection& db) {
    if (!m_active)
        m_active = db.findTable(kJournalTable).has_value();
    if (*m_active && m_user.isEmpty()) {
        m_user = db.userName();
        // SQLite has no users: the desktop session's account stands for one.
        if (m_user.isEmpty())
            m_user = sessionUser();
    }
    return *m_active;
}

QString ChangeJournal::literal(DbConnection& db, const std::optional<QString>& text) {
    if (!text)
        return QStringLiteral("NULL");
    QString quoted = *text;
    quoted.replace(u'\'', QLatin1String("''"));
    // MariaDB and MySQL read a backslash in a literal as an escape.
    if (db.dialect() == DbConnection::Dialect::MySQL)
        quoted.replace(u'\\', QLatin1String("\\\\"));
    return u'\'' + quoted + u'\'';
}

std::optional<QString> ChangeJournal::statement(DbConnection& db, qint32 monId,
                                                const ValueWrite& write) {
    if (write.before == write.after || !active(db))
        return std::nullopt;
    // The server's clock, not the workstation's: one time base for every editor.
    return QStringLiteral("INSERT INTO ") + kJournalTable +
           QStringLiteral(
               " (CHANGED_AT, DB_USER, WORKSTATION, MONID, CHRTID, OPTNAME, OLD_TVAL, "
               "NEW_TVAL, REASON) VALUES (CURRENT_TIMESTAMP, ") +
           literal(db, m_user) + QStringLiteral(", ") + literal(db, QSysInfo::machineHostName()) +
           QStringLiteral(", ") + QString::number(monId) + QStringLiteral(", ") +
           QString::number(write.chartId) + QStringLiteral(", ") + literal(db, write.option) +
           QStringLiteral(", ") + literal(db, write.before) + QStringLiteral(", ") +
           literal(db, write.after) + QStringLiteral(", ") + literal(db, m_reason) + u')';
}

}  // namespace tolva
