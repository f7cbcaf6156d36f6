#pragma once

#include <QString>
#include <QStringList>

#include "core/SharedState.h"

namespace tolva::bench {

// Size of the generated database.
struct BenchShape {
    int monitors = 5000;        // ordinary SPC monitors, besides the big one
    int profiles = 100;         // profiles shared by the ordinary monitors
    int chartsPerProfile = 10;  // charts of each ordinary profile
    int bigCharts = 1000;       // charts of the big monitor, every one with all options
    int mediumCharts = 50;      // charts of the medium monitor, every one with all options
    bool csmdatKey = true;      // false: CSMDAT without its primary key, as on some plants
};

// The big monitor: one profile, bigCharts charts numbered from 1, all TOLVA options.
constexpr qint32 kBigMonitorId = 1;
// The medium monitor: the first mediumCharts charts of the big one, all options.
constexpr qint32 kMediumMonitorId = 900000;

// Drops the NOVRAX tables, creates them from the demo script's CREATE statements
// and fills them in bulk (INSERT ... SELECT over a generated series, which SQLite
// and PostgreSQL both run server-side). Throws DbError on failure.
void generateDatabase(const QString& connectionString, const QString& demoScript,
                      const BenchShape& shape);

// Makes the monitor with this number the current one; false when not listed.
bool pickMonitor(SharedState& state, qint32 monId);

// Changes `count` groups of the loaded big monitor, spread over the three
// groups, in a way that passes the checks and keeps every type (one write per
// limit). Returns how many were changed.
int changeGroups(SharedState& state, int count);

}  // namespace tolva::bench
