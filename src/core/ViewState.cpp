#include "ViewState.h"

namespace tolva {

namespace {

// A shown group takes the next three columns after c: lower, centre, upper.
void placeGroup(bool shown, int& c, int& lower, int& centre, int& upper) {
    if (!shown) {
        lower = centre = upper = -1;
        return;
    }
    lower = c + 1;
    centre = c + 2;
    upper = c + 3;
    c += 3;
}

}  // namespace

void ApplyViewState(SharedState& s) {
    s.gColCount = 0;
    if (s.gMonitorIndex == -1)
        return;
    const bool query = s.currentMonitor().IsQueryProfile == 1;
    s.gColQuery = query ? 1 : 0;
    int c = s.gColQuery;
    placeGroup(s.gShowProc, c, s.gColSpecLower, s.gColSpecNominal, s.gColSpecUpper);
    placeGroup(s.gShowX, c, s.gColXLcl, s.gColXCl, s.gColXUcl);
    placeGroup(s.gShowR, c, s.gColRLcl, s.gColRCl, s.gColRUcl);
    s.gColCount = c + 1;
}

}  // namespace tolva
