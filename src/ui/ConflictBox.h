#pragma once

#include <QDialog>

#include "core/SaveConflict.h"

class QCheckBox;
class QLabel;
class QTableWidget;

namespace tolva {

// Asks what to do with a group that another workstation saved since it was
// loaded: its three values at load, in the database now and as typed, and
// three answers. Escape and the close button stop the save: nothing is written.
class ConflictBox : public QDialog {
public:
    explicit ConflictBox(const GroupConflict& conflict, QWidget* parent = nullptr);
    ConflictAnswer answer() const { return m_answer; }

    // Shows the box modally and returns the user's answer.
    static ConflictAnswer ask(const GroupConflict& conflict, QWidget* parent);

private:
    void choose(ConflictAnswer::Choice choice);

    ConflictAnswer m_answer;
    QCheckBox* m_forTheRest = nullptr;
};

}  // namespace tolva
