// The window's commands: save with its question, change of monitor or data
// source, exit, the F1 help box, the close handling and the window-level keys.
#include <QCloseEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QSet>
#include <QStringList>

#include "MonitorEditor.h"
#include "OptionGrid.h"
#include "OptionTableModel.h"
#include "core/Catalog.h"
#include "core/DbWorker.h"
#include "core/NumberText.h"
#include "core/OptionReader.h"
#include "core/SaveWalk.h"
#include "core/SharedState.h"
#include "core/Version.h"
#include "core/ViewState.h"
#include "core/modCfg.h"
#include "frmMain.h"
#include "ui/BusyPointer.h"
#include "ui/UiPort.h"
#include "ui/WindowSettings.h"
#include "ui/frmConnect.h"
#include "ui/frmMonitor.h"

namespace tolva {

namespace {

// What a change of data source may have to put back.
struct ConnectionSnapshot {
    QString dsn, userId, password, connStr;
    bool connected = false;
    QVector<MonitorEntry> monitors;
    int monitorIndex = 0;
    OptionTable optionRows;

    static ConnectionSnapshot take(const SharedState& s) {
        return {s.gDsn,       s.gUserId,   s.gPassword,     s.gConnStr,
                s.gConnected, s.gMonitors, s.gMonitorIndex, s.gOptionRows};
    }
    void restore(SharedState& s) const {
        s.gDsn = dsn;
        s.gUserId = userId;
        s.gPassword = password;
        s.gConnStr = connStr;
        s.gConnected = connected;
        s.gMonitors = monitors;
        s.gMonitorIndex = monitorIndex;
        s.gOptionRows = optionRows;
    }
};

QString helpText() {
    QStringList lines;
    for (int n = Msg::ShortcutsFirst; n <= Msg::ShortcutsLast; ++n)
        lines << catalogText(n);
    return catalogText(Msg::ShortcutsTitle) + QStringLiteral("\r\n\r\n") +
           lines.join(QStringLiteral("\r\n"));
}

QString helpTitle() {
    return QStringLiteral("%1 %2.%3.%4")
        .arg(QLatin1String(kAppTitle))
        .arg(kVersionMajor)
        .arg(kVersionMinor)
        .arg(kVersionRevision);
}

}  // namespace

void frmMain::confirmSave(bool& ok) {
    m_savedRows = -1;
    if (hasUnsavedChanges()) {
        QString reason;
        const UiPort::Answer answer = askSaveQuestion(reason);
        if (answer == UiPort::Answer::Yes) {
            StoreOutcome saved;
            {
                BusyPointer busy(BusyPointer::Show::Later);
                saved = m_editor->save(&uiPort(), reason, m_reloadFollowsSave);
            }
            if (!saved) {
                // What was written is saved now; what was not stays on screen,
                // still to be saved.
                m_model->valuesChanged();
                setSaveEnabled(hasUnsavedChanges());
                UpdateChangePanel();
                showStoreFailure(saved);
                ok = false;
                return;
            }
            // Shown once the re-read fills the grid: the characteristics
            // written, not those whose stored values the user took instead.
            QSet<int> written;
            for (const GroupRef& group : saved.writtenGroups)
                written.insert(group.rowIndex);
            m_savedRows = int(written.size());
        } else if (answer == UiPort::Answer::No) {
            // The edits are declined: neither a later save nor the exit may take
            // them for the user's.
            m_state.gOptionRows.revertAll();
            m_editor->clearHistory();
            FillGrid();
        } else {
            ok = false;  // Cancel, or the box closed
            return;
        }
    }
    setSaveEnabled(false);
    ok = true;
}

bool frmMain::commitAndConfirmSave() {
    if (!commitOpenEdit())
        return false;
    bool ok = false;
    confirmSave(ok);
    return ok;
}

void frmMain::mnuCommit_Click() {
    m_reloadFollowsSave = true;
    const bool saved = commitAndConfirmSave();
    m_reloadFollowsSave = false;
    if (!saved)
        return;
    // Loaded must equal what the database now holds, or the next save would
    // write the same groups again; after "Non" this also throws the edits away.
    reloadMonitor();
}

void frmMain::reloadMonitor() {
    StoreOutcome outcome;
    {
        BusyPointer busy;
        outcome = m_editor->reload();
    }
    optionsLoaded();
    FillGrid();
    if (outcome)
        return;
    if (m_savedRows < 0) {
        showStoreFailure(outcome);
        return;
    }
    // The user must not take the failure for the save's and save again.
    uiPort().message(
        catalogText(Msg::SavedButRereadFailed) + QStringLiteral("\r\n\r\n") + outcome.text(),
        UiPort::Icon::Critical, QString::fromUtf8(kAppTitle));
}

void frmMain::showStoreFailure(const StoreOutcome& outcome, const QString& title) {
    if (const std::optional<CellToEdit>& edit = outcome.edit) {
        if (!isGroupShown(m_state, edit->group))
            revealGroup(edit->group);
        // The column is looked up after the group is shown: showing it moves columns.
        const QModelIndex cell = m_model->index(edit->rowIndex, m_model->columnOf(edit->cell));
        if (cell.isValid())
            EditGridCell(OptionGrid::gridRowOf(cell), cell.column(), edit->text);
    }
    // A monitor without options is a plain fact; a failure is an error.
    const bool noOptions = outcome.message == Msg::NoTolvaOptions;
    uiPort().message(outcome.text(), noOptions ? UiPort::Icon::Information : UiPort::Icon::Critical,
                     title.isEmpty() ? QString::fromUtf8(kAppTitle) : title);
}

void frmMain::changeMonitor() {
    if (!commitAndConfirmSave())
        return;
    // A pick given up or failed leaves the table and its history as they were.
    pickMonitor();
}

void frmMain::changeDSN() {
    if (!commitAndConfirmSave())
        return;
    const ConnectionSnapshot kept = ConnectionSnapshot::take(m_state);
    m_state.gConnected = false;
    {
        frmConnect dialog(m_state, this);
        dialog.exec();
    }
    if (!m_state.gConnected) {
        // The window still works on the former connection: gConnected included.
        kept.restore(m_state);
        return;
    }
    if (!pickMonitor())
        kept.restore(m_state);  // the grid was not rebuilt and matches the former state
}

bool frmMain::pickMonitor() {
    {
        frmMonitor picker(
            m_state,
            [this](int index, const QString& name) { return loadChosenMonitor(index, name); },
            this);
        picker.exec();
    }
    if (!m_state.gMonitorChosen)
        return false;
    FillGrid();
    return true;
}

bool frmMain::loadChosenMonitor(int monitorIndex, const QString& monitorName) {
    const int kept = m_state.gMonitorIndex;
    m_state.gMonitorIndex = monitorIndex;
    StoreOutcome outcome;
    {
        BusyPointer busy;
        outcome = LoadMonitorOptions(m_state);
    }
    if (!outcome) {
        m_state.gMonitorIndex = kept;
        showStoreFailure(outcome, monitorName);
        return false;
    }
    RememberMonitor(m_state);
    optionsLoaded();
    m_savedRows = -1;  // what the last save did concerns the former monitor
    return true;
}

void frmMain::mnuDSN_Click() {
    changeDSN();
}

void frmMain::mnuMonitor_Click() {
    changeMonitor();
}

void frmMain::mnuExit_Click() {
    if (!commitOpenEdit())
        return;
    close();
}

void frmMain::toolbarButtonClicked(const QString& key) {
    if (!commitOpenEdit())
        return;
    if (key == QLatin1String("DSN"))
        changeDSN();
    else if (key == QLatin1String("Monitor"))
        changeMonitor();
    else if (key == QLatin1String("Save"))
        mnuCommit_Click();  // the same save as the menu, reload included
    else if (key == QLatin1String("PC"))
        toggleProc();
    else if (key == QLatin1String("IND"))
        toggleX();
    else if (key == QLatin1String("MR"))
        toggleR();
}

void frmMain::Form_KeyDown_F1() {
    // Leaves an open edit as it is.
    uiPort().message(helpText(), UiPort::Icon::Information, helpTitle());
}

bool frmMain::Form_QueryUnload() {
    // Whatever asks for the close, a value still being typed is stored first, so
    // the question below covers it; a text that is not a number keeps the window.
    if (!commitOpenEdit())
        return false;
    bool ok = false;
    confirmSave(ok);
    WriteSettings(m_state);  // also when the close is then cancelled
    return ok;
}

bool frmMain::endSession(bool mayAsk) {
    // The session asks while the database works for this window: no save may
    // start inside that wait. Unsaved changes refuse the logout where the
    // session lets the program say so; the user logs out again afterwards.
    if (databaseWaitRunning()) {
        WriteSettings(m_state);
        return !(mayAsk && hasUnsavedChanges());
    }
    // The desktop is logging out: a box about a half-typed value would hold the
    // logout up, so only a number is kept; the question about unsaved changes
    // comes only when the session lets the program ask.
    if (txtGrd->isVisible()) {
        if (readTypedNumber(txtGrd->text())) {
            bool stored = false;
            commitTxtGrd(stored);
        } else {
            txtGrd_Escape();
        }
    }
    bool ok = true;
    if (mayAsk && hasUnsavedChanges())
        confirmSave(ok);
    WriteSettings(m_state);
    m_sessionEnding = ok;
    return ok;
}

void frmMain::closeEvent(QCloseEvent* event) {
    if (databaseWaitRunning()) {
        // The window manager asks while the database works on this window's
        // state: the user asks again once it is done.
        event->ignore();
        return;
    }
    if (m_sessionEnding) {
        // Everything was settled when the session asked; nothing more may ask.
        m_closedForGood = true;
        event->accept();
        return;
    }
    if (!Form_QueryUnload()) {
        event->ignore();
        return;
    }
    m_closedForGood = true;
    rememberWindowPlace(this);
    event->accept();
}

bool frmMain::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
        case QEvent::ShortcutOverride:
            // The menu shortcuts win over the editor's own bindings (Ctrl+X would
            // cut there): with an edit open they still run their command.
            if (watched == txtGrd) {
                const auto* key = static_cast<QKeyEvent*>(event);
                const QKeySequence pressed(key->keyCombination());
                for (QAction* action :
                     {mnuDSN, mnuMonitor, mnuCommit, mnuExit, mnuProc, mnuX, mnuR}) {
                    if (action && action->isEnabled() && action->shortcut() == pressed)
                        return true;  // left unaccepted: the shortcut fires
                }
            }
            break;
        case QEvent::KeyPress: {
            const auto* key = static_cast<QKeyEvent*>(event);
            if (key->key() == Qt::Key_F1) {
                // Seen before the focused control; nothing there uses F1, and
                // taking it here keeps the box from showing once per parent.
                Form_KeyDown_F1();
                return true;
            }
            if (watched == txtGrd) {
                if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
                    bool ok = false;
                    commitTxtGrd(ok);
                    return true;
                }
                if (key->key() == Qt::Key_Escape) {
                    txtGrd_Escape();
                    return true;
                }
                if (key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab) {
                    txtGrd_Tab(key->key() == Qt::Key_Tab &&
                               !(key->modifiers() & Qt::ShiftModifier));
                    return true;
                }
            }
            break;
        }
        case QEvent::FocusIn:
            if (watched == txtGrd)
                grdData->setCurrentHighlight(false);
            break;
        case QEvent::FocusOut:
            if (watched == txtGrd)
                grdData->setCurrentHighlight(true);
            break;
        default:
            break;
    }
    return QMainWindow::eventFilter(watched, event);
}

}  // namespace tolva
