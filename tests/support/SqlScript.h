#pragma once

#include <QString>
#include <QStringList>

namespace tolva::test {

// Splits an SQL script (the demo database's) into statements: a statement ends
// with the line that ends in ";", which is dropped; blank and "--" lines are
// skipped; a last statement without ";" still counts. Lines are trimmed.
inline QStringList splitSqlScript(const QString& script) {
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
            statements << current;
            current.clear();
        }
    }
    if (!current.isEmpty())
        statements << current;
    return statements;
}

}  // namespace tolva::test
