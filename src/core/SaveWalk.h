#pragma once

#include <optional>

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
// Where the database keeps the journal, every stored text that changes is
// recorded in the same transaction, with `reason` (blank: none).
// With `readAfter`, a successful save that wrote something also reads the
// monitor, as a load would, inside its transaction after its writes: the table
// the database holds once it commits, without a second connection. It stays
// empty otherwise (nothing written, a failure, a profile changed meanwhile).
StoreOutcome SaveMonitorOptions(SharedState& s, ConflictResolver* resolver = nullptr,
                                const QString& reason = QString(),
                                std::optional<OptionTable>* readAfter = nullptr);

// The re-read after a save: the save's own read when it made one (taken out
// of `readBySave`), else a load.
StoreOutcome RereadAfterSave(SharedState& s, std::optional<OptionTable>& readBySave);

}  // namespace tolva
