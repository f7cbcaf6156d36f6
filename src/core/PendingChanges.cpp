#include "PendingChanges.h"

#include "ChartName.h"
#include "core/LimitGroups.h"

namespace tolva {

QVector<PendingChange> pendingChanges(const SharedState& s) {
    QVector<PendingChange> changes;
    for (int i = 0; i < s.gOptionRows.size(); ++i) {
        const OptionRow& row = s.gOptionRows.at(i);
        for (OptionCellRef ref : limitCells()) {
            const OptionCell& cell = row.*ref;
            if (!cell.isChanged())
                continue;
            changes.append({i, splitChartName(row.ChartName).characteristic,
                            limitHeadingOnOneLine(ref), cell.Loaded, cell.Current});
        }
    }
    return changes;
}

}  // namespace tolva
