#pragma once

#include <QString>
#include <QStringList>
#include <QVariant>

#include "core/DbConnection.h"

namespace tolva::test {

// The database behind the data source TOLVA_TEST_DSN names (SQLite, PostgreSQL or MariaDB
// through ODBC; ctest sets TOLVA_TEST_BACKEND). Statements run on a connection of
// the fixture's own, fail the test on error and never show in sqlCounters().
class TestDatabase {
public:
    static QString dsn() { return qEnvironmentVariable("TOLVA_TEST_DSN", "TOLVA_TEST_SQLITE"); }
    static QString backend() { return qEnvironmentVariable("TOLVA_TEST_BACKEND", "sqlite"); }
    static QString connectionString();           // "DSN=...;UID=...;PWD=...;"
    static QString setting(const QString& key);  // of the data source in odbc.ini
    static void resetDemo() { reset(true); }     // schema and demo/novrax-demo.sql rows
    static void resetEmpty() { reset(false); }   // schema only, without the journal
    // The journal table, by the creation script shipped for the backend.
    static void createJournal();
    // Runs statements on a connection of its own; the rows of the last one.
    static QVector<FieldRow> execAll(const QStringList& statements);
    static void exec(const QString& sql) { execAll({sql}); }
    static QVector<FieldRow> fetch(const QString& sql) { return execAll({sql}); }
    // First field of the first row; invalid when there is no row.
    static QVariant scalar(const QString& sql);

private:
    static void reset(bool withRows);
};

}  // namespace tolva::test
