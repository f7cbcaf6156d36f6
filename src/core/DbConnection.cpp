#include "DbConnection.h"

#include <QRegularExpression>
#include <QSqlDatabase>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <algorithm>
#include <cmath>
#include <limits>
#include <optional>

#include "Catalog.h"
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

DbResult::DbResult(std::shared_ptr<QSqlQuery> query, bool onRow)
    : m_query(std::move(query)), m_onRow(onRow) {}

QSqlQuery& DbResult::query() const {
    if (!m_query || !m_query->isActive())
        throw DbError(catalogText(Msg::ResultClosed));
    return *m_query;
}

bool DbResult::atEnd() const {
    return !m_onRow || !m_query || !m_query->isActive();
}

FieldValue DbResult::field(int position) const {
    QSqlQuery& q = query();
    if (!m_onRow)
        throw DbError(catalogText(Msg::NoCurrentRow));
    if (position < 0 || position >= q.record().count())
        throw DbError(catalogText(Msg::MissingColumn).arg(position));
    // A null can come back as a QVariant whose conversion gives 0: ask the query.
    if (q.isNull(position))
        return FieldValue();
    return FieldValue(q.value(position));
}

void DbResult::moveNext() {
    QSqlQuery& q = query();
    m_onRow = q.next();
    if (!m_onRow && q.lastError().isValid())
        throw DbError(q.lastError());
}

QVector<FieldRow> DbResult::readAll() {
    QVector<FieldRow> rows;
    while (!atEnd()) {
        const int columns = query().record().count();
        FieldRow row;
        row.reserve(columns);
        for (int i = 0; i < columns; ++i)
            row.append(field(i));
        rows.append(std::move(row));
        moveNext();
    }
    return rows;
}

int DbResult::numRowsAffected() const {
    return m_query ? m_query->numRowsAffected() : -1;
}

void DbResult::close() {
    if (m_query)
        m_query->finish();
    m_onRow = false;
    m_query.reset();
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

DbConnection::DbConnection() {
    static quint64 serial = 0;
    m_name = QStringLiteral("tolva-%1").arg(++serial);
}

DbConnection::~DbConnection() {
    close();
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
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QODBC"), m_name);
        db.setDatabaseName(qodbcDatabaseName(connectionString));
        if (!db.open(QString(), QString())) {
            const DbError error(db.lastError());
            qCDebug(lcSql) << "open failed" << m_logName << error.description();
            db = QSqlDatabase();
            QSqlDatabase::removeDatabase(m_name);
            throw error;
        }
    }
    m_open = true;
    ++sqlCounters().connectionsOpened;
    qCDebug(lcSql).noquote() << "open" << m_logName;
}

bool DbConnection::isOpen() const {
    return m_open;
}

void* DbConnection::odbcHandle() const {
    // QODBC hands its SQLHDBC out as a void*.
    const QSqlDatabase db = QSqlDatabase::database(m_name, false);
    const QVariant handle = db.driver() ? db.driver()->handle() : QVariant();
    if (handle.metaType() != QMetaType::fromType<void*>())
        return nullptr;
    return *static_cast<void* const*>(handle.constData());
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
        odbcSetAutocommit(odbcHandle(), true);
        m_manualCommit = false;
    }
}

DbResult DbConnection::execute(const QString& sql) {
    countStatement(sql);

    auto query = std::make_shared<QSqlQuery>(QSqlDatabase::database(m_name, false));
    query->setForwardOnly(true);
    if (!query->exec(sql)) {
        const DbError error(query->lastError());
        qCDebug(lcSql).noquote() << "failed:" << error.description();
        throw error;
    }
    bool onRow = false;
    if (query->isSelect()) {
        onRow = query->next();
        if (!onRow && query->lastError().isValid())
            throw DbError(query->lastError());
    }
    m_queries.erase(std::remove_if(m_queries.begin(), m_queries.end(),
                                   [](const auto& q) { return q.expired(); }),
                    m_queries.end());
    m_queries.push_back(query);
    return DbResult(std::move(query), onRow);
}

void DbConnection::forEachRow(const QString& sql,
                              const std::function<void(OdbcStatement&)>& onRow) {
    countStatement(sql);
    try {
        std::optional<OdbcStatement> statement;
        try {
            statement.emplace(odbcHandle(), sql);
        } catch (const DbError&) {
            // QODBC words the driver's diagnostics its own way (it ends
            // psqlODBC's with a space): a failed read asks it again, so that
            // the user reads the same text as for any other statement.
            QSqlQuery query(QSqlDatabase::database(m_name, false));
            query.setForwardOnly(true);
            if (!query.exec(sql))
                throw DbError(query.lastError());
            throw;  // it went through the second time: the first failure stands
        }
        while (statement->fetch())
            onRow(*statement);
    } catch (const DbError& error) {
        qCDebug(lcSql).noquote() << "failed:" << error.description();
        throw;
    }
}

void DbConnection::forEachTextRow(const QString& sql, int columns, int width,
                                  const std::function<void(const OdbcTextRows&)>& onRow) {
    countStatement(sql);
    try {
        OdbcTextRows rows(odbcHandle(), sql, columns, width);
        while (rows.fetch())
            onRow(rows);
    } catch (const DbError& error) {
        qCDebug(lcSql).noquote() << "failed:" << error.description();
        throw;
    }
}

std::optional<QString> DbConnection::findTable(const QString& name) {
    if (!m_open)
        throw DbError(catalogText(Msg::ConnectionClosed));
    ++sqlCounters().catalogCalls;
    qCDebug(lcSql).noquote() << "catalog" << name;
    return odbcFindTable(odbcHandle(), name);
}

QString DbConnection::userName() {
    if (!m_open)
        throw DbError(catalogText(Msg::ConnectionClosed));
    return odbcUserName(odbcHandle());
}

DbConnection::Dialect DbConnection::dialect() {
    if (!m_dialect) {
        if (!m_open)
            throw DbError(catalogText(Msg::ConnectionClosed));
        const QString name = odbcDbmsName(odbcHandle());
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

void DbConnection::executeBatch(const QStringList& statements,
                                const std::function<void(int, OdbcStatement&)>& onRow) {
    if (statements.isEmpty())
        return;
    // Long requests hit packet limits; a few hundred statements are far below them.
    constexpr int kStatementsPerRequest = 400;
    const int perRequest = takesSeveralStatements() ? kStatementsPerRequest : 1;
    for (int start = 0; start < statements.size(); start += perRequest) {
        const QStringList part = statements.mid(start, perRequest);
        const QString sql = part.join(QStringLiteral(";\n"));
        for (const QString& statement : part)
            countStatement(statement, false);
        qCDebug(lcSql).noquote() << "exec" << sql;
        try {
            OdbcStatement request(odbcHandle(), sql);
            int index = start;
            do {
                if (onRow && request.hasColumns()) {
                    while (request.fetch())
                        onRow(index, request);
                }
                ++index;
            } while (request.nextResult());
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
        odbcSetAutocommit(odbcHandle(), false);
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
    odbcEndTransaction(odbcHandle(), true);
    m_inTransaction = false;
}

void DbConnection::rollback() noexcept {
    if (!m_open)
        return;
    m_inTransaction = false;
    qCDebug(lcSql).noquote() << "rollback";
    try {
        odbcEndTransaction(odbcHandle(), false);
    } catch (const DbError& error) {
        qCDebug(lcSql).noquote() << "rollback failed:" << error.description();
    }
}

void DbConnection::close() {
    // Results must let go of the driver before their connection is removed.
    for (const auto& weak : m_queries) {
        if (auto q = weak.lock())
            *q = QSqlQuery();
    }
    m_queries.clear();
    if (!QSqlDatabase::contains(m_name))
        return;
    // A transaction left open (the caller gave up) is undone before the
    // disconnect, which drivers refuse while one is open in manual-commit mode.
    if (m_inTransaction)
        rollback();
    m_manualCommit = false;
    m_dialect.reset();
    {
        QSqlDatabase db = QSqlDatabase::database(m_name, false);
        db.close();
    }
    QSqlDatabase::removeDatabase(m_name);
    if (m_open) {
        m_open = false;
        qCDebug(lcSql).noquote() << "close" << m_logName;
    }
}

}  // namespace tolva
