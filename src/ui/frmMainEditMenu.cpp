// The Édition menu: undo and redo of stored values, copy of a block of values,
// paste of a block from a spreadsheet, and revert to the loaded values.
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QUndoStack>
#include <algorithm>
#include <optional>

#include "OptionGrid.h"
#include "OptionTableModel.h"
#include "core/Catalog.h"
#include "core/NumberText.h"
#include "core/SharedState.h"
#include "frmMain.h"
#include "ui/UiPort.h"

namespace tolva {

namespace {

bool byPosition(const QModelIndex& a, const QModelIndex& b) {
    return a.row() != b.row() ? a.row() < b.row() : a.column() < b.column();
}

// A spreadsheet block as rows of fields; its closing line break ends the last
// row rather than starting an empty one.
QVector<QStringList> blockRows(QString text) {
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    text.replace(u'\r', u'\n');
    if (text.endsWith(u'\n'))
        text.chop(1);
    QVector<QStringList> rows;
    for (const QString& line : text.split(u'\n'))
        rows << line.split(u'\t');
    return rows;
}

}  // namespace

void frmMain::buildEditMenu() {
    m_undo = new QUndoStack(this);
    m_undo->setObjectName(QStringLiteral("undoStack"));

    mnuEdit = menuBar()->addMenu(catalogText(Msg::EditMenu));
    mnuEdit->setObjectName(QStringLiteral("mnuEdit"));
    auto addEntry = [this](const char* name, const QString& text,
                           const QList<QKeySequence>& shortcuts, void (frmMain::*handler)()) {
        QAction* action = mnuEdit->addAction(text);
        action->setObjectName(QString::fromLatin1(name));
        action->setShortcuts(shortcuts);
        connect(action, &QAction::triggered, this, handler);
        return action;
    };
    mnuUndo = addEntry("mnuUndo", catalogText(Msg::UndoEntry), {QKeySequence(Qt::CTRL | Qt::Key_Z)},
                       &frmMain::mnuUndo_Click);
    mnuRedo = addEntry(
        "mnuRedo", catalogText(Msg::RedoEntry),
        {QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)},
        &frmMain::mnuRedo_Click);
    mnuEdit->addSeparator();
    mnuCopy = addEntry("mnuCopy", catalogText(Msg::CopyEntry), {QKeySequence(Qt::CTRL | Qt::Key_C)},
                       &frmMain::mnuCopy_Click);
    mnuPaste = addEntry("mnuPaste", catalogText(Msg::PasteEntry),
                        {QKeySequence(Qt::CTRL | Qt::Key_V)}, &frmMain::mnuPaste_Click);
    mnuEdit->addSeparator();
    mnuRevert = addEntry("mnuRevert", catalogText(Msg::RevertEntry), {}, &frmMain::mnuRevert_Click);
    mnuUndo->setEnabled(false);
    mnuRedo->setEnabled(false);
    connect(m_undo, &QUndoStack::canUndoChanged, mnuUndo, &QAction::setEnabled);
    connect(m_undo, &QUndoStack::canRedoChanged, mnuRedo, &QAction::setEnabled);
}

void frmMain::UpdateChangePanel() {
    QStringList parts;
    if (m_pastedValues >= 0)
        parts << catalogText(Msg::PastedCount).arg(m_pastedValues);
    const int changed = m_model ? m_model->changedValueCount() : 0;
    if (changed > 0)
        parts << catalogText(Msg::ChangedCount).arg(changed);
    else if (m_savedRows >= 0)
        parts << catalogText(Msg::SavedCount).arg(m_savedRows);
    m_statusChanges->setText(parts.join(QStringLiteral(" – ")));
}

void frmMain::storeEdits(const QVector<OptionEdit>& edits) {
    const OptionTable& rows = m_state.gOptionRows;
    QVector<TaggedValue> before;
    bool differs = false;
    for (const OptionEdit& edit : edits) {
        if (edit.rowIndex < 0 || edit.rowIndex >= rows.size() || !edit.cell)
            return;
        const TaggedValue& current = (rows[edit.rowIndex].*edit.cell).Current;
        before << current;
        differs = differs || current != edit.value;
    }
    if (!differs) {
        // The same values again: stored as any typed value is, but no step to undo.
        for (const OptionEdit& edit : edits)
            m_model->storeOptionValue(edit.rowIndex, edit.cell, edit.value);
        return;
    }
    m_undo->push(new OptionEditCommand(*m_model, edits, before));
}

QModelIndexList frmMain::selectedValueCells() const {
    QModelIndexList cells;
    for (const QModelIndex& index : grdData->selectionModel()->selectedIndexes()) {
        if (m_model->cellOf(index.column()))
            cells << index;
    }
    const QModelIndex current = grdData->currentIndex();
    if (cells.isEmpty() && current.isValid() && m_model->cellOf(current.column()))
        cells << current;
    std::sort(cells.begin(), cells.end(), byPosition);
    return cells;
}

void frmMain::mnuUndo_Click() {
    if (commitOpenEdit())
        m_undo->undo();
}

void frmMain::mnuRedo_Click() {
    if (commitOpenEdit())
        m_undo->redo();
}

void frmMain::mnuCopy_Click() {
    if (!commitOpenEdit() || !grdData->isVisible())
        return;
    const QModelIndexList cells = selectedValueCells();
    if (cells.isEmpty())
        return;
    // The block spans the selection; a cell inside it that is not selected
    // is copied empty. Hidden groups have no column, so they are left out.
    int top = cells.first().row(), bottom = top, left = cells.first().column(), right = left;
    for (const QModelIndex& cell : cells) {
        bottom = qMax(bottom, cell.row());
        left = qMin(left, cell.column());
        right = qMax(right, cell.column());
    }
    QStringList lines;
    for (int r = top; r <= bottom; ++r) {
        QStringList fields;
        for (int c = left; c <= right; ++c) {
            const QModelIndex index = m_model->index(r, c);
            fields << (cells.contains(index)
                           ? index.data(OptionTableModel::GivenTextRole).toString()
                           : QString());
        }
        lines << fields.join(u'\t');
    }
    QApplication::clipboard()->setText(lines.join(u'\n') + u'\n');
}

void frmMain::mnuPaste_Click() {
    if (!commitOpenEdit() || !grdData->isVisible())
        return;
    pasteBlock(QApplication::clipboard()->text());
}

void frmMain::pasteBlock(const QString& text) {
    const QModelIndex start = grdData->currentIndex();
    if (text.isEmpty() || !start.isValid() || !m_model->cellOf(start.column()))
        return;
    const QVector<QStringList> block = blockRows(text);

    struct Target {
        QModelIndex index;
        QString text;
    };
    QVector<Target> targets;
    const QModelIndexList selected = selectedValueCells();
    if (block.size() == 1 && block.first().size() == 1 && selected.size() > 1) {
        // One value fills the selection.
        for (const QModelIndex& index : selected)
            targets.push_back({index, block.first().first()});
    } else {
        // From the current cell; what runs past the last row or column is cut.
        for (int r = 0; r < block.size(); ++r) {
            for (int c = 0; c < block.at(r).size(); ++c) {
                const QModelIndex index = m_model->index(start.row() + r, start.column() + c);
                if (index.isValid() && m_model->cellOf(index.column()))
                    targets.push_back({index, block.at(r).at(c)});
            }
        }
    }

    QVector<OptionEdit> edits;
    for (const Target& target : targets) {
        TaggedValue value;
        if (!target.text.trimmed().isEmpty()) {
            const std::optional<double> number = readTypedNumber(target.text);
            if (!number) {
                grdData->setCurrentGridCell(target.index.row() + 1, target.index.column());
                uiPort().message(catalogText(Msg::NotANumber), UiPort::Icon::Exclamation,
                                 catalogText(Msg::EditorTitle));
                return;
            }
            value = TaggedValue::number(*number);
        }
        edits.push_back({target.index.row(), m_model->cellOf(target.index.column()), value});
    }
    storeEdits(edits);
    m_pastedValues = int(edits.size());
    UpdateChangePanel();
}

void frmMain::mnuRevert_Click() {
    if (!commitOpenEdit() || !grdData->isVisible())
        return;
    const OptionTable& rows = m_state.gOptionRows;
    QVector<OptionEdit> edits;
    for (const QModelIndex& index : selectedValueCells()) {
        OptionCell OptionRow::*cell = m_model->cellOf(index.column());
        if (index.row() < rows.size() && (rows[index.row()].*cell).isChanged())
            edits.push_back({index.row(), cell, (rows[index.row()].*cell).Loaded});
    }
    if (!edits.isEmpty())
        storeEdits(edits);
}

}  // namespace tolva
