#include "OdbcStatement.h"

#include <sql.h>
#include <sqlext.h>

#include <QVarLengthArray>
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
    QString value;
    SQLWCHAR buffer[128];
    for (;;) {
        SQLLEN length = 0;
        const SQLRETURN rc = SQLGetData(statement, SQLUSMALLINT(column + 1), SQL_C_WCHAR, buffer,
                                        sizeof buffer, &length);
        if (rc == SQL_NO_DATA)
            break;  // a long value read to its end
        if (!SQL_SUCCEEDED(rc))
            throw DbError(diagnostics(SQL_HANDLE_STMT, statement));
        if (length == SQL_NULL_DATA)
            return std::nullopt;
        // Cut short when longer than the buffer (minus its terminating zero).
        const qsizetype room = qsizetype(sizeof buffer / sizeof(SQLWCHAR)) - 1;
        const bool cut = length == SQL_NO_TOTAL || length / qsizetype(sizeof(SQLWCHAR)) > room;
        qsizetype chars = length / qsizetype(sizeof(SQLWCHAR));
        if (cut) {
            // The driver ends its part with a zero, which may come early when it
            // keeps the two halves of a character together.
            chars = 0;
            while (chars < room && buffer[chars] != 0)
                ++chars;
        }
        value.append(reinterpret_cast<const QChar*>(buffer), chars);
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
