#pragma once

#include "core/OptionTable.h"

namespace tolva {

// Checks one group of gOptionRows[rowIndex] before it is written. On failure it
// runs the reaction (normal pointer, reveal the hidden group through the editor
// port, EditGridCell on the offending cell with its value as text, critical box
// titled "TOLVA Editor" with the check's message) and returns false.
bool CheckGroup(int rowIndex, OptionGroup group);

}  // namespace tolva
