#pragma once

#include <QString>

#include "SharedState.h"
#include "StoreOutcome.h"

namespace tolva {

// Lists the live SPC monitors into state.gMonitors. An empty connection string
// means state.gConnStr. Success when at least one monitor was read; otherwise
// message 109 with the driver's description (empty when the query simply
// returned no row), and gMonitors is left as it was.
StoreOutcome LoadMonitorList(SharedState& state, const QString& connectionString = QString());

// The test of the connection dialog: opens the data source on its own first,
// so that a refused login reports the driver's reason rather than "no
// monitors", then lists the monitors (LoadMonitorList).
StoreOutcome CheckDataSource(SharedState& state, const QString& connectionString);

}  // namespace tolva
