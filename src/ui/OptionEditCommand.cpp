#include "OptionEditCommand.h"

#include "OptionTableModel.h"

namespace tolva {

OptionEditCommand::OptionEditCommand(OptionTableModel& model, const QVector<OptionEdit>& edits,
                                     const QVector<TaggedValue>& before)
    : m_model(model), m_edits(edits), m_before(before) {}

void OptionEditCommand::undo() {
    apply(false);
}

void OptionEditCommand::redo() {
    apply(true);
}

void OptionEditCommand::apply(bool after) {
    for (int i = 0; i < m_edits.size(); ++i) {
        const OptionEdit& edit = m_edits.at(i);
        m_model.storeOptionValue(edit.rowIndex, edit.cell, after ? edit.value : m_before.at(i));
    }
}

}  // namespace tolva
