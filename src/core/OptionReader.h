#pragma once

#include <QString>

#include "core/TaggedValue.h"

namespace tolva {

class DbConnection;

// Reads the charts and options of gMonitors[gMonitorIndex] into gOptionRows and
// sets gProfId. One connection for the whole load. False when the monitor or its
// profile has no chart, or on any failure.
bool LoadMonitorOptions();

// Readers used by the load and by the save walk, on the operation's connection
// (opened with gConnStr first if it is not open yet). They take the monitor from
// gMonitors[gMonitorIndex].MonId.
qint32 ReadXLimitType(DbConnection& db, qint32 chartId);  // -1 on failure (absorbed)
qint32 ReadRLimitType(DbConnection& db, qint32 chartId);  // throws DbError
qint32 ReadSpecType(DbConnection& db, qint32 chartId);    // throws DbError; -1 for null
TaggedValue ReadOptionValue(DbConnection& db, const QString& optionName, qint32 chartId);

// Opens db with gConnStr unless it is open already (throws DbError).
void EnsureStoreConnection(DbConnection& db);
// gMonitors[gMonitorIndex].MonId; throws DbError when no monitor is chosen.
qint32 CurrentMonitorId();

}  // namespace tolva
