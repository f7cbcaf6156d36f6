#pragma once

#include "core/OptionTable.h"

namespace tolva {

// 0: no cell changed; 1: changed and all three Current values equal the empty
// value; 2: changed and some Current value does not.
int GetGroupChange(const OptionCell& low, const OptionCell& middle, const OptionCell& high);

// Walks gOptionRows and writes every changed group (one connection for the walk).
// True when every row was walked; false when a check or a writer failed (the
// user has been told through the UI and editor ports).
bool SaveMonitorOptions();

}  // namespace tolva
