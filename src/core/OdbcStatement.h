#pragma once

#include <QString>
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

// Transaction control on a QODBC connection's SQLHDBC. QSqlDatabase switches
// autocommit off at each transaction() and on again after each commit(), and
// some drivers (MariaDB's) send each switch to the server: a round trip apiece.
// Both throw DbError with the driver's text.
void odbcSetAutocommit(void* connection, bool on);
void odbcEndTransaction(void* connection, bool commit);
// The server's product name ("PostgreSQL", "MariaDB", "SQLite"...).
QString odbcDbmsName(void* connection);

}  // namespace tolva
