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

namespace tolva {

class OdbcStatement;
class OdbcTextRows;

using FieldRow = QVector<FieldValue>;

// A forward result set, read whole when the statement ran and positioned on
// its first row.
class DbResult {
public:
    DbResult() = default;
    bool atEnd() const;
    FieldValue field(int position) const;  // throws DbError past the columns
    void moveNext();
    // All remaining rows at once (the cursor ends at the end).
    QVector<FieldRow> readAll();
    // Rows changed by an UPDATE, INSERT or DELETE; -1 when the driver cannot tell.
    int numRowsAffected() const { return m_rowsAffected; }
    void close();

private:
    friend class DbConnection;
    QVector<FieldRow> m_rows;
    int m_columns = 0;
    qsizetype m_next = 0;
    int m_rowsAffected = -1;
    bool m_closed = true;
};

class DbWorker;

// One ODBC connection through Qt SQL's QODBC driver. Every failure is thrown as
// DbError. The driver is only ever called on a thread of the connection's own,
// while the caller's thread keeps painting (see DbWorker): a server that stops
// answering never freezes the window. Use from one thread.
class DbConnection {
public:
    DbConnection();
    ~DbConnection();
    DbConnection(const DbConnection&) = delete;
    DbConnection& operator=(const DbConnection&) = delete;

    // Opens with a connection string "DSN=...;UID=...;PWD=...;", giving up
    // after the login time of dbWaitTimes().
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
    // The same inside a transaction, then its commit, in the last request
    // where the server allows. `commitSent` turns true once the commit may
    // have reached the server (its fate is unknown if no answer comes).
    void executeAndCommit(const QStringList& statements,
                          const std::function<void(int, OdbcStatement&)>& onRow, bool& commitSent);
    enum class Dialect { SQLite, PostgreSQL, MySQL, Other };
    // The server behind the connection, asked of the driver once.
    Dialect dialect();
    // Statements from begin to commit take effect together or not at all.
    // Autocommit goes off at a transaction's start and stays off after its
    // end until a statement runs outside one, so that a series of transactions
    // does not switch it twice each (a round trip apiece on some drivers).
    void beginTransaction();
    // A commit the server never answered throws an unanswered DbError: the
    // group may have been written.
    void commit();
    // Undoes what ran since beginTransaction; a lost connection has undone it
    // already, so this never throws.
    void rollback() noexcept;
    // After a failure: rolls back, then whether the server still answers on
    // this connection. False when the link is gone, so that what was sent last
    // may or may not have taken effect.
    bool stillAnswers() noexcept;
    void close();

private:
    struct Session;
    // Runs `work` on the connection's thread; a give-up leaves the connection closed.
    void call(std::function<void(Session&)> work);
    void countStatement(const QString& sql, bool traced = true);
    bool takesSeveralStatements();
    // How many statements from `start` go out as the next request.
    int statementsInRequest(const QStringList& statements, int start);
    // With `commitSent`, the last request ends with the commit and sets it.
    void runRequests(const QStringList& statements,
                     const std::function<void(int, OdbcStatement&)>& onRow, bool* commitSent);

    QString m_logName;
    bool m_open = false;
    bool m_manualCommit = false;   // autocommit switched off
    bool m_inTransaction = false;  // begun, neither committed nor rolled back
    std::optional<Dialect> m_dialect;
    bool m_multiStatementFlag = false;  // MariaDB sends "a; b" as one request
    std::shared_ptr<Session> m_session;
    std::unique_ptr<DbWorker> m_worker;
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
