#pragma once

#include "core/OptionTable.h"
#include "core/SharedState.h"
#include "core/StoreOutcome.h"

namespace tolva {

// Checks one group of gOptionRows[rowIndex] before it is written. A refused
// group gives the check's message and the offending cell with its value as
// editor text (empty when the value is); the window shows the group, opens the
// editor there and then the message.
StoreOutcome CheckGroup(const SharedState& s, int rowIndex, OptionGroup group);

}  // namespace tolva
