#pragma once

#include <QUndoCommand>
#include <QVector>

#include "core/OptionTable.h"

namespace tolva {

class OptionTableModel;

// One value going into an option cell: the row index, which of its nine cells,
// and the new Current value.
struct OptionEdit {
    int rowIndex;
    OptionCellRef cell;
    TaggedValue value;
};

// One step of the edit history: a typed value, a paste or a revert. It keeps
// the cells by their option rather than by grid column, so it still applies
// after a group was hidden or shown again.
class OptionEditCommand : public QUndoCommand {
public:
    // Takes the values before the edit from the table as it is now.
    OptionEditCommand(OptionTableModel& model, const QVector<OptionEdit>& edits,
                      const QVector<TaggedValue>& before);

    void undo() override;
    void redo() override;

private:
    void apply(bool after);

    OptionTableModel& m_model;
    QVector<OptionEdit> m_edits;
    QVector<TaggedValue> m_before;
};

}  // namespace tolva
