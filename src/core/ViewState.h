#pragma once

#include "SharedState.h"

namespace tolva {

// The grid's column numbers from the three view switches and the current
// monitor: the characteristic in column 0, the query column for a query
// profile, then each shown group as lower, centre, upper. gColCount is 0 while
// no monitor is chosen (the other numbers keep their values then); a hidden
// group's columns are -1. The window brings its toolbar and menu in line itself.
void ApplyViewState(SharedState& state);

}  // namespace tolva
