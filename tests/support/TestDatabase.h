#pragma once

#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVector>

namespace tolva::test {

// The database behind the data source TOLVA_TEST_DSN names (SQLite or PostgreSQL
// through ODBC). Statements run on a connection of the fixture's own, fail the
// test on error and never show in sqlCounters().
class TestDatabase {
public:
    static QString dsn();
    static QString backend();           // "sqlite" or "postgres"
    static QString connectionString();  // "DSN=...;UID=...;PWD=...;"
    static void resetDemo();            // schema and demo/novrax-demo.sql rows
    static void resetEmpty();           // schema only
    static void exec(const QString& sql) { execAll({sql}); }
    static void execAll(const QStringList& statements);
    // First field of the first row; invalid when there is no row.
    static QVariant scalar(const QString& sql);
    // Every field as text, "<null>" for a database null.
    static QVector<QStringList> rows(const QString& sql);
};

}  // namespace tolva::test
