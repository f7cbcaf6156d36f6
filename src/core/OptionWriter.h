#pragma once

#include <QString>

#include "core/StoreOutcome.h"
#include "core/TaggedValue.h"

namespace tolva {

class ChangeJournal;
class MonitorLink;
class OptionSnapshot;

// Both run on the operation's link to the monitor, opening it when it is not
// open yet.

// Stores one value for the current monitor, chart and option, creating the
// option's CSOPT row (number from CSOPRN) when the name is new; the counter is
// raised only if it still holds the value read, else read again (a few times).
// On failure: 111 (CSOPRN has no row), or 112 naming the option and the value
// text with the driver's description.
// With `known`, the option number and whether the row exists come from there
// (and it learns what was written) instead of from a statement each.
// With `journal`, the change of the stored text is recorded in the same
// transaction; a refused record fails the write.
StoreOutcome WriteOptionValue(MonitorLink& link, const QString& optionName, qint32 chartId,
                              const TaggedValue& value, OptionSnapshot* known = nullptr,
                              ChangeJournal* journal = nullptr);
// Deletes that value if it exists; on failure 114 naming the option, with the
// driver's description.
StoreOutcome DeleteOptionValue(MonitorLink& link, const QString& optionName, qint32 chartId,
                               OptionSnapshot* known = nullptr, ChangeJournal* journal = nullptr);

}  // namespace tolva
