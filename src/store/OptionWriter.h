#pragma once

#include <QString>

#include "app/TaggedValue.h"

namespace tolva {

class DbConnection;

// Stores one value for the current monitor, chart and option, creating the
// option's CSOPT row (number from CSOPRN) when the name is new. Shows message 111
// or 112+113 through the UI port and returns false on failure.
bool WriteOptionValue(DbConnection& db, const QString& optionName, qint32 chartId,
                      const TaggedValue& value);
// Deletes that value if it exists; message 114 and false on failure.
bool DeleteOptionValue(DbConnection& db, const QString& optionName, qint32 chartId);

}  // namespace tolva
