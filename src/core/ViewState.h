#pragma once

#include "ColumnLayout.h"
#include "SharedState.h"

namespace tolva {

// Whether the view switches show a limit group.
bool isGroupShown(const SharedState& state, OptionGroup group);

// The grid's columns from the three view switches and the current monitor: the
// characteristic in column 0, the query column for a query profile, then each
// shown group as lower, centre, upper. While no monitor is chosen gColCount is
// 0 and every value column -1. The window brings its toolbar and menu in line
// itself.
ColumnLayout ApplyViewState(const SharedState& state);

}  // namespace tolva
