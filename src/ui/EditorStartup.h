#pragma once

namespace tolva {

class frmMain;
struct SharedState;

// The end of start-up: the column numbers for no monitor, then the editor
// window is created and runs its load sequence (connection dialog, monitor
// picker, first fill). True when the window stayed open and the program goes
// on; false when a dialog was given up and the window closed.
bool StartEditor(SharedState& state);

// The window StartEditor created, or nullptr.
frmMain* startedEditor();

// Destroys that window (end of the program).
void CloseEditor();

}  // namespace tolva
