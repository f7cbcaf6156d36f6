// Connection-string quoting: data source, user and password separated by zero
// bytes. Whatever they hold, each reaches the driver whole as its own attribute
// and none can add or replace another.
#include <QByteArray>
#include <QList>
#include <cstdint>

#include "FuzzCheck.h"
#include "core/ConnectionString.h"
#include "core/DbConnection.h"

using namespace tolva;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QList<QByteArray> parts =
        QByteArray(reinterpret_cast<const char*>(data), qsizetype(size)).split('\0');
    if (parts.size() != 3)
        return 0;
    const QString dsn = QString::fromUtf8(parts[0]);
    const QString user = QString::fromUtf8(parts[1]);
    const QString password = QString::fromUtf8(parts[2]);
    const QString cs = BuildConnStr(dsn, user, password);
    FUZZ_CHECK(cs.startsWith(QLatin1String("DSN=")) && cs.endsWith(u';'));
    FUZZ_CHECK(describeConnection(cs) == QStringLiteral("DSN=%1 UID=%2").arg(dsn, user));
    return 0;
}
