#include "DbConnection.h"

#include <QRegularExpression>
#include <QSqlDatabase>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <algorithm>
#include <atomic>
#include <cmath>
#include <limits>
#include <optional>

#include "Catalog.h"
#include "DbWorker.h"
#include "OdbcStatement.h"
#include "SqlTrace.h"

Q_LOGGING_CATEGORY(lcSql, "tolva.sql", QtWarningMsg)

namespace tolva {

namespace {

QString errorText(const QSqlError& error) {
    QString text = error.databaseText();
    if (text.isEmpty())
        text = error.driverText();
    if (text.isEmpty())
        text = error.text();
    return text;
}

// Reads "KEY=value" pairs, values possibly in ODBC braces.
QString connectionAttribute(const QString& cs, const QString& key) {
    int i = 0;
    const int n = int(cs.size());
    while (i < n) {
        const int eq = int(cs.indexOf(u'=', i));
        if (eq < 0)
            break;
        const QString k = cs.mid(i, eq - i).trimmed();
        int j = eq + 1;
        QString value;
        if (j < n && cs[j] == u'{') {
            ++j;
            while (j < n) {
                if (cs[j] == u'}') {
                    if (j + 1 < n && cs[j + 1] == u'}') {
                        value += u'}';
                        j += 2;
                        continue;
                    }
                    ++j;
                    break;
                }
                value += cs[j++];
            }
            const int semi = int(cs.indexOf(u';', j));
            j = semi < 0 ? n : semi;
        } else {
            const int semi = int(cs.indexOf(u';', j));
            const int end = semi < 0 ? n : semi;
            value = cs.mid(j, end - j);
            j = end;
        }
        if (k.compare(key, Qt::CaseInsensitive) == 0)
            return value;
        i = j + 1;
    }
    return QString();
}

// MariaDB Connector/ODBC's flag for several statements in one request.
constexpr qint64 kMultiStatementFlag = 67108864;

}  // namespace

DbError::DbError(const QString& description)
    : std::runtime_error(description.toStdString()), m_description(description) {}

DbError::DbError(const QSqlError& error) : DbError(errorText(error)) {}

DbError DbError::unanswered(const QString& description) {
    DbError error(description);
    error.m_unanswered = true;
    return error;
}

qint32 FieldValue::toInt32() const {
    if (m_null)
        throw DbError(catalogText(Msg::UnexpectedNull));
    bool ok = false;
    const qlonglong whole = m_value.toLongLong(&ok);
    if (ok && whole >= std::numeric_limits<qint32>::min() &&
        whole <= std::numeric_limits<qint32>::max())
        return qint32(whole);
    // Some drivers hand integers of NUMERIC columns over as "12.0".
    const double d = m_value.toDouble(&ok);
    if (ok && std::isfinite(d) && d == std::floor(d) && d >= std::numeric_limits<qint32>::min() &&
        d <= std::numeric_limits<qint32>::max())
        return qint32(d);
    throw DbError(catalogText(Msg::NotAWholeNumber).arg(m_value.toString()));
}

QString FieldValue::toText() const {
    return m_null ? QString() : m_value.toString();
}

bool FieldValue::equalsNumber(double number) const {
    if (m_null)
        return false;
    bool ok = false;
    const double d = m_value.toDouble(&ok);
    return ok && d == number;
}

bool DbResult::atEnd() const {
    return m_closed || m_next >= m_rows.size();
}

FieldValue DbResult::field(int position) const {
    if (m_closed)
        throw DbError(catalogText(Msg::ResultClosed));
    if (atEnd())
        throw DbError(catalogText(Msg::NoCurrentRow));
    if (position < 0 || position >= m_columns)
        throw DbError(catalogText(Msg::MissingColumn).arg(position));
    return m_rows[m_next][position];
}

void DbResult::moveNext() {
    if (m_closed)
        throw DbError(catalogText(Msg::ResultClosed));
    if (m_next < m_rows.size())
        ++m_next;
}

QVector<FieldRow> DbResult::readAll() {
    QVector<FieldRow> rows;
    if (!atEnd())
        rows = m_next == 0 ? std::move(m_rows) : m_rows.mid(m_next);
    close();
    return rows;
}

void DbResult::close() {
    m_rows.clear();
    m_next = 0;
    m_closed = true;
}

QString qodbcDatabaseName(const QString& connectionString) {
    // QODBC prepends "DSN=" to the database name unless the name holds "DRIVER="
    // or "SERVER=", so "DSN=X;UID=u;PWD=p;" would reach the driver manager as
    // "DSN=DSN=X;..." ("Data source name not found"). Hand it the rest.
    static const QRegularExpression leadingDsn(QStringLiteral("^\\s*DSN\\s*="),
                                               QRegularExpression::CaseInsensitiveOption);
    QString name = connectionString;
    const auto match = leadingDsn.match(name);
    const QString upper = name.toUpper();
    if (match.hasMatch() && !upper.contains(QLatin1String("DRIVER=")) &&
        !upper.contains(QLatin1String("SERVER=")))
        name.remove(0, match.capturedLength());
    // The final ";" only ends the last attribute, but MariaDB's driver refuses the
    // empty attribute after it ("Error while parsing DSN").
    static const QRegularExpression trailingSeparators(QStringLiteral(";[;\\s]*$"));
    name.remove(trailingSeparators);
    // MariaDB's driver sends statements joined by ";" as one request only with
    // its multi-statement flag; the other drivers ignore the attribute.
    static const QRegularExpression optionKey(QStringLiteral("(^|;)\\s*OPTION\\s*="),
                                              QRegularExpression::CaseInsensitiveOption);
    if (!optionKey.match(name).hasMatch())
        name += QStringLiteral(";OPTION=") + QString::number(kMultiStatementFlag);
    return name;
}

QString describeConnection(const QString& connectionString) {
    return QStringLiteral("DSN=%1 UID=%2")
        .arg(connectionAttribute(connectionString, QStringLiteral("DSN")),
             connectionAttribute(connectionString, QStringLiteral("UID")));
}

SqlCounters& sqlCounters() {
    static SqlCounters counters;
    return counters;
}

// What lives on the connection's thread: the QSqlDatabase, which may only be
// used on the thread that added it.
struct DbConnection::Session {
    QString name;

    QSqlDatabase database() const { return QSqlDatabase::database(name, false); }
    // QODBC hands its SQLHDBC out as a void*.
    void* odbcHandle() const {
        const QSqlDatabase db = database();
        const QVariant handle = db.driver() ? db.driver()->handle() : QVariant();
        if (handle.metaType() != QMetaType::fromType<void*>())
            return nullptr;
        return *static_cast<void* const*>(handle.constData());
    }
    // The thread's last work: a connection given up on goes once the driver returns.
    void end() const {
        if (!QSqlDatabase::contains(name))
            return;
        database().close();
        QSqlDatabase::removeDatabase(name);
    }
};

DbConnection::DbConnection() = default;

DbConnection::~DbConnection() {
    close();
}

void DbConnection::call(std::function<void(Session&)> work) {
    try {
        m_worker->run([session = m_session, work = std::move(work)] { work(*session); });
    } catch (const DbError& error) {
        qCDebug(lcSql).noquote() << "failed:" << error.description();
        if (m_worker->abandoned()) {
            // The thread finishes the call unseen and closes the connection.
            m_worker.reset();
            m_session.reset();
            m_open = m_manualCommit = m_inTransaction = false;
        }
        throw;
    }
}

void DbConnection::open(const QString& connectionString) {
    close();
    m_logName = describeConnection(connectionString);
    // MariaDB's options: the string's own, or the multi-statement flag added below.
    bool numeric = false;
    const qint64 options =
        connectionAttribute(qodbcDatabaseName(connectionString), QStringLiteral("OPTION"))
            .trimmed()
            .toLongLong(&numeric);
    m_multiStatementFlag = numeric && (options & kMultiStatementFlag) != 0;
    static std::atomic<quint64> serial{0};
    m_session = std::make_shared<Session>();
    m_session->name = QStringLiteral("tolva-%1").arg(++serial);
    m_worker = std::make_unique<DbWorker>([session = m_session] { session->end(); });
    const int seconds = dbWaitTimes().loginSeconds;
    try {
        // The driver's own login timeout gives its text; the wait gives up by
        // itself shortly after, for a driver that does not keep to it.
        m_worker->run(
            [session = m_session, name = qodbcDatabaseName(connectionString), seconds] {
                QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QODBC"), session->name);
                db.setDatabaseName(name);
                db.setConnectOptions(QStringLiteral("SQL_ATTR_LOGIN_TIMEOUT=%1").arg(seconds));
                if (!db.open(QString(), QString()))
                    throw DbError(db.lastError());
            },
            std::chrono::seconds(seconds + 2),
            [seconds] { return catalogText(Msg::LoginUnanswered).arg(seconds); });
    } catch (const DbError& error) {
        qCDebug(lcSql) << "open failed" << m_logName << error.description();
        m_worker.reset();  // the thread removes what it added
        m_session.reset();
        throw;
    }
    m_open = true;
    ++sqlCounters().connectionsOpened;
    qCDebug(lcSql).noquote() << "open" << m_logName;
}

bool DbConnection::isOpen() const {
    return m_open;
}

void DbConnection::countStatement(const QString& sql, bool traced) {
    if (!m_open)
        throw DbError(catalogText(Msg::ConnectionClosed));
    auto& counters = sqlCounters();
    ++counters.statements;
    if (counters.recording)
        counters.recent.append(sql);
    if (traced)
        qCDebug(lcSql).noquote() << "exec" << sql;
    // A statement between transactions takes effect at once, as it always did.
    if (m_manualCommit && !m_inTransaction) {
        call([](Session& s) { odbcSetAutocommit(s.odbcHandle(), true); });
        m_manualCommit = false;
    }
}

DbResult DbConnection::execute(const QString& sql) {
    countStatement(sql);
    // Read whole on the connection's thread: the caller never touches the driver.
    auto result = std::make_shared<DbResult>();
    call([sql, result](Session& s) {
        QSqlQuery query(s.database());
        query.setForwardOnly(true);
        if (!query.exec(sql))
            throw DbError(query.lastError());
        if (query.isSelect()) {
            const int columns = query.record().count();
            while (query.next()) {
                FieldRow row;
                row.reserve(columns);
                // A null can come back as a QVariant whose conversion gives 0: ask the query.
                for (int i = 0; i < columns; ++i)
                    row.append(query.isNull(i) ? FieldValue() : FieldValue(query.value(i)));
                result->m_rows.append(std::move(row));
            }
            if (query.lastError().isValid())
                throw DbError(query.lastError());
            result->m_columns = columns;
        }
        result->m_rowsAffected = query.numRowsAffected();
        result->m_closed = false;
    });
    return std::move(*result);
}

void DbConnection::forEachRow(const QString& sql,
                              const std::function<void(OdbcStatement&)>& onRow) {
    countStatement(sql);
    auto statement = std::make_shared<std::optional<OdbcStatement>>();
    call([sql, statement](Session& s) {
        try {
            statement->emplace(s.odbcHandle(), sql);
        } catch (const DbError&) {
            // QODBC words the driver's diagnostics its own way (it ends
            // psqlODBC's with a space): a failed read asks it again, so that
            // the user reads the same text as for any other statement.
            QSqlQuery query(s.database());
            query.setForwardOnly(true);
            if (!query.exec(sql))
                throw DbError(query.lastError());
            throw;  // it went through the second time: the first failure stands
        }
        (*statement)->readRows();
    });
    try {
        while ((*statement)->fetch())
            onRow(**statement);
    } catch (const DbError& error) {
        qCDebug(lcSql).noquote() << "failed:" << error.description();
        throw;
    }
}

void DbConnection::forEachTextRow(const QString& sql, int columns, int width,
                                  const std::function<void(const OdbcTextRows&)>& onRow) {
    countStatement(sql);
    // The statement and each block are the driver's work, on the connection's
    // thread under the wait's watch; the bound buffers are read here between
    // two blocks, while that thread is idle, so the driver is never used by two
    // at once and a row costs no hand-over.
    auto rows = std::make_shared<std::unique_ptr<OdbcTextRows>>();
    try {
        call([rows, sql, columns, width](Session& s) {
            *rows = std::make_unique<OdbcTextRows>(s.odbcHandle(), sql, columns, width);
        });
        for (;;) {
            if (!(*rows)->nextInBlock()) {
                auto more = std::make_shared<bool>(false);
                call([rows, more](Session&) { *more = (*rows)->fetchBlock(); });
                if (!*more)
                    break;
            }
            onRow(**rows);
        }
        call([rows](Session&) { rows->reset(); });
    } catch (const DbError& error) {
        qCDebug(lcSql).noquote() << "failed:" << error.description();
        // The statement goes on the connection's thread, unless a call given
        // up on holds it (that thread frees it when the call ends).
        try {
            if (m_worker)
                call([rows](Session&) { rows->reset(); });
        } catch (const DbError&) {
        }
        throw;
    }
}

std::optional<QString> DbConnection::findTable(const QString& name) {
    if (!m_open)
        throw DbError(catalogText(Msg::ConnectionClosed));
    ++sqlCounters().catalogCalls;
    qCDebug(lcSql).noquote() << "catalog" << name;
    auto found = std::make_shared<std::optional<QString>>();
    call([name, found](Session& s) { *found = odbcFindTable(s.odbcHandle(), name); });
    return *found;
}

QString DbConnection::userName() {
    if (!m_open)
        throw DbError(catalogText(Msg::ConnectionClosed));
    auto user = std::make_shared<QString>();
    call([user](Session& s) { *user = odbcUserName(s.odbcHandle()); });
    return *user;
}

DbConnection::Dialect DbConnection::dialect() {
    if (!m_dialect) {
        if (!m_open)
            throw DbError(catalogText(Msg::ConnectionClosed));
        auto asked = std::make_shared<QString>();
        call([asked](Session& s) { *asked = odbcDbmsName(s.odbcHandle()); });
        const QString name = *asked;
        m_dialect = name.startsWith(QLatin1String("PostgreSQL"), Qt::CaseInsensitive)
                        ? Dialect::PostgreSQL
                    : name.contains(QLatin1String("MariaDB"), Qt::CaseInsensitive) ||
                            name.contains(QLatin1String("MySQL"), Qt::CaseInsensitive)
                        ? Dialect::MySQL
                    : name.contains(QLatin1String("SQLite"), Qt::CaseInsensitive) ? Dialect::SQLite
                                                                                  : Dialect::Other;
    }
    return *m_dialect;
}

bool DbConnection::takesSeveralStatements() {
    const Dialect d = dialect();
    return d == Dialect::PostgreSQL || (d == Dialect::MySQL && m_multiStatementFlag);
}

int DbConnection::statementsInRequest(const QStringList& statements, int start) {
    // Long requests hit packet limits; a few hundred statements are far below them.
    constexpr int kStatementsPerRequest = 400;
    if (!takesSeveralStatements())
        return 1;
    const int end = qMin(int(statements.size()), start + kStatementsPerRequest);
    if (dialect() != Dialect::MySQL)
        return end - start;
    // MariaDB's driver splits a request holding a query into a prepare and an
    // execute per statement: a query goes alone, writes go together.
    auto isQuery = [](const QString& sql) {
        return sql.trimmed().startsWith(QLatin1String("SELECT"), Qt::CaseInsensitive);
    };
    int n = 1;
    if (isQuery(statements[start]))
        return n;
    while (start + n < end && !isQuery(statements[start + n]))
        ++n;
    return n;
}

void DbConnection::executeBatch(const QStringList& statements,
                                const std::function<void(int, OdbcStatement&)>& onRow) {
    runRequests(statements, onRow, nullptr);
}

void DbConnection::executeAndCommit(const QStringList& statements,
                                    const std::function<void(int, OdbcStatement&)>& onRow,
                                    bool& commitSent) {
    // PostgreSQL takes the COMMIT at the end of the last request: a round trip
    // less for every save over a slow link.
    if (m_inTransaction && dialect() == Dialect::PostgreSQL && !statements.isEmpty()) {
        ++sqlCounters().commits;
        runRequests(statements, onRow, &commitSent);
        m_inTransaction = false;
        return;
    }
    executeBatch(statements, onRow);
    commitSent = true;
    commit();
}

void DbConnection::runRequests(const QStringList& statements,
                               const std::function<void(int, OdbcStatement&)>& onRow,
                               bool* commitSent) {
    for (int start = 0, count = 0; start < statements.size(); start += count) {
        count = statementsInRequest(statements, start);
        const QStringList part = statements.mid(start, count);
        QString sql = part.join(QStringLiteral(";\n"));
        if (commitSent && start + count == statements.size()) {
            sql += QStringLiteral(";\nCOMMIT");
            qCDebug(lcSql).noquote() << "commit";
            *commitSent = true;
        }
        for (const QString& statement : part)
            countStatement(statement, false);
        qCDebug(lcSql).noquote() << "exec" << sql;
        // The whole request is read on the connection's thread; its results
        // are walked here.
        auto request = std::make_shared<std::optional<OdbcStatement>>();
        call([sql, request](Session& s) {
            request->emplace(s.odbcHandle(), sql);
            (*request)->readRows();
        });
        try {
            int index = start;
            do {
                if (onRow && (*request)->hasColumns()) {
                    while ((*request)->fetch())
                        onRow(index, **request);
                }
                ++index;
            } while ((*request)->nextResult());
        } catch (const DbError& error) {
            qCDebug(lcSql).noquote() << "failed:" << error.description();
            throw;
        }
    }
}

void DbConnection::beginTransaction() {
    if (!m_open)
        throw DbError(catalogText(Msg::ConnectionClosed));
    if (!m_manualCommit) {
        call([](Session& s) { odbcSetAutocommit(s.odbcHandle(), false); });
        m_manualCommit = true;
    }
    m_inTransaction = true;
    qCDebug(lcSql).noquote() << "begin";
}

void DbConnection::commit() {
    if (!m_open)
        throw DbError(catalogText(Msg::ConnectionClosed));
    ++sqlCounters().commits;
    qCDebug(lcSql).noquote() << "commit";
    call([](Session& s) { odbcEndTransaction(s.odbcHandle(), true); });
    m_inTransaction = false;
}

void DbConnection::rollback() noexcept {
    if (!m_open)
        return;
    m_inTransaction = false;
    qCDebug(lcSql).noquote() << "rollback";
    try {
        call([](Session& s) { odbcEndTransaction(s.odbcHandle(), false); });
    } catch (const DbError& error) {
        qCDebug(lcSql).noquote() << "rollback failed:" << error.description();
    }
}

bool DbConnection::stillAnswers() noexcept {
    rollback();
    try {
        // Some other server may want a table in any SELECT (Oracle's DUAL):
        // there a failure keeps its former reading.
        if (dialect() == Dialect::Other)
            return true;
        executeBatch({QStringLiteral("SELECT 1")});
        return true;
    } catch (const DbError&) {
        return false;
    }
}

void DbConnection::close() {
    if (!m_worker)
        return;
    // A transaction left open (the caller gave up) is undone before the
    // disconnect, which drivers refuse while one is open in manual-commit mode.
    if (m_inTransaction)
        rollback();
    m_manualCommit = false;
    m_dialect.reset();
    m_worker.reset();  // closes and removes the connection on its thread
    m_session.reset();
    if (m_open) {
        m_open = false;
        qCDebug(lcSql).noquote() << "close" << m_logName;
    }
}

}  // namespace tolva
