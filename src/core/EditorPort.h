#pragma once

#include <QString>
#include <functional>

#include "OptionTable.h"

namespace tolva {

// How the core reaches the editor window (frmMain implements it, tests fake it):
// the loader disables Save and clears the unsaved-changes flag, and the save
// walk brings a hidden group into view and opens the editor on an offending cell.
class EditorPort {
public:
    virtual ~EditorPort() = default;

    // Start of every option load: mnuCommit disabled, m_changed false.
    virtual void beginOptionLoad() = 0;
    // Run the view toggle of a hidden group (it shows the group and refills the grid).
    virtual void revealGroup(OptionGroup group) = 0;
    // Make grid cell (row, col) current and open the in-place editor with text.
    virtual void EditGridCell(int row, int col, const QString& text) = 0;
};

// The editor window as the core sees it; nullptr when no window exists (the
// program is ending, or code runs without windows).
using EditorProvider = std::function<EditorPort*()>;
EditorPort* editorWindow();
void setEditorProvider(EditorProvider provider);

}  // namespace tolva
