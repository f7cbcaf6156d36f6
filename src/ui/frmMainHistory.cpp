// The journal of saved changes as the window offers it: the Historique entry,
// the grid's context menu, and the save question with its list and reason.
#include <QAction>
#include <QMenu>

#include "OptionGrid.h"
#include "core/Catalog.h"
#include "core/JournalHistory.h"
#include "core/PendingChanges.h"
#include "frmMain.h"
#include "ui/BusyPointer.h"
#include "ui/UiPort.h"
#include "ui/frmHistory.h"

namespace tolva {

void frmMain::buildHistoryEntries() {
    grdData->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(grdData, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
        if (grdData->currentGridRow() < 1)
            return;  // the heading row: no characteristic
        QMenu menu(this);
        QAction* entry = menu.addAction(catalogText(Msg::CharacteristicHistoryEntry));
        entry->setObjectName(QStringLiteral("mnuCharacteristicHistory"));
        if (menu.exec(grdData->viewport()->mapToGlobal(at)) == entry)
            showHistory(true);
    });
}

void frmMain::mnuHistory_Click() {
    showHistory(false);
}

void frmMain::showHistory(bool currentOnly) {
    if (!commitOpenEdit())
        return;
    const SharedState& s = m_state;
    if (!s.hasCurrentMonitor())
        return;
    QVector<JournalEntry> entries;
    bool exists = false;
    StoreOutcome outcome;
    {
        BusyPointer busy;
        outcome = ReadJournalHistory(m_state, entries, exists);
    }
    if (!outcome) {
        uiPort().message(outcome.text(), UiPort::Icon::Critical, windowTitle());
        return;
    }
    if (!exists) {
        uiPort().message(catalogText(Msg::NoJournal), UiPort::Icon::Information, windowTitle());
        return;
    }
    const int rowIndex = grdData->currentIndex().row();
    std::optional<qint32> chartId;
    if (rowIndex >= 0 && rowIndex < s.gOptionRows.size())
        chartId = s.gOptionRows.at(rowIndex).ChartId;
    frmHistory history(std::move(entries), chartId, currentOnly, s.currentMonitor().Name, this);
    history.exec();
}

UiPort::Answer frmMain::askSaveQuestion(QString& reason) {
    // Known from the last load or save where the server was asked along;
    // otherwise asked now. A database that cannot be reached here fails the
    // save itself, with its message.
    bool journal = m_state.gJournalKept.value_or(false);
    if (!m_state.gJournalKept) {
        BusyPointer busy;
        FindJournal(m_state, journal);
    }
    return uiPort().saveQuestion(pendingChanges(m_state), journal, reason);
}

}  // namespace tolva
