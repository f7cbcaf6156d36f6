#include "EditorStartup.h"

#include "frmMain.h"

namespace tolva {

namespace {
frmMain* g_window = nullptr;
}

bool StartEditor(SharedState& state) {
    g_window = new frmMain(state);
    g_window->load();
    if (g_window->isClosedForGood())
        return false;
    g_window->showViewSwitches();  // the switches as the load left them
    g_window->show();
    return true;
}

frmMain* startedEditor() {
    return g_window;
}

void CloseEditor() {
    delete g_window;
    g_window = nullptr;
}

}  // namespace tolva
