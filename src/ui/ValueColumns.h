#pragma once

#include <QString>
#include <array>

#include "core/OptionTable.h"
#include "core/SharedState.h"

namespace tolva {

// One value column of the grid: where it stands (-1 while its group is hidden),
// its heading, and the option cell it shows.
struct ValueColumn {
    int column;
    const QString& heading;
    OptionCell OptionRow::*cell;
};

// The nine value columns in display order: specification limits, then the
// Individual/Average chart, then the Moving Range/Range/S chart, each as low,
// middle, high. The grid fill and the in-place editor both go by this table.
inline std::array<ValueColumn, 9> valueColumns(const SharedState& s) {
    return {{{s.gColSpecLower, s.gCapSpecLower, &OptionRow::SpecLower},
             {s.gColSpecNominal, s.gCapSpecNominal, &OptionRow::SpecNominal},
             {s.gColSpecUpper, s.gCapSpecUpper, &OptionRow::SpecUpper},
             {s.gColXLcl, s.gCapXLcl, &OptionRow::XLcl},
             {s.gColXCl, s.gCapXCl, &OptionRow::XCl},
             {s.gColXUcl, s.gCapXUcl, &OptionRow::XUcl},
             {s.gColRLcl, s.gCapRLcl, &OptionRow::RLcl},
             {s.gColRCl, s.gCapRCl, &OptionRow::RCl},
             {s.gColRUcl, s.gCapRUcl, &OptionRow::RUcl}}};
}

}  // namespace tolva
