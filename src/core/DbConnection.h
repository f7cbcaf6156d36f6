#pragma once

#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVector>
#include <functional>
#include <memory>
#include <optional>
#include <stdexcept>
#include <vector>

#include "DbValue.h"

class QSqlQuery;

namespace tolva {

class OdbcStatement;
class OdbcTextRows;

using FieldRow = QVector<FieldValue>;

// A forward result set, positioned on its first row when it comes back.
class DbResult {
public:
    DbResult() = default;
    bool atEnd() const;
    FieldValue field(int position) const;  // throws DbError past the columns
    void moveNext();
    // All remaining rows at once (the cursor ends at the end).
    QVector<FieldRow> readAll();
    // Rows changed by an UPDATE, INSERT or DELETE; -1 when the driver cannot tell.
    int numRowsAffected() const;
    void close();

private:
    friend class DbConnection;
    DbResult(std::shared_ptr<QSqlQuery> query, bool onRow);
    QSqlQuery& query() const;
    std::shared_ptr<QSqlQuery> m_query;
    bool m_onRow = false;
};

// One ODBC connection through Qt SQL's QODBC driver. Every failure is thrown as
// DbError. Closing (or destroying) the connection ends its result sets first.
// All use stays on the user-interface thread.
class DbConnection {
public:
    DbConnection();
    ~DbConnection();
    DbConnection(const DbConnection&) = delete;
    DbConnection& operator=(const DbConnection&) = delete;

    // Opens with a connection string "DSN=...;UID=...;PWD=...;".
    void open(const QString& connectionString);
    bool isOpen() const;
    // Runs one statement; a query comes back positioned on its first row.
    DbResult execute(const QString& sql);
    // Runs a query whose columns are all short texts and hands each row to
    // `onRow`, read a block of rows at a time (see OdbcTextRows).
    void forEachTextRow(const QString& sql, int columns, int width,
                        const std::function<void(const OdbcTextRows&)>& onRow);
    // The table's name as the database lists it, none when it has no such table;
    // one catalog call, counted apart from the statements.
    std::optional<QString> findTable(const QString& name);
    // The user name the connection logged in with, as the driver reports it.
    QString userName();
    // Runs a query and hands each of its rows to `onRow`, read straight from the
    // driver (see OdbcStatement): for large results and for reads that must not
    // cost catalog round trips. Counted and traced as execute is.
    void forEachRow(const QString& sql, const std::function<void(OdbcStatement&)>& onRow);
    // Runs the statements in order in as few requests as the driver allows:
    // several at once where it takes them (PostgreSQL; MariaDB with its
    // multi-statement option, which the connection string asks for), one per
    // request elsewhere. Each query's rows go to onRow with the statement's
    // index. A failure stops the rest; inside a transaction, roll it back.
    void executeBatch(const QStringList& statements,
                      const std::function<void(int, OdbcStatement&)>& onRow = {});
    enum class Dialect { SQLite, PostgreSQL, MySQL, Other };
    // The server behind the connection, asked of the driver once.
    Dialect dialect();
    // Statements from begin to commit take effect together or not at all.
    // Autocommit goes off at a transaction's start and stays off after its
    // end until a statement runs outside one, so that a series of transactions
    // does not switch it twice each (a round trip apiece on some drivers).
    void beginTransaction();
    void commit();
    // Undoes what ran since beginTransaction; a lost connection has undone it
    // already, so this never throws.
    void rollback() noexcept;
    void close();

private:
    void countStatement(const QString& sql, bool traced = true);
    bool takesSeveralStatements();
    void* odbcHandle() const;

    QString m_name;
    QString m_logName;
    bool m_open = false;
    bool m_manualCommit = false;   // autocommit switched off
    bool m_inTransaction = false;  // begun, neither committed nor rolled back
    std::optional<Dialect> m_dialect;
    bool m_multiStatementFlag = false;                // MariaDB sends "a; b" as one request
    std::vector<std::weak_ptr<QSqlQuery>> m_queries;  // results still held by callers
};

// The connection string as QODBC wants it (see the .cpp for why).
QString qodbcDatabaseName(const QString& connectionString);
// "DSN=x UID=y" for the trace: never the password.
QString describeConnection(const QString& connectionString);

// Counters behind the SQL trace; tests and the benchmark read them.
struct SqlCounters {
    qint64 connectionsOpened = 0;
    qint64 statements = 0;
    qint64 commits = 0;       // each one more round trip
    qint64 catalogCalls = 0;  // table look-ups through the driver's catalog
    QVector<QString> recent;  // statement texts, kept only while recording
    bool recording = false;
};
SqlCounters& sqlCounters();

}  // namespace tolva
