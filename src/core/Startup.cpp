#include "Startup.h"

#include <QDir>

#include "SharedState.h"
#include "core/modCfg.h"

namespace tolva {

namespace {

QString withTrailingSeparator(const QString& folder) {
    // An unknown folder stays unknown rather than becoming the file-system root.
    if (folder.isEmpty())
        return folder;
    const QString native = QDir::toNativeSeparators(folder);
    if (native.endsWith(u'/') || native.endsWith(u'\\'))
        return native;
    return native + QDir::separator();
}

}  // namespace

void PrepareStartup(SharedState& s, const QString& programFolder) {
    s.gShowProc = true;
    s.gShowX = true;
    s.gShowR = false;
    s.gLastMonitors = {DsnMonitor{}};
    s.gAppPath = withTrailingSeparator(programFolder);
    ReadSettings(s);  // a missing or unreadable file leaves the defaults
    s.gMonitorIndex = -1;
}

}  // namespace tolva
