// Limits brought back from a CSV file, after a preview, as one step of the
// edit history; the database sees them only at the next save.
#include <QFileInfo>

#include "MonitorEditor.h"
#include "OptionTableModel.h"
#include "core/Catalog.h"
#include "core/CsvImport.h"
#include "core/LimitGroups.h"
#include "frmImport.h"
#include "frmMain.h"
#include "ui/UiPort.h"

namespace tolva {

void frmMain::mnuImport_Click() {
    if (!commitOpenEdit())
        return;
    if (!m_state.hasCurrentMonitor())
        return;
    // The folder of the last export is where its file is to be found again.
    const QString path = chooseCsvFile(Msg::ImportEntry, lastCsvFolder(), false);
    if (!path.isEmpty())
        importCsv(path);
}

bool frmMain::importCsv(const QString& path) {
    CsvImportFile file = ReadCsvImportFile(path, m_layout);
    if (file.error != 0) {
        QString text = catalogText(file.error);
        if (file.error == Msg::ImportUnclosedQuote)
            text = text.arg(file.detail);
        else if (!file.detail.isEmpty())
            text += QStringLiteral("\r\n\r\n") + file.detail;
        uiPort().message(text, UiPort::Icon::Exclamation, windowTitle());
        return false;
    }
    frmImport preview(m_state, m_layout, std::move(file), QFileInfo(path).fileName(), this);
    if (preview.exec() != QDialog::Accepted || !preview.preview().canApply())
        return false;
    const QVector<ImportChange>& changes = preview.preview().changes;
    // A hidden group the file changes is shown first, so that every value goes
    // in where the user sees it marked. The window's layout decides: the model
    // keeps the columns of the last fill while every group is hidden.
    for (const ImportChange& change : changes) {
        if (m_layout.columnOf(change.cell) < 0)
            revealGroup(groupOf(change.cell));
    }
    QModelIndexList cells;
    QVector<TaggedValue> values;
    for (const ImportChange& change : changes) {
        cells << m_model->index(change.rowIndex, m_model->columnOf(change.cell));
        values << change.after;
    }
    m_editor->store(cells, values);
    return true;
}

}  // namespace tolva
