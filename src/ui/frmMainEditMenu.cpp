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

#include "MonitorEditor.h"
#include "OptionGrid.h"
#include "OptionTableModel.h"
#include "core/Catalog.h"
#include "core/NumberText.h"
#include "core/SharedState.h"
#include "frmMain.h"
#include "ui/UiPort.h"

namespace tolva {

void frmMain::buildEditMenu() {
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
    connect(m_editor->history(), &QUndoStack::canUndoChanged, mnuUndo, &QAction::setEnabled);
    connect(m_editor->history(), &QUndoStack::canRedoChanged, mnuRedo, &QAction::setEnabled);
}

void frmMain::UpdateChangePanel() {
    QStringList parts;
    if (m_pastedValues >= 0)
        parts << catalogText(Msg::PastedCount).arg(m_pastedValues);
    if (m_leftOutRows > 0 || m_leftOutColumns > 0)
        parts << catalogText(Msg::PasteLeftOut).arg(m_leftOutRows).arg(m_leftOutColumns);
    const int changed = m_model ? m_model->changedValueCount() : 0;
    if (changed > 0)
        parts << catalogText(Msg::ChangedCount).arg(changed);
    else if (m_savedRows >= 0)
        parts << catalogText(Msg::SavedCount).arg(m_savedRows);
    m_statusChanges->setText(parts.join(QStringLiteral(" – ")));
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
    return cells;
}

void frmMain::mnuUndo_Click() {
    if (commitOpenEdit())
        m_editor->history()->undo();
}

void frmMain::mnuRedo_Click() {
    if (commitOpenEdit())
        m_editor->history()->redo();
}

void frmMain::mnuCopy_Click() {
    if (!commitOpenEdit() || !grdData->isVisible())
        return;
    // Hidden groups have no column, so they are left out.
    const QString block = m_editor->copyText(selectedValueCells());
    if (!block.isEmpty())
        QApplication::clipboard()->setText(block);
}

void frmMain::mnuPaste_Click() {
    if (!commitOpenEdit() || !grdData->isVisible())
        return;
    pasteBlock(QApplication::clipboard()->text());
}

void frmMain::pasteBlock(const QString& text) {
    const MonitorEditor::Paste pasted =
        m_editor->paste(text, grdData->currentIndex(), selectedValueCells());
    if (pasted.refused.isValid()) {
        grdData->setCurrentGridCell(OptionGrid::gridRowOf(pasted.refused), pasted.refused.column());
        uiPort().message(catalogText(Msg::NotANumber), UiPort::Icon::Exclamation,
                         catalogText(Msg::EditorTitle));
        return;
    }
    if (pasted.stored == 0)
        return;
    m_pastedValues = pasted.stored;
    m_leftOutRows = pasted.rowsLeftOut;
    m_leftOutColumns = pasted.columnsLeftOut;
    UpdateChangePanel();
}

void frmMain::mnuRevert_Click() {
    if (!commitOpenEdit() || !grdData->isVisible())
        return;
    m_editor->revert(selectedValueCells());
}

}  // namespace tolva
