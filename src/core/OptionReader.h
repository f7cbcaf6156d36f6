#pragma once

#include <QString>
#include <QStringList>
#include <array>
#include <memory>
#include <optional>

#include "core/DbConnection.h"
#include "core/OptionTable.h"
#include "core/SharedState.h"
#include "core/StoreOutcome.h"
#include "core/TaggedValue.h"

namespace tolva {

class OptionSnapshot;

// Reads the charts and options of gMonitors[gMonitorIndex] into gOptionRows and
// sets gProfId. One connection, three statements (two requests where the driver
// takes several statements at once). On failure both stay as they were: message
// 132 when the monitor or its profile has no chart, the driver's text when the
// database failed.
StoreOutcome LoadMonitorOptions(SharedState& s);

// Reads the monitor's stored values again as the loaded ones; the values typed
// since stay the current ones (those of a chart gone from the monitor are lost).
StoreOutcome RereadLoadedValues(SharedState& s);

// The option names whose values a load reads.
const QStringList& loadedOptionNames();

class OdbcStatement;

// A load's reads once the profile is known: the charts, then their option rows,
// as statements a caller may send along with others (the save sends them inside
// its own transaction, so that no second connection is needed after it). With
// `verify`, they begin by reading the monitor's profile again, and the read
// counts only while it is still `profId`.
class ProfileRead {
public:
    ProfileRead(qint32 monId, qint32 profId, bool verify = false);
    QStringList selects() const;
    // A row of selects()[index]; throws DbError for a chart without a name.
    void take(int index, OdbcStatement& row);
    // Charts were read (of the same profile, when verifying).
    bool complete() const;
    // The table a load gives from the rows taken; once.
    OptionTable takeTable();

private:
    qint32 m_monId;
    qint32 m_profId;
    bool m_verify;
    std::optional<qint32> m_profileNow;
    QVector<OptionRow> m_charts;
    std::shared_ptr<OptionSnapshot> m_rows;
};

// The connection of one store operation on one monitor's options, and that
// monitor: the load, the save walk and the writers run their statements on it,
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

// How a load and the save walk read the TVAL of the first row found for a
// (chart, option) pair (none: no row): a limit type ("2" and "1" exactly, else
// 0), a specification type (0 to 3; -1 for null) and a value.
qint32 ReadLimitType(const std::optional<FieldValue>& tval);
qint32 ReadSpecType(const std::optional<FieldValue>& tval);
TaggedValue ReadOptionValue(const std::optional<FieldValue>& tval);

// A group's three cells (low, middle, high) as a load would show them from these rows.
std::array<TaggedValue, 3> readGroupValues(const OptionSnapshot& rows, qint32 chartId,
                                           OptionGroup group);

}  // namespace tolva
