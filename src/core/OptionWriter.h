#pragma once

#include <QString>

#include "core/TaggedValue.h"

namespace tolva {

class DbConnection;
class OptionSnapshot;

// Both run on the operation's connection, opening it with gConnStr when it is
// not open yet; on success the busy pointer stays for the caller to reset.

// Stores one value for the current monitor, chart and option, creating the
// option's CSOPT row (number from CSOPRN) when the name is new; the counter is
// raised only if it still holds the value read, else read again (a few times).
// Shows message 111 or 112+113 through the UI port and returns false on failure.
// With `known`, the option number and whether the row exists come from there
// (and it learns what was written) instead of from a statement each.
bool WriteOptionValue(DbConnection& db, const QString& optionName, qint32 chartId,
                      const TaggedValue& value, OptionSnapshot* known = nullptr);
// Deletes that value if it exists; message 114 and false on failure.
bool DeleteOptionValue(DbConnection& db, const QString& optionName, qint32 chartId,
                       OptionSnapshot* known = nullptr);

}  // namespace tolva
