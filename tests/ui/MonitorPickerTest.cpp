// The monitor picker: the folder tree, the remembered monitor, the choice and
// what goes wrong on the way.
#include "UiTest.h"

namespace tolva::test {
namespace {

const QString kNoOptions = QStringLiteral("Four F1 - Sans option");

QString folder(int id, const char* name, int parent, int previous, const char* vflg = "NULL") {
    return QString::asprintf(
        "INSERT INTO CSNODE (NODEID, NAME, PARENTID, PREVID, VFLG) "
        "VALUES (%d, '%s', %d, %d, %s)",
        id, name, parent, previous, vflg);
}
// The folder example, root 0 with A (5) then B (7), and monitors filed as {node, monId}.
QStringList rootAB(std::initializer_list<std::pair<int, int>> filed) {
    QStringList sql = {folder(0, "Racine", 0, 0), folder(5, "A", 0, 0), folder(7, "B", 0, 5)};
    for (const auto& [node, monId] : filed)
        sql << QString::asprintf("INSERT INTO CSMINN (NODEID, MONID) VALUES (%d, %d)", node, monId);
    return sql;
}

class MonitorPickerTest : public UiTest {
protected:
    void SetUp() override {
        UiTest::SetUp();
        // Folder tables of each test's own; monitor 190's profile has no chart.
        TestDatabase::execAll(
            {"DELETE FROM CSMINN", "DELETE FROM CSNODE",
             "INSERT INTO CSPROF (PROFID, NAME, PROFFLG) VALUES (90, 'Sans caractéristique', 16)",
             QStringLiteral(
                 "INSERT INTO CSMON (MONID, NAME, MTYPE, PROFID) VALUES (190, '%1', 'SPC', 90)")
                 .arg(kNoOptions)});
        appState().gDsn = TestDatabase::dsn();
        appState().gConnStr = TestDatabase::connectionString();
        ASSERT_TRUE(LoadMonitorList());
    }
    static QTreeWidget* tree(frmMonitor& p) { return p.findChild<QTreeWidget*>("TreeView1"); }
    static bool isMonitor(const QTreeWidgetItem* item) {
        return item->data(0, frmMonitor::ImageKeyRole) == QLatin1String("Monitor");
    }
    // "Folder{child,child}", a monitor as "#MonId" of its gMonitors entry.
    static QString render(const QTreeWidgetItem* item) {
        if (isMonitor(item)) {
            const int index = item->data(0, frmMonitor::MonitorIndexRole).toInt();
            EXPECT_EQ(item->text(0), appState().gMonitors.value(index).Name);
            return u'#' + QString::number(appState().gMonitors.value(index).MonId);
        }
        QStringList children;
        for (int i = 0; i < item->childCount(); ++i)
            children << render(item->child(i));
        return item->text(0) + u'{' + children.join(u',') + u'}';
    }
    // A double click on the (first) item of the monitor.
    static void doubleClick(frmMonitor& picker, qint32 monId) {
        const auto items =
            tree(picker)->findItems(appState().gMonitors.value(monitorIndex(monId)).Name,
                                    Qt::MatchExactly | Qt::MatchRecursive);
        ASSERT_FALSE(items.isEmpty());
        const QPoint at = tree(picker)->visualItemRect(items[0]).center();
        QTest::mouseClick(tree(picker)->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseDClick(tree(picker)->viewport(), Qt::LeftButton, {}, at);
    }
};

TEST_F(MonitorPickerTest, TreeShowsTheFoldersHoldingMonitorsAndTheRememberedOne) {
    // Monitor 101 is remembered, and selected where it is placed last.
    appState().gLastMonitors = {DsnMonitor{}, DsnMonitor{TestDatabase::dsn(), 101}};
    const struct {
        QStringList sql;
        const char* tree;
        const char* selectedIn;
    } cases[] = {
        // A deleted folder (9) and a folder without monitors (A) are left out.
        {rootAB({{7, 101}, {9, 103}}) << folder(9, "Archives", 0, 7, "1"), "{Racine{B{#101}}}",
         "B"},
        {rootAB({{7, 101}, {5, 102}}), "{Racine{A{#102},B{#101}}}", "B"},
        // B's item is placed before A's monitors.
        {rootAB({{7, 101}, {5, 102}, {5, 101}}), "{Racine{A{#102,#101},B{#101}}}", "A"},
        // Without a key on the node number a folder can be listed twice: under
        // itself, and again at the end of its parent's chain.
        {QStringList{"DROP TABLE CSNODE",
                     "CREATE TABLE CSNODE (NODEID INTEGER, NAME VARCHAR(64), PARENTID INTEGER, "
                     "PREVID INTEGER, VFLG INTEGER)"}
             << rootAB({{5, 101}, {7, 102}, {9, 103}}) << folder(5, "A encore", 5, 0)
             << folder(5, "A en fin", 0, 7) << folder(9, "C", 7, 0) << folder(7, "B sous C", 9, 0),
         "{Racine{A{#101},B{C{#103},#102}}}", "A"},
    };
    for (const auto& c : cases) {
        TestDatabase::execAll(QStringList{"DELETE FROM CSMINN", "DELETE FROM CSNODE"} + c.sql);
        sqlCounters().recent.clear();
        const auto before = sqlCounters();
        sqlCounters().recording = true;
        frmMonitor picker;
        sqlCounters().recording = false;
        EXPECT_EQ(render(tree(picker)->invisibleRootItem()), c.tree);
        QStringList selectedIn;
        for (const QTreeWidgetItem* item : tree(picker)->selectedItems())
            selectedIn << item->parent()->text(0);
        EXPECT_EQ(selectedIn, QStringList{c.selectedIn});
        // Both tables read once, live folders only, on one connection closed after.
        EXPECT_EQ(
            sqlCounters().recent,
            QVector<QString>({"SELECT * FROM CSMINN", "SELECT * FROM CSNODE WHERE VFLG IS NULL"}));
        EXPECT_EQ(sqlCounters().connectionsOpened - before.connectionsOpened, 1);
        EXPECT_EQ(sqlCounters().connectionsClosed - before.connectionsClosed, 1);
    }
    EXPECT_TRUE(ui.shown.isEmpty());
    EXPECT_FALSE(ui.busy);
}

TEST_F(MonitorPickerTest, ChoosingAMonitorOrNone) {
    TestDatabase::execAll(rootAB({{5, 190}, {5, 101}}));
    SharedState& s = appState();
    s.gMonitorIndex = monitorIndex(102);  // the monitor open before
    {
        frmMonitor picker;
        showActive(&picker);
        // A monitor without options is reported under its name and not taken.
        doubleClick(picker, 190);
        EXPECT_EQ(lastMessage(), message(catalogText(132), kNoOptions, UiPort::Icon::Information));
        EXPECT_TRUE(picker.isVisible());
        EXPECT_EQ(s.gMonitorIndex, monitorIndex(102));
        doubleClick(picker, 101);
        EXPECT_EQ(picker.result(), QDialog::Accepted);
    }
    EXPECT_EQ(ui.shown.size(), 1);
    EXPECT_TRUE(s.gMonitorChosen);
    EXPECT_EQ(s.gMonitorIndex, monitorIndex(101));
    EXPECT_FALSE(s.gOptionRows.isEmpty());
    EXPECT_TRUE(std::any_of(s.gLastMonitors.begin(), s.gLastMonitors.end(), [](const auto& m) {
        return m.Dsn == TestDatabase::dsn() && m.MonId == 101;
    }));
    // Escape and the close box end without a choice, whatever the last one was.
    for (const bool escape : {true, false}) {
        frmMonitor picker;
        showActive(&picker);
        if (escape)
            QTest::keyClick(tree(picker), Qt::Key_Escape);
        else
            picker.close();
        EXPECT_EQ(picker.result(), QDialog::Rejected);
        EXPECT_FALSE(s.gMonitorChosen);
        EXPECT_EQ(s.gMonitorIndex, monitorIndex(101));
    }
}

TEST_F(MonitorPickerTest, UnreadableFolderTablesAreReported) {
    TestDatabase::execAll(rootAB({{5, 101}}) << "UPDATE CSNODE SET VFLG = 1");
    QString reason = catalogText(130);  // no live folder at all
    for (int round = 0; round < 2; ++round) {
        ui.shown.clear();
        frmMonitor picker;
        EXPECT_EQ(ui.shown.size(), 1);
        EXPECT_EQ(lastMessage(), message(catalogText(131) + kBreaks + reason, catalogText(128),
                                         UiPort::Icon::Critical));
        EXPECT_EQ(tree(picker)->topLevelItemCount(), 0);
        EXPECT_FALSE(ui.busy);
        // Then a table that cannot be read: the database's own text follows.
        TestDatabase::exec(QStringLiteral("DROP TABLE IF EXISTS CSMINN"));
        reason = dbError(TestDatabase::connectionString(), QStringLiteral("SELECT * FROM CSMINN"));
        ASSERT_NE(reason, QString());
    }
}

}  // namespace
}  // namespace tolva::test
