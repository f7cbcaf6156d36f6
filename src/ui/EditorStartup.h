#pragma once

namespace tolva {

class frmMain;

// The end of start-up: the view state is applied, and its first use of the
// editor window creates the window and runs its load sequence (connection
// dialog, monitor picker, first fill). True when the window stayed open and
// the program goes on; false when a dialog was given up and the window closed.
bool StartEditor();

// The window StartEditor created, or nullptr.
frmMain* startedEditor();

// Destroys that window and detaches it from the core (end of the program).
void CloseEditor();

}  // namespace tolva
