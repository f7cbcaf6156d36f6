#pragma once

#include <QString>

#include "core/SaveConflict.h"

namespace tolva {

// What the windows need from the desktop besides themselves: the busy
// pointer, one pass of pending events, and modal message boxes. main installs
// the real one (QtUiPort); tests install a fake, so no test ever waits on a
// modal box. It also answers a save's conflicts (the box of ConflictBox).
class UiPort : public ConflictResolver {
public:
    enum class Icon { Critical, Exclamation, Information, Question };
    enum class Buttons { Ok, YesNoCancel };
    enum class Answer { Ok, Yes, No, Cancel };

    virtual ~UiPort() = default;

    virtual void setBusyPointer() = 0;
    virtual void setNormalPointer() = 0;
    // Let pending user-interface events run once (so the busy pointer shows).
    virtual void processPendingEvents() = 0;
    // Modal message box; the first button is the default one.
    virtual Answer message(const QString& text, Icon icon, const QString& title,
                           Buttons buttons = Buttons::Ok) = 0;
};

// The port in use; a silent one (answers Cancel/Ok, stops at a conflict) until something installs
// another.
UiPort& uiPort();
void setUiPort(UiPort* port);  // nullptr puts back the silent one

}  // namespace tolva
