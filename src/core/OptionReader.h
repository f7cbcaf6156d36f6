#pragma once

#include <QString>
#include <QStringList>
#include <optional>

#include "core/DbConnection.h"
#include "core/SharedState.h"
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
StoreOutcome LoadMonitorOptions(SharedState& s, ReadPath path = ReadPath::Batched);

// Reads the monitor's stored values again as the loaded ones; the values typed
// since stay the current ones (those of a chart gone from the monitor are lost).
StoreOutcome RereadLoadedValues(SharedState& s);

// The option names whose values a load reads.
const QStringList& loadedOptionNames();

// The connection of one store operation on one monitor's options, and that
// monitor: the readers below and the writers run their statements on it,
// opening it with the data source's connection string on first use.
class MonitorLink {
public:
    // gMonitors[gMonitorIndex] over gConnStr (no monitor chosen: monitorId() throws).
    explicit MonitorLink(SharedState& s);
    DbConnection db;
    void ensureOpen();         // throws DbError
    qint32 monitorId() const;  // throws DbError when no monitor was chosen
    const QString& connectionString() const { return m_connectionString; }
    // The shared number formatter (gLoc), created on first use.
    clsLoc& formatter() { return m_state.loc(); }

private:
    SharedState& m_state;
    QString m_connectionString;
    std::optional<qint32> m_monId;
};

// Readers used by the load and by the save walk; each runs one statement.
qint32 ReadXLimitType(MonitorLink& link, qint32 chartId);  // -1 on failure (absorbed)
qint32 ReadRLimitType(MonitorLink& link, qint32 chartId);  // throws DbError
qint32 ReadSpecType(MonitorLink& link, qint32 chartId);    // throws DbError; -1 for null
TaggedValue ReadOptionValue(MonitorLink& link, const QString& optionName, qint32 chartId);

// The rules of the readers above, applied to the TVAL of the first row found for
// the (chart, option) pair (none: no row). The batched paths call these too.
qint32 ReadLimitType(const std::optional<FieldValue>& tval);
qint32 ReadSpecType(const std::optional<FieldValue>& tval);
TaggedValue ReadOptionValue(const std::optional<FieldValue>& tval);

}  // namespace tolva
