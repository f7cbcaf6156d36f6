#pragma once

#include <QString>
#include <QVector>
#include <optional>
#include <vector>

namespace tolva {

// One statement run straight through the ODBC driver manager on a connection
// that Qt's QODBC driver opened. It asks the driver for nothing but the rows:
// QODBC describes every result column, and psqlODBC answers that with a catalog
// query per table (a round trip each, on a fresh backend's cold caches), while
// its per-field QVariant and record copies dominate a large read's time.
// The statement runs and its rows are read on the connection's thread
// (construction and readRows()); the caller then walks the rows from memory,
// columns in any order. Every failure throws DbError with the driver's own text.
class OdbcStatement {
public:
    // `connection` is the SQLHDBC behind a QODBC connection.
    OdbcStatement(void* connection, const QString& sql);
    ~OdbcStatement();
    OdbcStatement(const OdbcStatement&) = delete;
    OdbcStatement& operator=(const OdbcStatement&) = delete;

    // Reads every row and lets go of the driver's statement. A failure half-way
    // is kept: fetch() throws it after the rows read before it.
    void readRows();
    // Columns of the current result.
    int columnCount() const;

    // Moves to the next row; false at the end.
    bool fetch();
    // A whole number in 32 bits; throws for null and for what is none.
    qint32 int32(int column) const;
    // The text of the column; none for null.
    std::optional<QString> text(int column) const;
    // Whether the current result has rows to fetch (a SELECT's, not an UPDATE's).
    bool hasColumns() const;
    // Moves to the result of the request's next statement; false after the last.
    bool nextResult();

private:
    const std::optional<QString>& field(int column) const;
    void release();

    // One statement's result: its rows, column after column, and what
    // stopped the read there (in its rows, or in moving past it).
    struct Result {
        int columns = 0;
        std::vector<std::optional<QString>> fields;
        std::optional<QString> failure;
        bool failedInRows = false;
        qsizetype rows() const { return columns > 0 ? qsizetype(fields.size()) / columns : 0; }
    };

    void* m_statement = nullptr;
    std::vector<Result> m_results;
    size_t m_result = 0;
    qsizetype m_row = -1;
};

// A query whose columns are all read as texts of at most `width` characters,
// fetched a block of rows at a time into bound buffers: for long results of
// short texts, where one driver call per field costs more than the field.
// A longer text comes cut to `width`. Every failure throws DbError.
class OdbcTextRows {
public:
    OdbcTextRows(void* connection, const QString& sql, int columns, int width);
    ~OdbcTextRows();
    OdbcTextRows(const OdbcTextRows&) = delete;
    OdbcTextRows& operator=(const OdbcTextRows&) = delete;

    bool fetch() { return nextInBlock() || fetchBlock(); }  // the next row; false at the end
    // The next row of the block in hand, without the driver; false when used up.
    bool nextInBlock();
    // The next block from the driver, positioned on its first row; false at the end.
    bool fetchBlock();
    std::optional<QString> text(int column) const;  // none for null

private:
    void* m_statement = nullptr;
    int m_columns = 0;
    int m_width = 0;
    QVector<char16_t> m_texts;  // column by column, a block of rows each
    QVector<qint64> m_lengths;  // SQLLEN per field
    quint64 m_fetched = 0;      // rows in the block
    quint64 m_row = 0;          // the current one
};

// Transaction control on a QODBC connection's SQLHDBC. QSqlDatabase switches
// autocommit off at each transaction() and on again after each commit(), and
// some drivers (MariaDB's) send each switch to the server: a round trip apiece.
// Both throw DbError with the driver's text.
void odbcSetAutocommit(void* connection, bool on);
void odbcEndTransaction(void* connection, bool commit);
// The server's product name ("PostgreSQL", "MariaDB", "SQLite"...).
QString odbcDbmsName(void* connection);

// The name under which the database lists a table, none when it lists none: one
// catalog call (SQLTables), so that looking never leaves a failed statement in
// the server's log. The name is put in the case the database folds identifiers to.
std::optional<QString> odbcFindTable(void* connection, const QString& name);
// The user name the connection logged in with, as the driver reports it (may be empty).
QString odbcUserName(void* connection);

}  // namespace tolva
