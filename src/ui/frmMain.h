#pragma once

#include <QHash>
#include <QIcon>
#include <QMainWindow>
#include <QModelIndexList>

#include "core/ColumnLayout.h"
#include "core/SharedState.h"
#include "core/StoreOutcome.h"
#include "core/TaggedValue.h"
#include "ui/UiPort.h"

class QAction;
class QLabel;
class QLineEdit;
class QMenu;
class QToolBar;

namespace tolva {

class MonitorEditor;
class OptionGrid;
class OptionTableModel;

// The editor window: the option grid of the current monitor with its toolbar,
// menus, status bar, in-place editor and commands.
//   frmMain.cpp          construction, catalog texts, load sequence, layout, toggles
//   frmMainGrid.cpp      FillGrid and its helpers
//   frmMainEdit.cpp      the in-place editor txtGrd and the heading marks
//   frmMainCommands.cpp  save, change of monitor / data source, exit, F1, close
//   frmMainExport.cpp    export of the option table as a CSV file
//   frmMainImport.cpp    import of limits from a CSV file, after a preview
//   frmMainEditMenu.cpp  the Édition menu: history, copy, paste, revert
//   frmMainHistory.cpp   the journal of saved changes: its window, the save question's parts
class frmMain : public QMainWindow {
    Q_OBJECT

public:
    // The window reads and changes `state` (the program's shared state).
    explicit frmMain(SharedState& state, QWidget* parent = nullptr);
    ~frmMain() override;

    // The load sequence: catalog texts, title labels, show, connection dialog,
    // monitor picker, first fill; closes the window when either dialog gives up.
    void load();
    // True once the window has been closed for good (the program ends).
    bool isClosedForGood() const { return m_closedForGood; }

    // The picker's choice: gMonitors[monitorIndex] loaded, remembered and made
    // current; on failure the former monitor and table stay, and the box says why.
    bool loadChosenMonitor(int monitorIndex, const QString& monitorName);
    // Some value differs from what was loaded: the save question is asked.
    bool hasUnsavedChanges() const;
    // A successful option load: mnuCommit disabled, the edit history and the
    // third panel's report of the last save or paste dropped.
    void optionsLoaded();
    // Runs the view toggle of a hidden group (it shows the group and refills the grid).
    void revealGroup(OptionGroup group);
    // Makes grid cell (row, col) current and opens the in-place editor with text.
    void EditGridCell(int row, int col, const QString& text);

    // Toolbar images "PC"/"noPC", "X"/"noX", "R"/"noR" and the view-menu check
    // marks from the three switches.
    void showViewSwitches();
    // The column numbers from the switches (ApplyViewState), then the above.
    void applyViewState();
    // The grid's columns as the last applyViewState() computed them.
    const ColumnLayout& columnLayout() const { return m_layout; }

    // Grid fill (frmMainGrid.cpp).
    void FillGrid();
    void SplitChartNames(QStringList& characteristics, QStringList& queries);
    static int MeasureColumnWidth(const QString& text);  // twips
    void UpdateStatusBar();
    // Third panel: values changed since the load, or what the last save or
    // paste did.
    void UpdateChangePanel();

    // Frame (frmMain.cpp).
    void ApplyCatalogTexts();
    void toggleProc();
    void toggleX();
    void toggleR();

    // In-place editor (frmMainEdit.cpp). "NULL" starts from the cell's text.
    void showTxtGrd(const QString& sTxt = QString());
    void placeTxtGrd();
    void commitTxtGrd(bool& ok);

    // Commands (frmMainCommands.cpp).
    void confirmSave(bool& ok);
    void changeMonitor();
    void changeDSN();

    // Export (frmMainExport.cpp): the shown columns into a CSV file; false
    // (after a message) when the file could not be written.
    bool exportCsv(const QString& path);
    // Where the last export went (the documents folder at first): the export
    // and the import both open their file dialog there.
    static QString lastCsvFolder();
    // The file chosen in a CSV file dialog titled after a menu entry, from
    // `start` (a folder, or a file name to offer); empty when given up.
    QString chooseCsvFile(int entryMessage, const QString& start, bool forSaving);
    // Import (frmMainImport.cpp): the file's preview, then its changes as one
    // step of the edit history; false when nothing was applied.
    bool importCsv(const QString& path);
    // Édition menu (frmMainEditMenu.cpp). A paste checks every text as typed
    // and stores all of it as one step, or nothing.
    void pasteBlock(const QString& text);
    // The journal window (frmMainHistory.cpp), all characteristics or the
    // current one's rows; a database without the journal gets a one-sentence
    // message instead.
    void showHistory(bool currentOnly);

public slots:
    void mnuCommit_Click();
    void mnuDSN_Click();
    void mnuMonitor_Click();
    void mnuExit_Click();
    void mnuExport_Click();
    void mnuImport_Click();
    void mnuHistory_Click();
    void mnuProc_Click();
    void mnuX_Click();
    void mnuR_Click();
    void toolbarButtonClicked(const QString& key);
    // The desktop session ends: false when the user cancels the logout.
    bool endSession(bool mayAsk);
    void mnuUndo_Click();
    void mnuRedo_Click();
    void mnuCopy_Click();
    void mnuPaste_Click();
    void mnuRevert_Click();

protected:
    void closeEvent(QCloseEvent* event) override;    // Form_QueryUnload
    void resizeEvent(QResizeEvent* event) override;  // resize handling
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;  // F1, txtGrd keys/focus

private:
    void buildControls();
    void buildMenusAndToolbar();
    void buildEditMenu();
    // The Historique entry and the grid's context menu (frmMainHistory.cpp).
    void buildHistoryEntries();
    // The save question with the list of changes and, where a journal is
    // kept, the reason, which comes back in `reason`.
    UiPort::Answer askSaveQuestion(QString& reason);
    // The selected value cells (the current one when none is), as model indexes.
    QModelIndexList selectedValueCells() const;
    void layoutControls();
    void applyMinimumSize();
    void setButtonImage(const QString& key, const QString& image);
    void setSaveEnabled(bool on);  // mnuCommit and toolbar "Save"
    void toggleGroup(bool& showSwitch);
    // The rule every command starts with: store an open edit first; false when
    // its text is not a number (the edit stays open and the command ends).
    bool commitOpenEdit();
    // The opening of save, change of monitor and change of data source: the
    // commit-first rule, then the question about unsaved changes.
    bool commitAndConfirmSave();
    // Monitor picker, then a fill when a monitor was chosen.
    bool pickMonitor();
    // Reads the current monitor again after a save; keeps the values on screen
    // (as saved) when the read fails.
    void reloadMonitor();
    // A failed save or load, with the pointer already back to normal: a refused
    // value's group shown and the editor on its cell, then the box.
    void showStoreFailure(const StoreOutcome& outcome, const QString& title = QString());

    // Grid event handlers (frmMainEdit.cpp).
    void grdData_EnterCell();
    void grdData_KeyPress(QChar ch);
    void grdData_Enter();
    void grdData_Delete();
    void grdData_DblClick();
    void grdData_Click(bool onCell);
    void grdData_Scroll();
    void txtGrd_Escape();
    void txtGrd_Tab(bool forward);
    void Form_KeyDown_F1();
    bool Form_QueryUnload();  // false: cancel the close

    SharedState& m_state;
    ColumnLayout m_layout;  // none while no monitor is chosen

    // Controls; their names are also their object names.
    QToolBar* Toolbar1 = nullptr;
    OptionGrid* grdData = nullptr;
    OptionTableModel* m_model = nullptr;  // the option table under grdData
    QLineEdit* txtGrd = nullptr;
    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;
    QLabel* m_statusDsn = nullptr;      // StatusBar1 panel 1
    QLabel* m_statusMonitor = nullptr;  // StatusBar1 panel 2
    QLabel* m_statusChanges = nullptr;  // StatusBar1 panel 3
    QHash<QString, QIcon> ImageList1;
    QHash<QString, QAction*> m_buttons;  // toolbar buttons by key

    QMenu* mnuOpt = nullptr;
    QAction* mnuDSN = nullptr;
    QAction* mnuMonitor = nullptr;
    QAction* mnuCommit = nullptr;
    QAction* mnuExport = nullptr;
    QAction* mnuImport = nullptr;
    QAction* mnuHistory = nullptr;
    QAction* mnuExit = nullptr;
    QMenu* mnuEdit = nullptr;
    QAction* mnuUndo = nullptr;
    QAction* mnuRedo = nullptr;
    QAction* mnuCopy = nullptr;
    QAction* mnuPaste = nullptr;
    QAction* mnuRevert = nullptr;
    QMenu* mnuView = nullptr;
    QAction* mnuProc = nullptr;
    QAction* mnuX = nullptr;
    QAction* mnuR = nullptr;

    // Editing state.
    int m_editRow = 0;
    int m_editCol = 0;
    bool m_inEnterCell = false;
    bool m_marksShown = false;
    int m_markedRow = 0;
    int m_markedCol = 0;

    MonitorEditor* m_editor = nullptr;  // edits since the last load, saves
    int m_savedRows = -1;               // rows the last save wrote, until the next edit
    bool m_reloadFollowsSave = false;   // the save command reloads right after confirmSave
    int m_pastedValues = -1;            // values the last paste stored, until the next edit
    int m_leftOutRows = 0;              // and what of its block lay past the grid's edges
    int m_leftOutColumns = 0;

    bool m_closedForGood = false;
    bool m_sessionEnding = false;  // the session was settled; closes go through
    bool m_inResize = false;
    bool m_placed = false;  // opening size and place set (first show)
};

}  // namespace tolva
