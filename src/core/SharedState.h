#pragma once

#include <QString>
#include <QVector>
#include <memory>
#include <optional>

#include "OptionTable.h"
#include "clsLoc.h"

namespace tolva {

// One monitor of the database (element of gMonitors).
struct MonitorEntry {
    QString Name;               // trimmed at both ends
    qint32 MonId = 0;           // CSMON.MONID
    qint32 IsQueryProfile = 0;  // 1 when the profile flag is 17
};

// The monitor last used on one data source (element of gLastMonitors).
struct DsnMonitor {
    QString Dsn;  // empty: the entry holds nothing
    qint32 MonId = 0;
};

// All state that more than one window or module uses. There is exactly one
// instance for the whole run (appState()); every module reads and writes it
// in place. Counters and indices use ordinary int sizes: the database decides
// how many monitors and charts there are.
struct SharedState {
    // Number formatter for values written to the database; created on first use.
    std::unique_ptr<clsLoc> gLoc;
    clsLoc& loc();

    QString gAppPath;  // program folder, always ending with the separator
    bool gMonitorChosen = false;
    bool gShowProc = false;
    bool gShowX = false;
    bool gShowR = false;
    QVector<DsnMonitor> gLastMonitors;
    QByteArray gSettingsEncoding;  // of the settings file as read; empty: the system's

    QString gDsn;
    QString gUserId;
    QString gPassword;  // never written anywhere
    QString gConnStr;
    bool gConnected = false;

    QVector<MonitorEntry> gMonitors;
    int gMonitorIndex = 0;
    qint32 gProfId = 0;
    OptionTable gOptionRows;  // the chosen monitor's options
    // A save's commit went unanswered: the loaded values may not be what the
    // database holds, so the next save reads them again first.
    bool gRereadBeforeSave = false;
    // Whether the database keeps the journal, as the last load or save found
    // (the save question asks for a reason then); none: not asked there.
    std::optional<bool> gJournalKept;

    // Whether gMonitorIndex names a monitor of the list, and that monitor.
    bool hasCurrentMonitor() const {
        return gMonitorIndex >= 0 && gMonitorIndex < gMonitors.size();
    }
    const MonitorEntry& currentMonitor() const { return gMonitors.at(gMonitorIndex); }

    // Back to the start values of every variable (tests use it between cases).
    void reset();
};

SharedState& appState();

}  // namespace tolva
