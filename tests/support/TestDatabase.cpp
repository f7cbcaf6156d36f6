#include "TestDatabase.h"

#include <gtest/gtest.h>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTextStream>
#include <stdexcept>

#include "store/DbConnection.h"

namespace tolva::test {

namespace {

const char* const kTables[] = {"CSMDAT", "CSOPT",  "CSOPRN", "CSCINP", "CSCHRT",
                               "CSMON",  "CSPROF", "CSMINN", "CSNODE"};

[[noreturn]] void fail(const QString& what) {
    ADD_FAILURE() << "test database: " << what.toStdString();
    throw std::runtime_error(what.toStdString());
}

QString environment(const char* name) {
    return qEnvironmentVariable(name);
}

// The fixture's own statements must not show in the counters a test reads.
class CounterGuard {
public:
    CounterGuard() : m_saved(sqlCounters()) {}
    ~CounterGuard() { sqlCounters() = m_saved; }

private:
    SqlCounters m_saved;
};

// Reads one key of one data source from the odbc.ini that the tests use.
QString dataSourceValue(const QString& dsn, const QString& key) {
    QString path = environment("ODBCINI");
    if (path.isEmpty())
        path = environment("ODBCSYSINI") + QStringLiteral("/odbc.ini");
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return QString();
    QTextStream in(&file);
    bool inSection = false;
    while (!in.atEnd()) {
        const QString line = in.readLine().trimmed();
        if (line.startsWith(u'[')) {
            inSection = line.mid(1, line.size() - 2).trimmed() == dsn;
            continue;
        }
        const int eq = int(line.indexOf(u'='));
        if (inSection && eq > 0 && line.left(eq).trimmed().compare(key, Qt::CaseInsensitive) == 0)
            return line.mid(eq + 1).trimmed();
    }
    return QString();
}

// The SQLite driver is told not to create missing files; an empty file is a
// valid empty database.
void ensureSqliteFile() {
    const QString path = dataSourceValue(TestDatabase::dsn(), QStringLiteral("Database"));
    if (path.isEmpty())
        fail(QStringLiteral("no Database= for data source %1 in %2 (run scripts/odbc-setup.sh)")
                 .arg(TestDatabase::dsn(), environment("ODBCINI")));
    if (QFileInfo::exists(path))
        return;
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        fail(QStringLiteral("cannot create %1").arg(path));
}

void openTestConnection(DbConnection& db) {
    if (TestDatabase::backend() == QLatin1String("sqlite"))
        ensureSqliteFile();
    try {
        db.open(TestDatabase::connectionString());
    } catch (const DbError& e) {
        fail(QStringLiteral("cannot open %1: %2").arg(TestDatabase::dsn(), e.description()));
    }
}

template <typename Body>
auto withConnection(Body body) {
    CounterGuard guard;
    DbConnection db;
    openTestConnection(db);
    return body(db);
}

void runOn(DbConnection& db, const QString& sql) {
    try {
        db.execute(sql);
    } catch (const DbError& e) {
        fail(QStringLiteral("%1\n  failed: %2").arg(sql, e.description()));
    }
}

void dropTables(DbConnection& db) {
    for (const char* table : kTables)
        runOn(db, QStringLiteral("DROP TABLE IF EXISTS %1").arg(QLatin1String(table)));
}

}  // namespace

QString TestDatabase::dsn() {
    const QString name = environment("TOLVA_TEST_DSN");
    return name.isEmpty() ? QStringLiteral("TOLVA_TEST_SQLITE") : name;
}

QString TestDatabase::backend() {
    const QString given = environment("TOLVA_TEST_BACKEND");
    if (!given.isEmpty())
        return given;
    return dsn().contains(QLatin1String("PG"), Qt::CaseInsensitive) ? QStringLiteral("postgres")
                                                                    : QStringLiteral("sqlite");
}

QString TestDatabase::connectionString() {
    const QString name = dsn();
    return QStringLiteral("DSN=%1;UID=%2;PWD=%3;")
        .arg(name, dataSourceValue(name, QStringLiteral("Username")),
             dataSourceValue(name, QStringLiteral("Password")));
}

QStringList TestDatabase::demoStatements() {
    const QString source = environment("TOLVA_SOURCE_DIR");
    if (source.isEmpty())
        fail(QStringLiteral("TOLVA_SOURCE_DIR is not set (run the tests through ctest)"));
    const QString path = source + QStringLiteral("/demo/novrax-demo.sql");
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        fail(QStringLiteral("cannot read %1").arg(path));
    return splitSqlScript(QString::fromUtf8(file.readAll()));
}

QStringList TestDatabase::splitSqlScript(const QString& script) {
    // One statement ends with the line that ends with ";"; "--" lines are comments.
    QStringList statements;
    QString current;
    for (const QString& rawLine : script.split(u'\n')) {
        const QString line = rawLine.trimmed();
        if (line.isEmpty() || line.startsWith(QLatin1String("--")))
            continue;
        if (!current.isEmpty())
            current += u'\n';
        current += line;
        if (line.endsWith(u';')) {
            current.chop(1);
            statements.append(current);
            current.clear();
        }
    }
    if (!current.trimmed().isEmpty())
        statements.append(current);
    return statements;
}

void TestDatabase::resetDemo() {
    const QStringList statements = demoStatements();
    withConnection([&](DbConnection& db) {
        dropTables(db);
        for (const QString& sql : statements)
            runOn(db, sql);
        return 0;
    });
}

void TestDatabase::resetEmpty() {
    const QStringList statements = demoStatements();
    withConnection([&](DbConnection& db) {
        dropTables(db);
        for (const QString& sql : statements) {
            if (sql.startsWith(QLatin1String("CREATE "), Qt::CaseInsensitive))
                runOn(db, sql);
        }
        return 0;
    });
}

void TestDatabase::exec(const QString& sql) {
    execAll({sql});
}

void TestDatabase::execAll(const QStringList& statements) {
    withConnection([&](DbConnection& db) {
        for (const QString& sql : statements)
            runOn(db, sql);
        return 0;
    });
}

QVariant TestDatabase::scalar(const QString& sql) {
    return withConnection([&](DbConnection& db) {
        try {
            DbResult result = db.execute(sql);
            return result.atEnd() ? QVariant() : result.field(0).variant();
        } catch (const DbError& e) {
            fail(QStringLiteral("%1\n  failed: %2").arg(sql, e.description()));
        }
    });
}

QVector<QStringList> TestDatabase::rows(const QString& sql) {
    return withConnection([&](DbConnection& db) {
        try {
            DbResult result = db.execute(sql);
            QVector<QStringList> out;
            for (const FieldRow& row : result.readAll()) {
                QStringList texts;
                for (const FieldValue& value : row)
                    texts.append(value.isNull() ? QStringLiteral("<null>") : value.toText());
                out.append(texts);
            }
            return out;
        } catch (const DbError& e) {
            fail(QStringLiteral("%1\n  failed: %2").arg(sql, e.description()));
        }
    });
}

}  // namespace tolva::test
