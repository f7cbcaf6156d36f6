#include "DsnList.h"

#include <sql.h>
#include <sqlext.h>

namespace tolva {

namespace {

constexpr SQLSMALLINT kBufferSize = 1024;

bool isBlank(const QString& name) {
    for (const QChar c : name) {
        if (c != u' ')
            return false;
    }
    return true;
}

}  // namespace

QStringList CollectDataSourceNames(const DsnFetch& fetchNext) {
    QStringList names;
    for (;;) {
        QString name;
        // With info: a name longer than the buffer, cut short; the list goes on.
        const int rc = fetchNext(name);
        if (rc != SQL_SUCCESS && rc != SQL_SUCCESS_WITH_INFO)
            break;
        if (!isBlank(name))
            names.append(name);
    }
    return names;
}

QStringList ListDataSourceNames() {
    SQLHENV env = SQL_NULL_HENV;
    if (SQLAllocEnv(&env) == SQL_ERROR)
        return {};

    const QStringList names = CollectDataSourceNames([env](QString& dsn) {
        SQLCHAR name[kBufferSize] = {};
        SQLCHAR description[kBufferSize] = {};
        SQLSMALLINT nameLength = 0;
        SQLSMALLINT descriptionLength = 0;
        const SQLRETURN rc = SQLDataSources(env, SQL_FETCH_NEXT, name, kBufferSize, &nameLength,
                                            description, kBufferSize, &descriptionLength);
        const int length = qBound(0, int(nameLength), kBufferSize - 1);
        // Names cross the interface in the 8-bit code page.
        dsn = QString::fromLocal8Bit(reinterpret_cast<const char*>(name), length);
        return int(rc);
    });
    SQLFreeEnv(env);
    return names;
}

int PreselectDsn(const QStringList& entries, const QString& gDsn) {
    if (entries.isEmpty())
        return -1;
    int selected = 0;
    for (int i = 0; i < entries.size(); ++i) {
        if (entries.at(i).toUpper() == QLatin1String("NOVRAX"))
            selected = i;
    }
    if (!gDsn.isEmpty()) {
        for (int i = 0; i < entries.size(); ++i) {
            if (QString::compare(entries.at(i), gDsn, Qt::CaseInsensitive) == 0)
                selected = i;
        }
    }
    return selected;
}

}  // namespace tolva
