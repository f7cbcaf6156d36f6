#include "ConnectionString.h"

namespace tolva {

namespace {

bool needsBraces(const QString& value) {
    if (value.isEmpty())
        return false;
    return value.contains(u';') || value.contains(u'{') || value.contains(u'}') ||
           value.front().isSpace() || value.back().isSpace();
}

}  // namespace

QString connectionValue(const QString& value) {
    if (!needsBraces(value))
        return value;
    QString escaped = value;
    escaped.replace(QLatin1String("}"), QLatin1String("}}"));
    return u'{' + escaped + u'}';
}

QString BuildConnStr(const QString& dsn, const QString& user, const QString& password) {
    return QStringLiteral("DSN=") + connectionValue(dsn) + QStringLiteral(";UID=") +
           connectionValue(user) + QStringLiteral(";PWD=") + connectionValue(password) + u';';
}

}  // namespace tolva
