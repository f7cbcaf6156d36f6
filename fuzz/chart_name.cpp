// Chart-name splitting: input bytes are a query and a characteristic separated
// by a zero byte, or a whole name without one.
#include <QByteArray>
#include <cstdint>

#include "FuzzCheck.h"
#include "core/ChartName.h"

using namespace tolva;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const QString separator = QStringLiteral("][");
    const qsizetype zero = bytes.indexOf('\0');
    if (zero < 0) {
        const QString name = QString::fromUtf8(bytes);
        const ChartNameParts parts = splitChartName(name);
        if (!name.contains(separator))
            FUZZ_CHECK(parts.characteristic == name && parts.query.isEmpty());
        FUZZ_CHECK(parts.characteristic.size() <= name.size() && parts.query.size() <= name.size());
        return 0;
    }
    // A name a query profile writes comes apart into what it was made of.
    const QString query = QString::fromUtf8(bytes.left(zero));
    const QString characteristic = QString::fromUtf8(bytes.mid(zero + 1));
    if (query.contains(separator) || characteristic.contains(separator))
        return 0;
    const ChartNameParts parts = splitChartName(u'[' + query + separator + characteristic + u']');
    FUZZ_CHECK(parts.query == query);
    FUZZ_CHECK(parts.characteristic == characteristic);
    return 0;
}
