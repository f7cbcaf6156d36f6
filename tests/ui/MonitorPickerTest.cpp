// The monitor picker: the folder tree, the remembered monitor, the choice and
// what goes wrong on the way.
#include "UiTest.h"

namespace tolva::test {

// The folder example, root 0 with A (5) then ØB (7) (a name some driver
// miscounts), and monitors filed as {node, monId}.
static QStringList rootAB(std::initializer_list<std::pair<int, int>> filed) {
    QStringList sql = {"DELETE FROM CSMINN", "DELETE FROM CSNODE",
                       "INSERT INTO CSNODE (NODEID, NAME, PARENTID, PREVID) VALUES (0, 'Racine', "
                       "0, 0), (5, 'A', 0, 0), (7, 'ØB', 0, 5)"};
    for (const auto& [node, monId] : filed)
        sql << QString::asprintf("INSERT INTO CSMINN (NODEID, MONID) VALUES (%d, %d)", node, monId);
    return sql;
}

class MonitorPickerTest : public UiTest {
protected:
    void SetUp() override {
        UiTest::SetUp();
        appState().gDsn = TestDatabase::dsn();
        appState().gConnStr = TestDatabase::connectionString();
        ASSERT_TRUE(LoadMonitorList(appState()).ok());
    }
    static QTreeWidget* tree(frmMonitor& p) { return p.findChild<QTreeWidget*>("TreeView1"); }
    // "Folder{child,child}", a monitor as "#MonId" of its gMonitors entry;
    // items the filter hides are left out, a collapsed folder is marked "+".
    static QString render(const QTreeWidgetItem* item) {
        if (item->data(0, frmMonitor::ImageKeyRole) == QLatin1String("Monitor")) {
            const int index = item->data(0, frmMonitor::MonitorIndexRole).toInt();
            return u'#' + QString::number(appState().gMonitors.value(index).MonId);
        }
        QStringList children;
        for (int i = 0; i < item->childCount(); ++i)
            if (!item->child(i)->isHidden())
                children << render(item->child(i));
        const bool collapsed = item->parent() && !item->isExpanded();
        return item->text(0) + (collapsed ? "+{" : "{") + children.join(u',') + u'}';
    }
};

// Whether the window takes a choice is the window's test; here the picker shows
// the tree, selects the remembered monitor and ends without one on Escape.
TEST_F(MonitorPickerTest, ShowsTheTreeAtTheRememberedMonitorAndEscapeChoosesNone) {
    // A before B; B's item is placed before A's monitors, so the remembered
    // monitor is selected in A, where it is placed last.
    TestDatabase::execAll(rootAB({{7, 101}, {5, 113}, {5, 101}}));
    SharedState& s = appState();
    s.gLastMonitors = {DsnMonitor{}, DsnMonitor{TestDatabase::dsn(), 101}};
    s.gMonitorIndex = monitorIndex(102);  // the monitor open before
    frmMonitor picker(appState());
    showActive(&picker);
    EXPECT_EQ(render(tree(picker)->invisibleRootItem()), "{Racine{A{#113,#101},ØB{#101}}}");
    ASSERT_EQ(tree(picker)->selectedItems().size(), 1);
    EXPECT_EQ(tree(picker)->selectedItems().first()->parent()->text(0), "A");
    EXPECT_FALSE(ui.busy);
    // Escape in the empty search field ends without a choice.
    QTest::keyClick(picker.findChild<QLineEdit*>("txtFilter"), Qt::Key_Escape);
    EXPECT_FALSE(picker.isVisible());
    EXPECT_EQ(picker.result(), QDialog::Rejected);
    EXPECT_FALSE(s.gMonitorChosen);
    EXPECT_EQ(s.gMonitorIndex, monitorIndex(102));
}

// No live folder, or folder tables that cannot be read: the reason, after the pointer.
TEST_F(MonitorPickerTest, FolderFailuresAreReported) {
    ui.onMessage = [this](const FakeUiPort::Shown&) { EXPECT_FALSE(ui.busy) << "pointer first"; };
    const QString head = catalogText(131) + "\r\n\r\n";
    TestDatabase::execAll(rootAB({{5, 101}}) << "UPDATE CSNODE SET VFLG = 1");
    {
        frmMonitor picker(appState());
        EXPECT_EQ(ui.shown.size(), 1);
        EXPECT_EQ(lastMessage(),
                  message(head + catalogText(130), catalogText(128), UiPort::Icon::Critical));
        EXPECT_EQ(tree(picker)->topLevelItemCount(), 0);
    }
    TestDatabase::exec("DROP TABLE CSMINN");
    frmMonitor picker(appState());
    const QString why = lastMessage().value(0);
    EXPECT_TRUE(why.startsWith(head) && why.contains("csminn", Qt::CaseInsensitive))
        << why.toStdString();
}

TEST_F(MonitorPickerTest, FilterKeepsMatchesInTheirFoldersAndEnterOpensTheOnlyOne) {
    TestDatabase::exec("UPDATE CSMON SET NAME = 'Épaisseur tôle - Longerons' WHERE MONID = 107");
    ASSERT_TRUE(LoadMonitorList(appState()).ok());
    SharedState& s = appState();
    frmMonitor picker(appState());
    showActive(&picker);
    auto* field = picker.findChild<QLineEdit*>("txtFilter");
    auto count = [&] { return picker.findChild<QLabel*>("lblMonitorCount")->text(); };
    EXPECT_EQ(field->placeholderText(), "Rechercher un moniteur…");
    const QString everything = render(tree(picker)->invisibleRootItem()), all = count();
    tree(picker)->topLevelItem(0)->child(1)->setExpanded(false);  // Usine de Nantes
    QTest::keyClick(tree(picker), Qt::Key_F, Qt::ControlModifier);
    ASSERT_EQ(QApplication::focusWidget(), field);

    const struct {
        const char* text;
        const char* tree;
        const char* count;
    } cases[] = {
        {"presse A", "{NOVRAX{Usine de Nantes{Atelier Plasturgie{#104,#110,#113}}}}", "3"},
        {"EPAISSEUR", "{NOVRAX{Usine de Nantes{Atelier Emboutissage{#107}}}}", "1"},
        {"zzz", "{}", "0"},
    };
    for (const auto& c : cases) {
        field->setText(c.text);
        EXPECT_EQ(render(tree(picker)->invisibleRootItem()), c.tree) << c.text;
        EXPECT_EQ(count(), QString(c.count) + " moniteur(s)");
    }
    // Escape clears a text and shows everything again.
    QTest::keyClick(field, Qt::Key_Escape);
    EXPECT_TRUE(picker.isVisible());
    EXPECT_EQ(field->text(), "");
    EXPECT_EQ(count(), all);
    EXPECT_EQ(render(tree(picker)->invisibleRootItem()), everything);
    // With several matches Enter opens nothing; Down goes to the first match.
    QTest::keyClicks(field, "presse a");
    QTest::keyClick(field, Qt::Key_Return);
    EXPECT_TRUE(picker.isVisible());
    QTest::keyClick(field, Qt::Key_Down);
    EXPECT_EQ(QApplication::focusWidget(), tree(picker));
    EXPECT_EQ(render(tree(picker)->currentItem()), "#104");
    EXPECT_FALSE(s.gMonitorChosen);
    // Enter on the single match loads it.
    field->setFocus();
    field->setText("epaisseur");
    QTest::keyClick(field, Qt::Key_Return);
    EXPECT_EQ(picker.result(), QDialog::Accepted);
    EXPECT_TRUE(s.gMonitorChosen);
    EXPECT_EQ(s.gMonitorIndex, monitorIndex(107));
}

TEST_F(MonitorPickerTest, OpensWideEnough) {
    TestDatabase::exec("UPDATE CSMON SET NAME = '" + QString(40, u'W') + "' WHERE MONID = 112");
    ASSERT_TRUE(LoadMonitorList(appState()).ok());
    frmMonitor picker(appState());
    showActive(&picker);
    // The longest name and the title are seen whole.
    EXPECT_LE(tree(picker)->header()->sectionSize(0), tree(picker)->viewport()->width());
    EXPECT_GE(picker.width(), picker.fontMetrics().horizontalAdvance(picker.windowTitle()));
}

}  // namespace tolva::test
