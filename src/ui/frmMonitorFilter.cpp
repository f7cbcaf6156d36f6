// The picker's search: the filter field over the tree, the count of monitors
// in sight, and the window's opening size.
#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <QScrollBar>
#include <QShortcut>
#include <QStatusBar>
#include <QTreeWidget>
#include <algorithm>

#include "core/Catalog.h"
#include "frmMonitor.h"
#include "ui/Twips.h"
#include "ui/WindowSettings.h"

namespace tolva {

namespace {

const QString kSettingsName = QStringLiteral("frmMonitor");

bool isShownMonitor(const QTreeWidgetItem* item) {
    return item && !item->isHidden() &&
           item->data(0, frmMonitor::ImageKeyRole).toString() == QLatin1String("Monitor");
}

}  // namespace

void frmMonitor::buildFilter() {
    txtFilter = new MonitorFilterField(this);
    txtFilter->setObjectName(QStringLiteral("txtFilter"));
    txtFilter->setPlaceholderText(catalogText(Msg::MonitorSearchHint));
    connect(txtFilter, &QLineEdit::textChanged, this, &frmMonitor::filterTree);
    connect(txtFilter, &MonitorFilterField::moveIntoTree, this,
            &frmMonitor::moveIntoTreeFromFilter);
    connect(txtFilter, &MonitorFilterField::chooseRequested, this, &frmMonitor::chooseFromFilter);

    auto* find = new QShortcut(QKeySequence::Find, this);
    connect(find, &QShortcut::activated, this, [this] {
        txtFilter->setFocus(Qt::ShortcutFocusReason);
        txtFilter->selectAll();
    });

    lblMonitorCount = new QLabel(StatusBar1);
    lblMonitorCount->setObjectName(QStringLiteral("lblMonitorCount"));
    StatusBar1->addPermanentWidget(lblMonitorCount);

    // The tree keeps the focus it has always had: Enter opens the remembered monitor.
    setTabOrder(TreeView1, txtFilter);
    TreeView1->setFocus();
}

void frmMonitor::filterTree() {
    m_filtered = applyMonitorFilter(TreeView1, m_state.gMonitors, txtFilter->text());
    lblMonitorCount->setText(QString::number(m_filtered.monitorsShown) + u' ' +
                             catalogText(Msg::MonitorsShown));

    // Enter must never open a monitor the filter hides; a single match is the one it opens.
    QTreeWidgetItem* current = TreeView1->currentItem();
    if (m_filtered.monitorsShown == 1)
        TreeView1->setCurrentItem(m_filtered.firstMatch);
    else if (current && current->isHidden())
        TreeView1->setCurrentItem(nullptr);
    if (TreeView1->currentItem())
        TreeView1->scrollToItem(TreeView1->currentItem());
}

void frmMonitor::moveIntoTreeFromFilter() {
    if (!isShownMonitor(TreeView1->currentItem()) && m_filtered.firstMatch)
        TreeView1->setCurrentItem(m_filtered.firstMatch);
    TreeView1->setFocus(Qt::OtherFocusReason);
}

void frmMonitor::chooseFromFilter() {
    if (m_filtered.monitorsShown == 1)
        TreeView1->setCurrentItem(m_filtered.firstMatch);
    if (isShownMonitor(TreeView1->currentItem()))
        chooseMonitor();
}

void frmMonitor::fitOpeningSize() {
    QSize size = rememberedWindowSize(kSettingsName);
    if (size.isEmpty()) {
        // Wide enough for the title and the longest name, as high as designed.
        const int titleWidth = fontMetrics().horizontalAdvance(windowTitle()) + 160;
        const QAbstractItemView* view = TreeView1;  // the tree's own override is not public
        const int treeWidth = view->sizeHintForColumn(0) + 2 * TreeView1->frameWidth() +
                              TreeView1->verticalScrollBar()->sizeHint().width();
        size = QSize(std::max({twipsToPixels(4680), titleWidth, treeWidth}),
                     twipsToPixels(3975) + txtFilter->sizeHint().height());
    }
    if (const QScreen* desktop = screen() ? screen() : QGuiApplication::primaryScreen())
        size = size.boundedTo(desktop->availableGeometry().size() * 9 / 10);
    resize(size);
}

void frmMonitor::done(int result) {
    rememberWindowSize(kSettingsName, size());
    QDialog::done(result);
}

}  // namespace tolva
