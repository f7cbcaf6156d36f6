#pragma once

#include "core/OptionTable.h"
#include "core/SharedState.h"
#include "core/StoreOutcome.h"

namespace tolva {

// Walks gOptionRows and writes every changed group (one connection for the walk).
// Each group's statements form one transaction: a group is written whole or not
// at all, the groups before it stay written. What the walk needs to decide
// (option numbers, existing rows, type options) is read once before the first
// write. Success when every row was walked; otherwise the refused group's check
// (with its cell) or the database failure, with the number of characteristics
// wholly written before it. Either way writtenGroups lists the groups committed.
StoreOutcome SaveMonitorOptions(SharedState& s);

}  // namespace tolva
