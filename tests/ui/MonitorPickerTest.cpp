#include <gtest/gtest.h>
#include <QApplication>
#include <QIcon>
#include <QLabel>
#include <QStatusBar>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>
#include <algorithm>

#include "app/Catalog.h"
#include "app/SharedState.h"
#include "select/frmMonitor.h"
#include "store/DbConnection.h"
#include "store/MonitorList.h"
#include "support/FakeUiPort.h"
#include "support/TestDatabase.h"

using namespace tolva;
using tolva::test::FakeUiPort;
using tolva::test::TestDatabase;

namespace {

const QString kBreaks = QStringLiteral("\r\n\r\n");
const QString kNoOptionsName = QStringLiteral("Four F1 - Sans option");

class MonitorPickerTest : public ::testing::Test {
protected:
    void SetUp() override {
        appState().reset();
        TestDatabase::resetDemo();
        // The demo monitors with folder tables of each test's own; monitor 190
        // has a profile without any chart, so no TOLVA options.
        TestDatabase::execAll({
            QStringLiteral("DELETE FROM CSMINN"),
            QStringLiteral("DELETE FROM CSNODE"),
            QStringLiteral("INSERT INTO CSPROF (PROFID, NAME, PROFFLG, VFLG, DESCR) "
                           "VALUES (90, 'Sans caractéristique', 16, NULL, NULL)"),
            QStringLiteral("INSERT INTO CSMON (MONID, NAME, MTYPE, VFLG, PROFID) "
                           "VALUES (190, '%1', 'SPC', NULL, 90)")
                .arg(kNoOptionsName),
        });
        SharedState& s = appState();
        s.gDsn = TestDatabase::dsn();
        s.gConnStr = TestDatabase::connectionString();
        s.gLastMonitors = {DsnMonitor{}};
        s.gMonitorIndex = -1;
        ASSERT_TRUE(LoadMonitorList());
    }

    void TearDown() override { sqlCounters().recording = false; }

    // The folder example: root 0, A (5) and B (7) after A.
    static void addRootAB() {
        TestDatabase::execAll(
            {folderRow(0, "Racine", 0, 0), folderRow(5, "A", 0, 0), folderRow(7, "B", 0, 5)});
    }

    static QString folderRow(int id, const QString& name, int parent, int previous,
                             const QString& vflg = QStringLiteral("NULL")) {
        return QStringLiteral(
                   "INSERT INTO CSNODE (NODEID, NAME, PARENTID, PREVID, VFLG) "
                   "VALUES (%1, '%2', %3, %4, %5)")
            .arg(id)
            .arg(name)
            .arg(parent)
            .arg(previous)
            .arg(vflg);
    }

    static void file(int node, int monId) {
        TestDatabase::exec(QStringLiteral("INSERT INTO CSMINN (NODEID, MONID) VALUES (%1, %2)")
                               .arg(node)
                               .arg(monId));
    }

    static int indexOf(qint32 monId) {
        const auto& monitors = appState().gMonitors;
        for (int i = 0; i < monitors.size(); ++i) {
            if (monitors[i].MonId == monId)
                return i;
        }
        return -1;
    }

    static QTreeWidget* tree(frmMonitor& picker) {
        auto* view = picker.findChild<QTreeWidget*>(QStringLiteral("TreeView1"));
        EXPECT_NE(view, nullptr);
        return view;
    }

    // "Folder{child,child}", monitors as "#MonId" from the item's gMonitors entry.
    static QString render(const QTreeWidgetItem* item) {
        if (item->data(0, frmMonitor::ImageKeyRole).toString() == QLatin1String("Monitor")) {
            const int index = item->data(0, frmMonitor::MonitorIndexRole).toInt();
            EXPECT_EQ(item->text(0), appState().gMonitors.value(index).Name);
            return u'#' + QString::number(appState().gMonitors.value(index).MonId);
        }
        QStringList children;
        for (int i = 0; i < item->childCount(); ++i)
            children.append(render(item->child(i)));
        return item->text(0) + u'{' + children.join(u',') + u'}';
    }

    static QString render(frmMonitor& picker) {
        QStringList top;
        for (int i = 0; i < tree(picker)->topLevelItemCount(); ++i)
            top.append(render(tree(picker)->topLevelItem(i)));
        return top.join(u';');
    }

    // The first item showing monitor monId under a folder named `folder`.
    static QTreeWidgetItem* monitorItem(frmMonitor& picker, qint32 monId,
                                        const QString& folder = QString()) {
        for (QTreeWidgetItemIterator it(tree(picker)); *it; ++it) {
            QTreeWidgetItem* item = *it;
            if (item->data(0, frmMonitor::ImageKeyRole).toString() == QLatin1String("Monitor") &&
                item->data(0, frmMonitor::MonitorIndexRole).toInt() == indexOf(monId) &&
                (folder.isEmpty() || item->parent()->text(0) == folder))
                return item;
        }
        ADD_FAILURE() << "no item for monitor " << monId;
        return nullptr;
    }

    static void showActive(frmMonitor& picker) {
        picker.show();
        QApplication::setActiveWindow(&picker);
        ASSERT_TRUE(QTest::qWaitForWindowActive(&picker));
    }

    static void doubleClick(frmMonitor& picker, QTreeWidgetItem* item) {
        QTreeWidget* view = tree(picker);
        const QPoint at = view->visualItemRect(item).center();
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, at);
    }

    static QImage imageOf(const QIcon& icon) { return icon.pixmap(16, 16).toImage(); }

    FakeUiPort ui;
};

TEST_F(MonitorPickerTest, FolderExampleShowsOnlyFoldersHoldingMonitors) {
    addRootAB();
    TestDatabase::exec(folderRow(9, "Archives", 0, 7, QStringLiteral("1")));  // deleted folder
    file(7, 101);
    file(9, 103);
    sqlCounters().recording = true;
    sqlCounters().recent.clear();
    const auto before = sqlCounters();
    {
        frmMonitor picker;
        EXPECT_EQ(render(picker), "Racine{B{#101}}");
        EXPECT_EQ(
            sqlCounters().recent,
            QVector<QString>({"SELECT * FROM CSMINN", "SELECT * FROM CSNODE WHERE VFLG IS NULL"}));
        EXPECT_EQ(sqlCounters().connectionsOpened - before.connectionsOpened, 1);
        EXPECT_EQ(sqlCounters().connectionsClosed - before.connectionsClosed, 1);
        EXPECT_TRUE(ui.shown.isEmpty());
        EXPECT_FALSE(ui.busy);
    }

    file(5, 102);
    frmMonitor picker;
    EXPECT_EQ(render(picker), "Racine{A{#102},B{#101}}");
    EXPECT_EQ(picker.windowTitle(), catalogText(128));
    auto* panel = picker.findChild<QStatusBar*>(QStringLiteral("StatusBar1"))->findChild<QLabel*>();
    ASSERT_NE(panel, nullptr);
    EXPECT_EQ(panel->text(), catalogText(129) + u' ' + TestDatabase::dsn() + u' ');

    // Folders come expanded with the open image; monitors carry theirs.
    const QImage open = imageOf(QIcon(QStringLiteral(":/icons/folder-open.svg")));
    const QImage monitorImage = imageOf(QIcon(QStringLiteral(":/icons/monitor.svg")));
    ASSERT_FALSE(open.isNull());
    for (QTreeWidgetItemIterator it(tree(picker)); *it; ++it) {
        if ((*it)->childCount() > 0) {
            EXPECT_TRUE((*it)->isExpanded()) << (*it)->text(0).toStdString();
            EXPECT_EQ(imageOf((*it)->icon(0)), open);
        } else {
            EXPECT_EQ(imageOf((*it)->icon(0)), monitorImage);
        }
    }
    // Nothing was remembered for this data source, so nothing is selected.
    EXPECT_TRUE(tree(picker)->selectedItems().isEmpty());
}

TEST_F(MonitorPickerTest, TreeFillsTheWindowAboveTheStatusBar) {
    addRootAB();
    file(5, 101);
    frmMonitor picker;
    showActive(picker);
    picker.resize(500, 260);
    QApplication::processEvents();
    auto* bar = picker.findChild<QStatusBar*>(QStringLiteral("StatusBar1"));
    EXPECT_EQ(bar->geometry().bottom(), picker.height() - 1);
    EXPECT_EQ(tree(picker)->geometry(), QRect(0, 0, 500, 260 - bar->height()));
}

TEST_F(MonitorPickerTest, MonitorFiledTwiceShowsTwiceAndRememberedOneIsSelected) {
    addRootAB();
    file(7, 101);
    file(5, 102);
    file(5, 101);
    appState().gLastMonitors = {DsnMonitor{}, DsnMonitor{TestDatabase::dsn(), 101}};
    {
        frmMonitor picker;
        EXPECT_EQ(render(picker), "Racine{A{#102,#101},B{#101}}");
        // B is placed before A's monitors, so the item in A is marked last.
        const auto selected = tree(picker)->selectedItems();
        ASSERT_EQ(selected.size(), 1);
        EXPECT_EQ(selected.first(), monitorItem(picker, 101, "A"));
    }
    // The data-source name must match exactly.
    appState().gLastMonitors = {DsnMonitor{TestDatabase::dsn().toLower(), 101}};
    frmMonitor picker;
    EXPECT_TRUE(tree(picker)->selectedItems().isEmpty());
}

TEST_F(MonitorPickerTest, RememberedMonitorIsScrolledIntoView) {
    // A long folder first, the remembered monitor at the far end.
    addRootAB();
    QStringList links;
    for (int round = 0; round < 4; ++round) {
        for (int monId = 101; monId <= 110; ++monId)
            links.append(
                QStringLiteral("INSERT INTO CSMINN (NODEID, MONID) VALUES (5, %1)").arg(monId));
    }
    TestDatabase::execAll(links);
    file(7, 111);
    appState().gLastMonitors = {DsnMonitor{TestDatabase::dsn(), 111}};

    frmMonitor picker;
    showActive(picker);
    QTreeWidget* view = tree(picker);
    QTreeWidgetItem* remembered = monitorItem(picker, 111);
    ASSERT_TRUE(remembered->isSelected());
    const QRect shown = view->visualItemRect(remembered);
    EXPECT_GE(shown.top(), 0);
    EXPECT_LE(shown.bottom(), view->viewport()->height() - 1)
        << "row at " << shown.y() << " in a viewport of height " << view->viewport()->height();
}

TEST_F(MonitorPickerTest, ChoosingByDoubleClickOrEnterReadsOptionsAndRemembers) {
    addRootAB();
    file(5, 101);
    file(7, 102);
    {
        frmMonitor picker;
        showActive(picker);
        doubleClick(picker, monitorItem(picker, 101));
        EXPECT_TRUE(ui.shown.isEmpty());
        EXPECT_EQ(picker.result(), QDialog::Accepted);
        EXPECT_FALSE(picker.isVisible());
    }
    const SharedState& s = appState();
    EXPECT_TRUE(s.gMonitorChosen);
    EXPECT_EQ(s.gMonitorIndex, indexOf(101));
    EXPECT_FALSE(s.gOptionRows.isEmpty());
    EXPECT_TRUE(std::any_of(
        s.gLastMonitors.begin(), s.gLastMonitors.end(),
        [](const DsnMonitor& m) { return m.Dsn == TestDatabase::dsn() && m.MonId == 101; }));

    // The next opening starts without a choice, selects 101 and takes Enter.
    frmMonitor picker;
    EXPECT_FALSE(s.gMonitorChosen);
    showActive(picker);
    tree(picker)->setFocus();
    tree(picker)->setCurrentItem(monitorItem(picker, 102));
    QTest::keyClick(tree(picker), Qt::Key_Return);
    EXPECT_EQ(picker.result(), QDialog::Accepted);
    EXPECT_TRUE(s.gMonitorChosen);
    EXPECT_EQ(s.gMonitorIndex, indexOf(102));
}

TEST_F(MonitorPickerTest, MonitorWithoutOptionsIsReportedUnderItsName) {
    addRootAB();
    file(5, 190);
    file(5, 101);
    appState().gMonitorIndex = indexOf(102);  // the monitor open before
    frmMonitor picker;
    showActive(picker);

    doubleClick(picker, monitorItem(picker, 190));
    ASSERT_EQ(ui.shown.size(), 1);
    EXPECT_EQ(ui.shown[0].text, catalogText(132));
    EXPECT_EQ(ui.shown[0].icon, UiPort::Icon::Information);
    EXPECT_EQ(ui.shown[0].title, kNoOptionsName);
    EXPECT_TRUE(picker.isVisible());
    EXPECT_FALSE(appState().gMonitorChosen);
    EXPECT_EQ(appState().gMonitorIndex, indexOf(102));

    // Another monitor can still be chosen.
    doubleClick(picker, monitorItem(picker, 101));
    EXPECT_EQ(picker.result(), QDialog::Accepted);
    EXPECT_EQ(appState().gMonitorIndex, indexOf(101));
}

TEST_F(MonitorPickerTest, FoldersOnlyExpandAndCollapse) {
    addRootAB();
    file(5, 101);
    appState().gMonitorIndex = indexOf(102);
    frmMonitor picker;
    showActive(picker);
    QTreeWidgetItem* folderA = tree(picker)->topLevelItem(0)->child(0);
    ASSERT_EQ(folderA->text(0), "A");

    doubleClick(picker, folderA);
    EXPECT_FALSE(folderA->isExpanded());
    EXPECT_EQ(imageOf(folderA->icon(0)),
              imageOf(QIcon(QStringLiteral(":/icons/folder-closed.svg"))));
    tree(picker)->setCurrentItem(folderA);
    QTest::keyClick(tree(picker), Qt::Key_Return);
    doubleClick(picker, folderA);
    EXPECT_TRUE(folderA->isExpanded());
    EXPECT_EQ(imageOf(folderA->icon(0)), imageOf(QIcon(QStringLiteral(":/icons/folder-open.svg"))));

    EXPECT_TRUE(picker.isVisible());
    EXPECT_TRUE(ui.shown.isEmpty());
    EXPECT_FALSE(appState().gMonitorChosen);
    EXPECT_EQ(appState().gMonitorIndex, indexOf(102));
}

TEST_F(MonitorPickerTest, EscapeAndCloseBoxEndWithoutChoice) {
    addRootAB();
    file(5, 101);
    SharedState& s = appState();
    s.gMonitorIndex = indexOf(102);
    s.gMonitorChosen = true;  // left over from an earlier choice
    {
        frmMonitor picker;
        QTimer::singleShot(0, &picker,
                           [&picker] { QTest::keyClick(tree(picker), Qt::Key_Escape); });
        EXPECT_EQ(picker.exec(), QDialog::Rejected);
    }
    EXPECT_FALSE(s.gMonitorChosen);
    EXPECT_EQ(s.gMonitorIndex, indexOf(102));

    s.gMonitorChosen = true;
    frmMonitor picker;
    showActive(picker);
    picker.close();
    EXPECT_EQ(picker.result(), QDialog::Rejected);
    EXPECT_FALSE(s.gMonitorChosen);
    EXPECT_EQ(s.gMonitorIndex, indexOf(102));
}

TEST_F(MonitorPickerTest, LoopingFolderLinksGiveAFiniteTree) {
    // Without a key on the node number, a folder can be listed twice: as its
    // own subfolder and again at the end of its parent's chain.
    TestDatabase::execAll({
        QStringLiteral("DROP TABLE CSNODE"),
        QStringLiteral("CREATE TABLE CSNODE (NODEID INTEGER, NAME VARCHAR(64), PARENTID INTEGER, "
                       "PREVID INTEGER, VFLG INTEGER)"),
    });
    addRootAB();
    TestDatabase::execAll({folderRow(5, "A encore", 5, 0), folderRow(5, "A en fin", 0, 7),
                           folderRow(9, "C", 7, 0), folderRow(7, "B sous C", 9, 0)});
    file(5, 101);
    file(7, 102);
    file(9, 103);
    frmMonitor picker;
    EXPECT_EQ(render(picker), "Racine{A{#101},B{C{#103},#102}}");
    EXPECT_TRUE(ui.shown.isEmpty());
}

TEST_F(MonitorPickerTest, UnreadableFolderTablesAreReported) {
    addRootAB();
    file(5, 101);
    // No live folder at all.
    TestDatabase::exec(QStringLiteral("UPDATE CSNODE SET VFLG = 1"));
    {
        frmMonitor picker;
        ASSERT_EQ(ui.shown.size(), 1);
        EXPECT_EQ(ui.shown[0].text, catalogText(131) + kBreaks + catalogText(130));
        EXPECT_EQ(ui.shown[0].icon, UiPort::Icon::Critical);
        EXPECT_EQ(ui.shown[0].title, catalogText(128));
        EXPECT_EQ(tree(picker)->topLevelItemCount(), 0);
        EXPECT_FALSE(ui.busy);
    }

    // A table that cannot be read: the database's own text follows.
    TestDatabase::exec(QStringLiteral("DROP TABLE CSMINN"));
    QString reason;
    try {
        DbConnection db;
        db.open(TestDatabase::connectionString());
        db.execute(QStringLiteral("SELECT * FROM CSMINN"));
    } catch (const DbError& error) {
        reason = error.description();
    }
    ASSERT_FALSE(reason.isEmpty());
    frmMonitor picker;
    ASSERT_EQ(ui.shown.size(), 2);
    EXPECT_EQ(ui.shown[1].text, catalogText(131) + kBreaks + reason);
    EXPECT_EQ(tree(picker)->topLevelItemCount(), 0);
    EXPECT_FALSE(ui.busy);
}

}  // namespace
