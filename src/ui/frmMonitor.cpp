#include "frmMonitor.h"

#include <QHeaderView>
#include <QIcon>
#include <QKeyEvent>
#include <QLabel>
#include <QStatusBar>
#include <QTreeWidget>

#include "core/Catalog.h"
#include "core/SharedState.h"
#include "ui/BusyPointer.h"
#include "ui/Twips.h"
#include "ui/UiPort.h"

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

frmMonitor::frmMonitor(SharedState& state, TakeChoice take, QWidget* parent)
    : QDialog(parent), m_state(state), m_take(std::move(take)) {
    setObjectName(QStringLiteral("frmMonitor"));
    setModal(true);
    setWindowTitle(catalogText(Msg::PickerTitle));

    TreeView1 = new QTreeWidget(this);
    TreeView1->setObjectName(QStringLiteral("TreeView1"));
    TreeView1->setHeaderHidden(true);
    TreeView1->setColumnCount(1);
    TreeView1->setSelectionMode(QAbstractItemView::SingleSelection);
    TreeView1->setIconSize(QSize(16, 16));
    // Names fit the tree's width: a long one is elided, whole in its tool tip,
    // so that no name can push the others out of sight.
    TreeView1->header()->setSectionResizeMode(0, QHeaderView::Stretch);
    TreeView1->setTextElideMode(Qt::ElideRight);
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
    m_state.gMonitorChosen = false;
    m_dsnPanel->setText(catalogText(Msg::PickerDsnPanel) + u' ' + m_state.gDsn + u' ');
    buildFilter();
    LoadMonitorTree();
    filterTree();
    fitOpeningSize();
}

void frmMonitor::LoadMonitorTree() {
    BusyPointer busy(BusyPointer::Show::Later);
    const StoreOutcome outcome = ReadMonitorFolders(m_state.gConnStr, m_folders);
    if (!outcome.ok()) {
        busy.release();
        uiPort().message(outcome.text(), UiPort::Icon::Critical, windowTitle());
        return;
    }
    showFolderTree(BuildFolderTree(m_folders.nodes, m_folders.links, m_state.gMonitors,
                                   m_state.gLastMonitors, m_state.gDsn));
}

void frmMonitor::showFolderTree(const FolderTree& tree) {
    if (!tree.root)
        return;
    QTreeWidgetItem* selectedItem = nullptr;
    QTreeWidgetItem* root = addTreeItem(*tree.root, tree, selectedItem);
    TreeView1->addTopLevelItem(root);

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
    item->setToolTip(0, source.text);
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
    const int index = item->data(0, MonitorIndexRole).toInt();
    if (m_take) {
        if (!m_take(index, item->text(0)))
            return;  // the caller said why; another monitor may be chosen
    } else {
        m_state.gMonitorIndex = index;
    }
    m_state.gMonitorChosen = true;
    accept();
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
