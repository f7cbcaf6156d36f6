#include "EditorStartup.h"

#include "core/modCfg.h"
#include "frmMain.h"

namespace tolva {

namespace {
frmMain* g_window = nullptr;
}

bool StartEditor() {
    setEditorProvider([]() -> EditorPort* {
        if (!g_window) {
            // Known before it loads: the first fill inside the load asks for
            // the window again and must get this one.
            g_window = new frmMain();
            g_window->load();
        }
        return g_window->isClosedForGood() ? nullptr : g_window;
    });
    ApplyViewState();
    if (!g_window || g_window->isClosedForGood())
        return false;
    g_window->show();
    return true;
}

frmMain* startedEditor() {
    return g_window;
}

void CloseEditor() {
    setEditorProvider(nullptr);
    delete g_window;
    g_window = nullptr;
}

}  // namespace tolva
