#pragma once

#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVector>

namespace tolva::test {

// The database behind the test data source named by TOLVA_TEST_DSN (SQLite or
// PostgreSQL through ODBC; scripts/odbc-setup.sh defines them). Each test resets
// it, so tests never depend on each other.
class TestDatabase {
public:
    static QString dsn();      // TOLVA_TEST_DSN
    static QString backend();  // "sqlite" or "postgres"
    // "DSN=<dsn>;UID=<user>;PWD=<password>;" as the program builds it.
    static QString connectionString();
    // Drop the tables, create the schema and load the demo data (demo/novrax-demo.sql).
    static void resetDemo();
    // Drop the tables and create the schema only (no rows at all).
    static void resetEmpty();
    // The statements of demo/novrax-demo.sql, in order, without the final ";".
    static QStringList demoStatements();
    // Splits a script: a statement ends with a line ending in ";"; "--" lines are skipped.
    static QStringList splitSqlScript(const QString& script);
    // Run statements on a fresh connection of the test's own (fails the test on error).
    // The fixture's own connections and statements never show in sqlCounters().
    static void exec(const QString& sql);
    static void execAll(const QStringList& statements);
    // First column of the first row, or an invalid QVariant when there is no row.
    static QVariant scalar(const QString& sql);
    // All rows, every field as text ("<null>" for a database null).
    static QVector<QStringList> rows(const QString& sql);
};

}  // namespace tolva::test
