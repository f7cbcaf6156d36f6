#pragma once

#include <QString>

namespace tolva {

// Lists the live SPC monitors into gMonitors. An empty connection string means
// gConnStr. True when at least one monitor was read. On false, *failure (when
// given) receives the driver's description of what failed (empty when the query
// simply returned no row).
bool LoadMonitorList(const QString& connectionString = QString(), QString* failure = nullptr);

}  // namespace tolva
