#pragma once

#include <QString>
#include <QStringList>
#include <optional>

#include "core/DbConnection.h"
#include "core/StoreOutcome.h"
#include "core/TaggedValue.h"

namespace tolva {

// How the store reaches a monitor's option rows: all of them in a few
// statements, or one statement per value (the readers below). Both give the same
// result; the second is kept as the reference the first is checked against.
enum class ReadPath { Batched, ValueByValue };

// Reads the charts and options of gMonitors[gMonitorIndex] into gOptionRows and
// sets gProfId. One connection for the whole load; batched, it runs at most four
// statements. On failure both stay as they were: message 132 when the monitor or
// its profile has no chart, the driver's text when the database failed.
StoreOutcome LoadMonitorOptions(ReadPath path = ReadPath::Batched);

// The option names whose values a load reads.
const QStringList& loadedOptionNames();

// Readers used by the load and by the save walk, on the operation's connection
// (opened with gConnStr first if it is not open yet). They take the monitor from
// gMonitors[gMonitorIndex].MonId.
qint32 ReadXLimitType(DbConnection& db, qint32 chartId);  // -1 on failure (absorbed)
qint32 ReadRLimitType(DbConnection& db, qint32 chartId);  // throws DbError
qint32 ReadSpecType(DbConnection& db, qint32 chartId);    // throws DbError; -1 for null
TaggedValue ReadOptionValue(DbConnection& db, const QString& optionName, qint32 chartId);

// The rules of the readers above, applied to the TVAL of the first row found for
// the (chart, option) pair (none: no row). The batched paths call these too.
qint32 ReadLimitType(const std::optional<FieldValue>& tval);
qint32 ReadSpecType(const std::optional<FieldValue>& tval);
TaggedValue ReadOptionValue(const std::optional<FieldValue>& tval);

// Opens db with gConnStr unless it is open already (throws DbError).
void EnsureStoreConnection(DbConnection& db);
// gMonitors[gMonitorIndex].MonId; throws DbError when no monitor is chosen.
qint32 CurrentMonitorId();

}  // namespace tolva
