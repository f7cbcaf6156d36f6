#include "ViewState.h"

#include "LimitGroups.h"

namespace tolva {

bool isGroupShown(const SharedState& s, OptionGroup group) {
    switch (group) {
        case OptionGroup::Spec:
            return s.gShowProc;
        case OptionGroup::X:
            return s.gShowX;
        case OptionGroup::R:
            return s.gShowR;
    }
    return false;
}

ColumnLayout ApplyViewState(const SharedState& s) {
    ColumnLayout layout;
    if (s.gMonitorIndex == -1)
        return layout;
    layout.gColQuery = s.currentMonitor().IsQueryProfile == 1 ? 1 : 0;
    int c = layout.gColQuery;
    for (const LimitGroup& g : limitGroups()) {
        if (!isGroupShown(s, g.group))
            continue;
        for (OptionCellRef cell : g.cells)
            layout.columnOf(cell) = ++c;
    }
    layout.gColCount = c + 1;
    return layout;
}

}  // namespace tolva
