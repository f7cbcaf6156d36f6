#include "TestDatabase.h"

#include <gtest/gtest.h>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSettings>
#include <algorithm>
#include <stdexcept>

#include "SqlScript.h"
#include "core/DbConnection.h"

namespace tolva::test {

namespace {

[[noreturn]] void fail(const QString& what) {
    ADD_FAILURE() << "test database: " << what.toStdString();
    throw std::runtime_error(what.toStdString());
}

// Under a loaded machine the MariaDB Unicode driver (3.1.15) now and then refuses
// statements holding non-ASCII literals with "Invalid character value for cast
// specification" before they reach the server. Only the fixture sends such
// literals (the program's own SQL is ASCII); it sends them as hexadecimal UTF-8
// literals (_utf8mb4 X'...'), so that conversion never runs.
QString asciiLiterals(const QString& sql) {
    if (TestDatabase::backend() != QLatin1String("mariadb"))
        return sql;
    static const QRegularExpression literal(QStringLiteral("'((?:[^']|'')*)'"));
    QString out;
    qsizetype last = 0;
    for (auto it = literal.globalMatch(sql); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        QString text = m.captured(1);
        out += sql.mid(last, m.capturedStart() - last);
        if (std::all_of(text.begin(), text.end(), [](QChar c) { return c.unicode() < 0x80; })) {
            out += m.captured(0);
        } else {
            text.replace(QStringLiteral("''"), QStringLiteral("'"));
            out +=
                QStringLiteral("_utf8mb4 X'") + QString::fromLatin1(text.toUtf8().toHex()) + u'\'';
        }
        last = m.capturedEnd();
    }
    return out + sql.mid(last);
}

// The statements of a script in the source tree.
QStringList script(const QString& path) {
    QFile file(qEnvironmentVariable("TOLVA_SOURCE_DIR") + path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        fail(QStringLiteral("cannot read %1 (run the tests through ctest)").arg(file.fileName()));
    return splitSqlScript(QString::fromUtf8(file.readAll()));
}

}  // namespace

void TestDatabase::reset(bool withRows) {
    QStringList statements;
    // Also what a test that failed half-way left behind (a table moved aside,
    // a scratch table), so that one broken run never fails the next.
    for (const char* table :
         {"CSMDAT", "CSOPT", "CSOPRN", "CSCINP", "CSCHRT", "CSMON", "CSPROF", "CSMINN", "CSNODE",
          "CSMDAT_AWAY", "CSCHRT_AWAY", "TOLVA_READ", "TOLVA_JOURNAL"})
        statements << QStringLiteral("DROP TABLE IF EXISTS ") + QLatin1String(table);
    for (const QString& statement : script(QStringLiteral("/demo/novrax-demo.sql"))) {
        // The schema alone is NOVRAX's: a journal is what a database may have.
        const bool journal = statement.contains(QLatin1String("TOLVA_JOURNAL"));
        if (withRows ||
            (statement.startsWith(QLatin1String("CREATE "), Qt::CaseInsensitive) && !journal))
            statements << statement;
    }
    execAll(statements);
}

void TestDatabase::createJournal() {
    const QString name =
        backend() == QLatin1String("postgres") ? QStringLiteral("postgresql") : backend();
    execAll(script(QStringLiteral("/resources/journal/tolva-journal-%1.sql").arg(name)));
}

QString TestDatabase::setting(const QString& key) {
    return QSettings(qEnvironmentVariable("ODBCINI"), QSettings::IniFormat)
        .value(dsn() + u'/' + key)
        .toString();
}

QString TestDatabase::connectionString() {
    return QStringLiteral("DSN=%1;UID=%2;PWD=%3;")
        .arg(dsn(), setting(QStringLiteral("Username")), setting(QStringLiteral("Password")));
}

// Runs statements on a fresh connection; the counters a test reads stay as they were.
QVector<FieldRow> TestDatabase::execAll(const QStringList& statements) {
    const SqlCounters saved = sqlCounters();
    QVector<FieldRow> rows;
    QString current;
    try {
        // The SQLite data source does not create its file; an empty file is an empty database.
        const QString file = setting(QStringLiteral("Database"));
        if (backend() == QLatin1String("sqlite") && !QFileInfo::exists(file)) {
            QDir().mkpath(QFileInfo(file).absolutePath());
            QFile(file).open(QIODevice::WriteOnly);
        }
        DbConnection db;
        db.open(connectionString());
        for (const QString& sql : statements) {
            current = sql;
            rows = db.execute(asciiLiterals(sql)).readAll();
        }
    } catch (const DbError& e) {
        sqlCounters() = saved;
        fail((current.isEmpty() ? QStringLiteral("connection") : current) +
             QStringLiteral("\n  failed: ") + e.description());
    }
    sqlCounters() = saved;
    return rows;
}

QVariant TestDatabase::scalar(const QString& sql) {
    const QVector<FieldRow> result = fetch(sql);
    return result.isEmpty() ? QVariant() : result.first().value(0).variant();
}

}  // namespace tolva::test
