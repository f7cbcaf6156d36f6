#include "SharedState.h"

namespace tolva {

clsLoc& SharedState::loc() {
    if (!gLoc)
        gLoc = std::make_unique<clsLoc>();
    return *gLoc;
}

void SharedState::reset() {
    *this = SharedState();
}

SharedState& appState() {
    static SharedState state;
    return state;
}

}  // namespace tolva
