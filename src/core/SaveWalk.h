#pragma once

#include "core/OptionReader.h"
#include "core/OptionTable.h"
#include "core/StoreOutcome.h"

namespace tolva {

// 0: no cell changed; 1: changed and all three Current values equal the empty
// value; 2: changed and some Current value does not.
int GetGroupChange(const OptionCell& low, const OptionCell& middle, const OptionCell& high);

// Walks gOptionRows and writes every changed group (one connection for the walk).
// Each group's statements form one transaction: a group is written whole or not
// at all, the groups before it stay written. Batched, what the walk needs to
// decide (option numbers, existing rows, type options) is read once before the
// first write; value by value, a statement asks for each. Success when every row
// was walked; otherwise the refused group's check (with its cell) or the
// database failure, with the number of characteristics wholly written before it.
// Where the database keeps the journal, each group's changes are recorded in
// its transaction, with `reason` (blank: none).
StoreOutcome SaveMonitorOptions(SharedState& s, ReadPath path = ReadPath::Batched,
                                const QString& reason = QString());

}  // namespace tolva
