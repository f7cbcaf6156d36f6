#pragma once

#include <QDialog>
#include <QVector>

#include "core/FolderTree.h"
#include "core/MonitorFolders.h"
#include "core/SharedState.h"
#include "ui/MonitorFilter.h"

class QLabel;
class QStatusBar;
class QTreeWidget;
class QTreeWidgetItem;

namespace tolva {

// The monitor picker: the database's folder tree with the monitors filed in
// each folder. Choosing a monitor (double click or Enter) reads its options;
// only a monitor that has TOLVA options ends the picker with a choice.
// Created afresh for every showing; callers read gMonitorChosen afterwards.
class frmMonitor : public QDialog {
    Q_OBJECT

public:
    explicit frmMonitor(SharedState& state, QWidget* parent = nullptr);

    // Reads the folder tables and fills the tree; shows the failure message.
    void LoadMonitorTree();

    // Item data: the image key ("Monitor", "ClosedFolder") and, for a monitor,
    // its index in gMonitors.
    static constexpr int ImageKeyRole = Qt::UserRole;
    static constexpr int MonitorIndexRole = Qt::UserRole + 1;

public slots:
    void done(int result) override;  // keeps the window's size for the next opening

signals:
    // A chosen monitor's options are about to be read into the shared table.
    void optionLoadStarting();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void showFolderTree(const FolderTree& tree);
    QTreeWidgetItem* addTreeItem(const FolderTreeItem& source, const FolderTree& tree,
                                 QTreeWidgetItem*& selectedItem);
    void chooseMonitor();

    SharedState& m_state;
    // Search (frmMonitorFilter.cpp).
    void buildFilter();
    void filterTree();
    void moveIntoTreeFromFilter();
    void chooseFromFilter();
    void fitOpeningSize();

    QTreeWidget* TreeView1 = nullptr;
    QStatusBar* StatusBar1 = nullptr;
    QLabel* m_dsnPanel = nullptr;
    MonitorFilterField* txtFilter = nullptr;
    QLabel* lblMonitorCount = nullptr;
    MonitorFilterResult m_filtered;

    MonitorFolders m_folders;  // the CSNODE rows and CSMINN links read
};

}  // namespace tolva
