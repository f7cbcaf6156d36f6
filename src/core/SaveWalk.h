#pragma once

#include "core/OptionTable.h"
#include "core/SaveConflict.h"
#include "core/SharedState.h"
#include "core/StoreOutcome.h"

namespace tolva {

// Writes every changed group of gOptionRows in one transaction on one
// connection. The groups up to the first refused check are written; the rows
// they touch are read under lock and compared with what the screen was loaded
// with, so that no value another workstation saved since is overwritten
// unseen: a group that differs is put to `resolver` (none: the save stops
// there) with the lock released, then everything is verified again. Success
// when every changed group was written or taken from the database; otherwise
// the refused check (with its cell), the stop or the database failure, with
// the number of characteristics wholly written. writtenGroups lists the groups
// committed.
StoreOutcome SaveMonitorOptions(SharedState& s, ConflictResolver* resolver = nullptr);

}  // namespace tolva
