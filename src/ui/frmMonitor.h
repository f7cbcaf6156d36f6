#pragma once

#include <QDialog>
#include <QVector>
#include <functional>

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
// each folder. It only chooses: a choice (double click or Enter) goes to the
// caller's `take`, which loads the monitor and says whether it was taken; a
// monitor not taken leaves the picker open. Without `take`, a choice is
// taken as it is. Created afresh for every showing; callers read
// gMonitorChosen afterwards.
class frmMonitor : public QDialog {
    Q_OBJECT

public:
    // The gMonitors index of the chosen monitor and its name.
    using TakeChoice = std::function<bool(int monitorIndex, const QString& monitorName)>;
    explicit frmMonitor(SharedState& state, TakeChoice take = {}, QWidget* parent = nullptr);

    // Reads the folder tables and fills the tree; shows the failure message.
    void LoadMonitorTree();

    // Item data (MonitorItemRole).
    static constexpr int ImageKeyRole = MonitorItemRole::ImageKey;
    static constexpr int MonitorIndexRole = MonitorItemRole::MonitorIndex;

public slots:
    void done(int result) override;  // keeps the window's size for the next opening

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void showFolderTree(const FolderTree& tree);
    QTreeWidgetItem* addTreeItem(const FolderTreeItem& source, const FolderTree& tree,
                                 QTreeWidgetItem*& selectedItem);
    void chooseMonitor();

    SharedState& m_state;
    TakeChoice m_take;
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
