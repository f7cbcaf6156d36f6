#include "frmMonitor.h"

#include <QHeaderView>
#include <QIcon>
#include <QKeyEvent>
#include <QLabel>
#include <QStatusBar>
#include <QTreeWidget>

#include "core/Catalog.h"
#include "core/OptionReader.h"
#include "core/SharedState.h"
#include "core/UiPort.h"
#include "core/modCfg.h"
#include "ui/Twips.h"

namespace tolva {

namespace {

const QString kMonitorImage = QStringLiteral("Monitor");
const QString kClosedFolderImage = QStringLiteral("ClosedFolder");
const QString kOpenFolderImage = QStringLiteral("OpenFolder");

QIcon treeImage(const QString& key) {
    static const QIcon monitor(QStringLiteral(":/icons/monitor.svg"));
    static const QIcon closedFolder(QStringLiteral(":/icons/folder-closed.svg"));
    static const QIcon openFolder(QStringLiteral(":/icons/folder-open.svg"));
    if (key == kMonitorImage)
        return monitor;
    return key == kOpenFolderImage ? openFolder : closedFolder;
}

bool isFolder(const QTreeWidgetItem* item) {
    return item->data(0, frmMonitor::ImageKeyRole).toString() != kMonitorImage;
}

// A folder shows the open image while it is expanded.
void showFolderImage(QTreeWidgetItem* item) {
    if (isFolder(item))
        item->setIcon(0, treeImage(item->isExpanded() ? kOpenFolderImage : kClosedFolderImage));
}

}  // namespace

frmMonitor::frmMonitor(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frmMonitor"));
    setModal(true);
    setWindowTitle(catalogText(128));

    TreeView1 = new QTreeWidget(this);
    TreeView1->setObjectName(QStringLiteral("TreeView1"));
    TreeView1->setHeaderHidden(true);
    TreeView1->setColumnCount(1);
    TreeView1->setSelectionMode(QAbstractItemView::SingleSelection);
    TreeView1->setIconSize(QSize(16, 16));
    // Long monitor names scroll sideways rather than being cut short.
    TreeView1->header()->setStretchLastSection(false);
    TreeView1->header()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    TreeView1->installEventFilter(this);
    connect(TreeView1, &QTreeWidget::itemExpanded, this, &showFolderImage);
    connect(TreeView1, &QTreeWidget::itemCollapsed, this, &showFolderImage);
    connect(TreeView1, &QTreeWidget::itemDoubleClicked, this, [this] { chooseMonitor(); });

    StatusBar1 = new QStatusBar(this);
    StatusBar1->setObjectName(QStringLiteral("StatusBar1"));
    StatusBar1->setSizeGripEnabled(false);
    m_dsnPanel = new QLabel(StatusBar1);
    m_dsnPanel->setObjectName(QStringLiteral("StatusBar1Panel1"));
    StatusBar1->addWidget(m_dsnPanel, 1);

    resize(twipsToPixels(4680), twipsToPixels(3975));

    // Load.
    m_rootAdded = false;
    appState().gMonitorChosen = false;
    m_dsnPanel->setText(catalogText(129) + u' ' + appState().gDsn + u' ');
    buildFilter();
    LoadMonitorTree();
    filterTree();
    fitOpeningSize();
}

void frmMonitor::LoadMonitorTree() {
    uiPort().setBusyPointer();
    m_folderLinks.clear();
    m_nodes.clear();
    try {
        DbConnection db;
        db.open(appState().gConnStr);
        DbResult links = db.execute(QStringLiteral("SELECT * FROM CSMINN"));
        while (!links.atEnd()) {
            m_folderLinks.append({links.field(0).toInt32(), links.field(1).toInt32()});
            links.moveNext();
        }
        DbResult nodes = db.execute(QStringLiteral("SELECT * FROM CSNODE WHERE VFLG IS NULL"));
        if (nodes.atEnd())
            throw DbError(catalogText(130));
        m_nodes = nodes.readAll();
        db.close();
    } catch (const DbError& error) {
        uiPort().setNormalPointer();
        uiPort().message(catalogText(131) + QStringLiteral("\r\n\r\n") + error.description(),
                         UiPort::Icon::Critical, windowTitle());
        return;
    }

    const SharedState& state = appState();
    showFolderTree(
        BuildFolderTree(m_nodes, m_folderLinks, state.gMonitors, state.gLastMonitors, state.gDsn));
    uiPort().setNormalPointer();
}

void frmMonitor::showFolderTree(const FolderTree& tree) {
    if (!tree.root)
        return;
    QTreeWidgetItem* selectedItem = nullptr;
    QTreeWidgetItem* root = addTreeItem(*tree.root, tree, selectedItem);
    TreeView1->addTopLevelItem(root);
    m_rootAdded = true;

    // Folders come expanded; expanding needs the items inside the tree.
    QTreeWidgetItemIterator it(TreeView1);
    for (; *it; ++it) {
        if (isFolder(*it)) {
            (*it)->setExpanded(true);
            showFolderImage(*it);
        }
    }
    if (selectedItem) {
        TreeView1->setCurrentItem(selectedItem);
        TreeView1->scrollToItem(selectedItem);
    }
}

QTreeWidgetItem* frmMonitor::addTreeItem(const FolderTreeItem& source, const FolderTree& tree,
                                         QTreeWidgetItem*& selectedItem) {
    auto* item = new QTreeWidgetItem(QStringList(source.text));
    if (source.kind == FolderTreeItem::Kind::Monitor) {
        item->setData(0, ImageKeyRole, kMonitorImage);
        item->setData(0, MonitorIndexRole, source.monitorIndex);
        item->setIcon(0, treeImage(kMonitorImage));
    } else {
        item->setData(0, ImageKeyRole, kClosedFolderImage);
        item->setIcon(0, treeImage(kClosedFolderImage));
    }
    if (&source == tree.selected)
        selectedItem = item;
    for (const auto& child : source.children)
        item->addChild(addTreeItem(*child, tree, selectedItem));
    return item;
}

void frmMonitor::chooseMonitor() {
    const QList<QTreeWidgetItem*> selected = TreeView1->selectedItems();
    if (selected.isEmpty() || isFolder(selected.first()))
        return;
    QTreeWidgetItem* item = selected.first();

    SharedState& state = appState();
    const int kept = state.gMonitorIndex;
    state.gMonitorIndex = item->data(0, MonitorIndexRole).toInt();
    if (LoadMonitorOptions()) {
        RememberMonitor();
        state.gMonitorChosen = true;
        accept();
        return;
    }
    uiPort().message(catalogText(132), UiPort::Icon::Information, item->text(0));
    state.gMonitorIndex = kept;
}

bool frmMonitor::eventFilter(QObject* watched, QEvent* event) {
    if (watched == TreeView1 && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            chooseMonitor();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void frmMonitor::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    // The search field on top, the tree filling the window down to the status bar.
    const int barHeight = StatusBar1->sizeHint().height();
    StatusBar1->setGeometry(0, height() - barHeight, width(), barHeight);
    const int filterHeight = txtFilter->sizeHint().height();
    txtFilter->setGeometry(0, 0, width(), filterHeight);
    TreeView1->setGeometry(0, filterHeight, width(), qMax(0, height() - barHeight - filterHeight));
}

}  // namespace tolva
