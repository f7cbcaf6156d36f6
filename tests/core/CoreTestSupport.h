#pragma once

#include <gtest/gtest.h>
#include <QFile>
#include <QLocale>
#include <QStringList>

#include "core/SharedState.h"

inline void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}

namespace tolva::test {

// The regional settings the program sees (default QLocale), for one scope.
struct LocaleScope {
    explicit LocaleScope(const char* name) { QLocale::setDefault(QLocale(QLatin1String(name))); }
    ~LocaleScope() { QLocale::setDefault(previous); }
    const QLocale previous;  // taken before the constructor changes it
};

inline QByteArray readBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

inline void writeBytes(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
}

// gLastMonitors as "Dsn:MonId Dsn:MonId".
inline QString lastMonitors() {
    QStringList out;
    for (const DsnMonitor& m : appState().gLastMonitors)
        out << m.Dsn + u':' + QString::number(m.MonId);
    return out.join(u' ');
}

}  // namespace tolva::test
