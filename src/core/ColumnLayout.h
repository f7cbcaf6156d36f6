#pragma once

#include <QVector>

#include "core/OptionTable.h"

namespace tolva {

// Where the grid shows what: the characteristic in column 0, the query in
// column 1 for a query profile, then each shown limit group as low, middle,
// high, in the order of limitGroups(). The window computes it from the view
// switches (ApplyViewState) and hands it to whatever places values by column.
struct ColumnLayout {
    int gColCount = 0;  // 0 while no monitor is chosen
    int gColQuery = 0;  // 1 when the query column is shown
    // Grid column of each value, -1 while its group is hidden.
    int gColSpecLower = -1, gColSpecNominal = -1, gColSpecUpper = -1;
    int gColXLcl = -1, gColXCl = -1, gColXUcl = -1;
    int gColRLcl = -1, gColRCl = -1, gColRUcl = -1;

    bool hasQuery() const { return gColQuery > 0; }
    // The column of a limit cell, -1 while its group is hidden.
    int columnOf(OptionCellRef cell) const;
    int& columnOf(OptionCellRef cell);
    // The shown limit cells, in column order.
    QVector<OptionCellRef> shownCells() const;
};

}  // namespace tolva
