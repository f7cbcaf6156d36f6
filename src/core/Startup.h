#pragma once

#include <QString>

#include "core/SharedState.h"

namespace tolva {

// The start of the program up to the first use of the editor window: default
// view switches and last monitors, the program folder (with its trailing
// separator), the settings file, and no monitor chosen yet.
void PrepareStartup(SharedState& s, const QString& programFolder);

}  // namespace tolva
