#include "OdbcStatement.h"

#include <sql.h>
#include <sqlext.h>

#include <QVarLengthArray>
#include <limits>
#include <memory>
#include <utility>

#include "Catalog.h"
#include "DbValue.h"

namespace tolva {

namespace {

static_assert(sizeof(SQLWCHAR) == sizeof(char16_t), "the driver manager's wide text is UTF-16");

// The handle's diagnostic records, repeats left out, as QODBC joins them.
QString diagnostics(SQLSMALLINT type, SQLHANDLE handle) {
    QString text;
    for (SQLSMALLINT record = 1;; ++record) {
        SQLWCHAR state[SQL_SQLSTATE_SIZE + 1];
        SQLINTEGER nativeCode = 0;
        SQLSMALLINT length = 0;
        QVarLengthArray<SQLWCHAR, SQL_MAX_MESSAGE_LENGTH> message(SQL_MAX_MESSAGE_LENGTH);
        SQLRETURN rc = SQLGetDiagRecW(type, handle, record, state, &nativeCode, message.data(),
                                      SQLSMALLINT(message.size()), &length);
        if (rc == SQL_SUCCESS_WITH_INFO && length >= message.size()) {
            message.resize(length + 1);
            rc = SQLGetDiagRecW(type, handle, record, state, &nativeCode, message.data(),
                                SQLSMALLINT(message.size()), &length);
        }
        if (!SQL_SUCCEEDED(rc))
            break;
        const QString part = QString::fromUtf16(reinterpret_cast<const char16_t*>(message.data()),
                                                qMin<qsizetype>(length, message.size() - 1));
        if (part != text)
            text += (text.isEmpty() ? QString() : QStringLiteral(" ")) + part;
    }
    return text.isEmpty() ? catalogText(Msg::OdbcErrorWithoutText) : text;
}

}  // namespace

namespace {

void requireConnection(void* connection) {
    if (!connection)
        throw DbError(catalogText(Msg::OdbcConnectionUnavailable));
}

}  // namespace

void odbcSetAutocommit(void* connection, bool on) {
    requireConnection(connection);
    const SQLRETURN rc = SQLSetConnectAttr(
        connection, SQL_ATTR_AUTOCOMMIT,
        reinterpret_cast<SQLPOINTER>(on ? SQL_AUTOCOMMIT_ON : SQL_AUTOCOMMIT_OFF), SQL_IS_UINTEGER);
    if (!SQL_SUCCEEDED(rc))
        throw DbError(diagnostics(SQL_HANDLE_DBC, connection));
}

void odbcEndTransaction(void* connection, bool commit) {
    requireConnection(connection);
    const SQLRETURN rc =
        SQLEndTran(SQL_HANDLE_DBC, connection, SQLSMALLINT(commit ? SQL_COMMIT : SQL_ROLLBACK));
    if (!SQL_SUCCEEDED(rc))
        throw DbError(diagnostics(SQL_HANDLE_DBC, connection));
}

namespace {

QString infoText(void* connection, SQLUSMALLINT type) {
    SQLWCHAR buffer[256];
    SQLSMALLINT length = 0;
    if (!SQL_SUCCEEDED(SQLGetInfoW(connection, type, buffer, sizeof buffer, &length)))
        return QString();
    const qsizetype chars = qMin<qsizetype>(length / qsizetype(sizeof(SQLWCHAR)),
                                            qsizetype(sizeof buffer / sizeof(SQLWCHAR)) - 1);
    return QString::fromUtf16(reinterpret_cast<const char16_t*>(buffer), chars);
}

}  // namespace

std::optional<QString> odbcFindTable(void* connection, const QString& name) {
    requireConnection(connection);
    SQLUSMALLINT folding = 0;
    QString listed = name;
    if (SQL_SUCCEEDED(
            SQLGetInfoW(connection, SQL_IDENTIFIER_CASE, &folding, sizeof folding, nullptr))) {
        if (folding == SQL_IC_LOWER)
            listed = name.toLower();  // PostgreSQL keeps unquoted names in lower case
        else if (folding == SQL_IC_UPPER)
            listed = name.toUpper();
    }
    SQLHSTMT statement = SQL_NULL_HSTMT;
    if (!SQL_SUCCEEDED(SQLAllocHandle(SQL_HANDLE_STMT, connection, &statement)))
        throw DbError(catalogText(Msg::OdbcStatementUnavailable));
    QString pattern = listed;
    QString types = QStringLiteral("TABLE");
    SQLRETURN rc =
        SQLTablesW(statement, nullptr, 0, nullptr, 0, reinterpret_cast<SQLWCHAR*>(pattern.data()),
                   SQLSMALLINT(pattern.size()), reinterpret_cast<SQLWCHAR*>(types.data()),
                   SQLSMALLINT(types.size()));
    std::optional<QString> found;
    QString failure;
    if (!SQL_SUCCEEDED(rc)) {
        failure = diagnostics(SQL_HANDLE_STMT, statement);
    } else {
        // The pattern's "_" matches any character: compare the names returned.
        while (!found && SQL_SUCCEEDED(rc = SQLFetch(statement))) {
            SQLWCHAR buffer[256];
            SQLLEN length = 0;
            if (!SQL_SUCCEEDED(
                    SQLGetData(statement, 3, SQL_C_WCHAR, buffer, sizeof buffer, &length)) ||
                length == SQL_NULL_DATA)
                continue;
            const QString table =
                QString::fromUtf16(reinterpret_cast<const char16_t*>(buffer),
                                   qMin<qsizetype>(length / qsizetype(sizeof(SQLWCHAR)), 255));
            if (table.compare(name, Qt::CaseInsensitive) == 0)
                found = table;
        }
        if (rc != SQL_NO_DATA && !SQL_SUCCEEDED(rc))
            failure = diagnostics(SQL_HANDLE_STMT, statement);
    }
    SQLFreeStmt(statement, SQL_CLOSE);
    SQLFreeHandle(SQL_HANDLE_STMT, statement);
    if (!found && !failure.isEmpty())
        throw DbError(failure);
    return found;
}

namespace {
constexpr quint64 kBlockRows = 1024;
static_assert(sizeof(SQLLEN) == sizeof(qint64), "64-bit SQLLEN");
}  // namespace

OdbcTextRows::OdbcTextRows(void* connection, const QString& sql, int columns, int width)
    : m_columns(columns), m_width(width) {
    requireConnection(connection);
    SQLHSTMT statement = SQL_NULL_HSTMT;
    if (!SQL_SUCCEEDED(SQLAllocHandle(SQL_HANDLE_STMT, connection, &statement)))
        throw DbError(catalogText(Msg::OdbcStatementUnavailable));
    m_statement = statement;
    m_texts.resize(qsizetype(kBlockRows) * columns * (width + 1));
    m_lengths.resize(qsizetype(kBlockRows) * columns);
    // A driver without blocks says so and fetches one row at a time.
    SQLSetStmtAttr(statement, SQL_ATTR_ROW_BIND_TYPE, SQLPOINTER(SQL_BIND_BY_COLUMN), 0);
    SQLSetStmtAttr(statement, SQL_ATTR_ROW_ARRAY_SIZE, SQLPOINTER(kBlockRows), 0);
    SQLSetStmtAttr(statement, SQL_ATTR_ROWS_FETCHED_PTR, &m_fetched, 0);
    QString text = sql;
    SQLRETURN rc = SQLExecDirectW(statement, reinterpret_cast<SQLWCHAR*>(text.data()),
                                  SQLINTEGER(text.size()));
    for (int c = 0; SQL_SUCCEEDED(rc) && c < columns; ++c) {
        rc = SQLBindCol(statement, SQLUSMALLINT(c + 1), SQL_C_WCHAR,
                        m_texts.data() + qsizetype(c) * kBlockRows * (width + 1),
                        SQLLEN((width + 1) * sizeof(SQLWCHAR)),
                        reinterpret_cast<SQLLEN*>(m_lengths.data() + qsizetype(c) * kBlockRows));
    }
    if (!SQL_SUCCEEDED(rc) && rc != SQL_NO_DATA)
        throw DbError(diagnostics(SQL_HANDLE_STMT, statement));
}

OdbcTextRows::~OdbcTextRows() {
    if (m_statement) {
        SQLFreeStmt(m_statement, SQL_CLOSE);
        SQLFreeHandle(SQL_HANDLE_STMT, m_statement);
    }
}

bool OdbcTextRows::nextInBlock() {
    if (m_row + 1 >= m_fetched)
        return false;
    ++m_row;
    return true;
}

bool OdbcTextRows::fetchBlock() {
    m_fetched = 0;
    const SQLRETURN rc = SQLFetch(m_statement);
    if (rc == SQL_NO_DATA)
        return false;
    if (!SQL_SUCCEEDED(rc))
        throw DbError(diagnostics(SQL_HANDLE_STMT, m_statement));
    m_row = 0;
    return m_fetched > 0;
}

std::optional<QString> OdbcTextRows::text(int column) const {
    const qsizetype field = qsizetype(column) * kBlockRows + qsizetype(m_row);
    const qint64 length = m_lengths.at(field);
    if (length == SQL_NULL_DATA)
        return std::nullopt;
    const char16_t* data = m_texts.constData() + field * (m_width + 1);
    qsizetype chars = length == SQL_NO_TOTAL ? m_width : qsizetype(length / sizeof(SQLWCHAR));
    chars = qMin<qsizetype>(chars, m_width);
    for (qsizetype i = 0; i < chars; ++i) {
        if (data[i] == 0)  // a driver that counted in bytes of another encoding
            return QString::fromUtf16(data, i);
    }
    return QString::fromUtf16(data, chars);
}

QString odbcUserName(void* connection) {
    requireConnection(connection);
    return infoText(connection, SQL_USER_NAME);
}

QString odbcDbmsName(void* connection) {
    requireConnection(connection);
    SQLWCHAR name[64] = {};
    SQLSMALLINT length = 0;
    if (!SQL_SUCCEEDED(SQLGetInfoW(connection, SQL_DBMS_NAME, name, sizeof name, &length)))
        throw DbError(diagnostics(SQL_HANDLE_DBC, connection));
    return QString::fromUtf16(reinterpret_cast<const char16_t*>(name),
                              qMin<qsizetype>(length / qsizetype(sizeof(SQLWCHAR)), 63));
}

OdbcStatement::OdbcStatement(void* connection, const QString& sql) {
    requireConnection(connection);
    SQLHSTMT statement = SQL_NULL_HSTMT;
    if (!SQL_SUCCEEDED(SQLAllocHandle(SQL_HANDLE_STMT, connection, &statement)))
        throw DbError(catalogText(Msg::OdbcStatementUnavailable));
    m_statement = statement;
    QString text = sql;  // a private copy: the driver manager wants a writable buffer
    const SQLRETURN rc = SQLExecDirectW(statement, reinterpret_cast<SQLWCHAR*>(text.data()),
                                        SQLINTEGER(text.size()));
    if (!SQL_SUCCEEDED(rc) && rc != SQL_NO_DATA) {
        const DbError error(diagnostics(SQL_HANDLE_STMT, statement));
        SQLFreeHandle(SQL_HANDLE_STMT, statement);
        m_statement = nullptr;
        throw error;
    }
}

OdbcStatement::~OdbcStatement() {
    release();
}

void OdbcStatement::release() {
    if (m_statement) {
        SQLFreeStmt(m_statement, SQL_CLOSE);
        SQLFreeHandle(SQL_HANDLE_STMT, m_statement);
        m_statement = nullptr;
    }
}

namespace {

// The text of one column of the current row; none for null.
std::optional<QString> readText(SQLHSTMT statement, int column) {
    // MariaDB Connector/ODBC 3.1 counts a UTF-16 unit whose low byte is D8 to DB
    // (Ø, Ù...) as half of a pair: the length it gives falls short by one
    // unit for each, and a value read in parts loses its end without a word. Its
    // text is whole up to a zero, so the zero counts, and the buffer takes in one
    // read every value it gives whole (it cuts those past 8,192 units itself).
    constexpr qsizetype kUnits = 16384;
    thread_local std::unique_ptr<char16_t[]> textBuffer;
    if (!textBuffer)
        textBuffer.reset(new char16_t[kUnits]);
    char16_t* const buffer = textBuffer.get();
    const qsizetype room = kUnits - 1;  // one unit for the terminating zero
    QString value;
    for (;;) {
        SQLLEN length = 0;
        const SQLRETURN rc = SQLGetData(statement, SQLUSMALLINT(column + 1), SQL_C_WCHAR, buffer,
                                        kUnits * sizeof(char16_t), &length);
        if (rc == SQL_NO_DATA)
            break;  // a long value read to its end
        if (!SQL_SUCCEEDED(rc))
            throw DbError(diagnostics(SQL_HANDLE_STMT, statement));
        if (length == SQL_NULL_DATA)
            return std::nullopt;
        const bool cut = length == SQL_NO_TOTAL || length / qsizetype(sizeof(char16_t)) > room;
        // Where the driver's count is right the zero is there (a zero inside
        // the value included); past it only the zero tells.
        qsizetype units = cut ? 0 : length / qsizetype(sizeof(char16_t));
        while (units < room && buffer[units] != 0)
            ++units;
        value.append(reinterpret_cast<const QChar*>(buffer), units);
        if (!cut)
            break;
    }
    return value;
}

}  // namespace

void OdbcStatement::readRows() {
    try {
        for (;;) {
            Result& result = m_results.emplace_back();
            SQLSMALLINT columns = 0;
            if (!SQL_SUCCEEDED(SQLNumResultCols(m_statement, &columns)))
                throw DbError(diagnostics(SQL_HANDLE_STMT, m_statement));
            result.columns = columns;
            result.failedInRows = true;
            while (result.columns > 0) {
                const SQLRETURN rc = SQLFetch(m_statement);
                if (rc == SQL_NO_DATA)
                    break;
                if (!SQL_SUCCEEDED(rc))
                    throw DbError(diagnostics(SQL_HANDLE_STMT, m_statement));
                for (int c = 0; c < result.columns; ++c)
                    result.fields.push_back(readText(m_statement, c));
            }
            result.failedInRows = false;
            const SQLRETURN rc = SQLMoreResults(m_statement);
            if (rc == SQL_NO_DATA)
                break;
            if (!SQL_SUCCEEDED(rc))
                throw DbError(diagnostics(SQL_HANDLE_STMT, m_statement));
        }
    } catch (const DbError& error) {
        m_results.back().failure = error.description();
    }
    release();
}

int OdbcStatement::columnCount() const {
    return m_results.at(m_result).columns;
}

bool OdbcStatement::fetch() {
    Result& result = m_results.at(m_result);
    if (m_row + 1 < result.rows()) {
        ++m_row;
        return true;
    }
    m_row = result.rows();
    if (result.failure && result.failedInRows)
        throw DbError(*std::exchange(result.failure, std::nullopt));
    return false;
}

bool OdbcStatement::hasColumns() const {
    return m_results.at(m_result).columns > 0;
}

bool OdbcStatement::nextResult() {
    Result& result = m_results.at(m_result);
    if (result.failure)
        throw DbError(*std::exchange(result.failure, std::nullopt));
    if (m_result + 1 >= m_results.size())
        return false;
    ++m_result;
    m_row = -1;
    return true;
}

const std::optional<QString>& OdbcStatement::field(int column) const {
    const Result& result = m_results.at(m_result);
    if (m_row < 0 || m_row >= result.rows())
        throw DbError(catalogText(Msg::NoCurrentRow));
    if (column < 0 || column >= result.columns)
        throw DbError(catalogText(Msg::MissingColumn).arg(column));
    return result.fields[size_t(m_row * result.columns + column)];
}

qint32 OdbcStatement::int32(int column) const {
    const std::optional<QString>& value = field(column);
    if (!value)
        return FieldValue().toInt32();  // throws: null where a number is due
    // Plain digits are the rule; anything else ("12.0" from a NUMERIC column)
    // goes through the general conversion.
    bool plain = false;
    const int whole = value->toInt(&plain);
    return plain ? qint32(whole) : FieldValue(QVariant(*value)).toInt32();
}

std::optional<QString> OdbcStatement::text(int column) const {
    return field(column);
}

}  // namespace tolva
