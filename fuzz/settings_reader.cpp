// The settings file reader on arbitrary bytes: no crash, and what it takes in
// could be written back as the same lines.
#include <QByteArray>
#include <cstdint>

#include "FuzzCheck.h"
#include "core/SharedState.h"
#include "core/modCfg.h"

using namespace tolva;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    SharedState s;
    s.gLastMonitors = {DsnMonitor{}};
    ReadSettingsBytes(s, QByteArray(reinterpret_cast<const char*>(data), qsizetype(size)));
    FUZZ_CHECK(!s.gLastMonitors.isEmpty());
    for (const QString& value : {s.gDsn, s.gUserId})
        FUZZ_CHECK(!value.contains(u'\n') && !value.contains(u'='));
    for (const DsnMonitor& entry : s.gLastMonitors)
        FUZZ_CHECK(!entry.Dsn.contains(u';') && !entry.Dsn.contains(u'\n'));
    return 0;
}
