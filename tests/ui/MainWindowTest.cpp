// The editor window's frame and its option grid: layout, the fill per
// view, widths, regional numbers and the view toggles.
#include "UiTest.h"

namespace tolva::test {
namespace {

class MainWindowTest : public UiTest {
protected:
    // The window on a monitor held in memory.
    void openOnCharts(const QStringList& chartNames, bool queryProfile = false) {
        openWindow();
        useMonitor(chartNames, queryProfile);
        window->FillGrid();
    }
};

TEST_F(MainWindowTest, DefaultViewOfADemoMonitor) {
    openOn(101);
    ASSERT_TRUE(grid()->isVisible());
    EXPECT_EQ(grid()->rows(), 5);
    EXPECT_EQ(rowTexts(0),
              QStringList({"Caractéristique", "SPECS\r\nInférieure", "SPECS\r\nNominal",
                           "SPECS\r\nSupérieure", "Carte\r\nIND/MOY\r\nLCI",
                           "Carte\r\nIND/MOY\r\nLC", "Carte\r\nIND/MOY\r\nLCS"}));
    // Tolerance around the nominal; constant limits with a centre line.
    EXPECT_EQ(rowTexts(rowOf(1001)),
              QStringList({"Diamètre Ø25 h6", "24,95", "25", "25,05", "24,97", "25,001", "25,03"}));
    // Lower and upper limits; limits that are not constants show empty.
    EXPECT_EQ(rowTexts(rowOf(1002)),
              QStringList({"Longueur totale", "119,8", "120", "120,2", "", "", ""}));
    // A specification type stored as null: nothing in the specification cells.
    EXPECT_EQ(rowTexts(rowOf(1004)).mid(1, 3), QStringList({"", "", ""}));
    EXPECT_EQ(at(), QPoint(1, 1));
    EXPECT_FALSE(ui.busy);
    EXPECT_EQ(panel("StatusBar1Panel1"), "DSN : " + TestDatabase::dsn() + ' ');
    EXPECT_EQ(panel("StatusBar1Panel2"), "Moniteur : Tour CN 1 - Arbre de transmission ");
}

TEST_F(MainWindowTest, QueryProfileShowsTheQueryAsASecondFixedColumn) {
    appState().gShowR = true;
    openOn(105);
    EXPECT_EQ(grid()->columns(), 11);
    EXPECT_EQ(grid()->fixedColumns(), 2);
    EXPECT_EQ(rowTexts(rowOf(1301)).mid(0, 3), QStringList({"Diamètre", "Lot A", "11,9"}));
    EXPECT_EQ(grid()->cellText(rowOf(1302), 10), "0,8");
    EXPECT_EQ(grid()->cellText(0, 1), "Requête");
    EXPECT_EQ(grid()->columnWidth(1), twipsToPixels(7 * 106 + 180));  // "Requête" is the longest
    EXPECT_EQ(at(), QPoint(1, 2));

    useMonitor({"[Lot A][Diamètre]", "Longueur", "][Masse]", "[Lot C][", "[Lot D][Dureté][HRC]"},
               true);
    QStringList characteristics, queries;
    frmMain::SplitChartNames(characteristics, queries);
    EXPECT_EQ(characteristics, QStringList({"Diamètre", "Longueur", "Masse", "", "Duret"}));
    EXPECT_EQ(queries, QStringList({"Lot A", "", "", "Lot C", "Lot D"}));
    // Without a query profile the name is split all the same and the query not shown.
    useMonitor({"[Lot A][Diamètre]"}, false);
    window->FillGrid();
    EXPECT_EQ(grid()->fixedColumns(), 1);
    EXPECT_EQ(rowTexts(1).mid(0, 2), QStringList({"Diamètre", ""}));
}

TEST_F(MainWindowTest, ColumnWidthsRegionalNumbersAndRefill) {
    appState().gShowR = true;
    openWindow();
    useMonitor({"Masse"});
    OptionRow& row = appState().gOptionRows[0];
    row.SpecNominal.setBoth(TaggedValue::number(0.5));
    row.SpecUpper.setBoth(TaggedValue::text("à définir"));
    row.XCl.setBoth(TaggedValue::number(-1250000.125));
    const SharedState& s = appState();
    window->FillGrid();
    // "Caractéristique", "SPECS\r\nSupérieure", "IND/MOY" and "MR/R/S" set the widths.
    EXPECT_EQ(QVector<int>({grid()->columnWidth(0), grid()->columnWidth(s.gColSpecUpper),
                            grid()->columnWidth(s.gColXUcl), grid()->columnWidth(s.gColRUcl)}),
              QVector<int>({twipsToPixels(1770), twipsToPixels(1240), twipsToPixels(7 * 106 + 180),
                            twipsToPixels(900)}));
    EXPECT_EQ(rowTexts(1).mid(1, 5), QStringList({"", "0,5", "à définir", "", "-1250000,125"}));
    QLocale::setDefault(english());
    window->FillGrid();
    EXPECT_EQ(rowTexts(1).mid(1, 5), QStringList({"", "0.5", "à définir", "", "-1250000.125"}));

    // A long chart name widens the first column; a refill starts from empty cells.
    useMonitor({"Masse", QString(40, u'x'), "Angle"});
    window->FillGrid();
    EXPECT_EQ(grid()->columnWidth(0), twipsToPixels(4420));
    EXPECT_EQ(grid()->rows(), 4);
    EXPECT_EQ(rowTexts(1).mid(0, 3), QStringList({"Masse", "", ""}));
}

TEST_F(MainWindowTest, ViewTogglesAddAndRemoveGroups) {
    openOnCharts({"Masse", "Retrait"});
    const SharedState& s = appState();
    const QStringList before = rowTexts(0);
    EXPECT_EQ(QStringList({imageOf("PC"), imageOf("IND"), imageOf("MR")}),
              QStringList({"PC", "X", "noR"}));
    EXPECT_FALSE(action("mnuR")->isChecked());
    window->toggleR();
    EXPECT_TRUE(s.gShowR);
    EXPECT_EQ(rowTexts(0), before + QStringList({s.gCapRLcl, s.gCapRCl, s.gCapRUcl}));
    EXPECT_EQ(imageOf("MR"), "R");
    EXPECT_TRUE(action("mnuR")->isChecked());
    // The menu entry (by its shortcut) and the toolbar button run the same toggle.
    press(Qt::Key_P, Qt::ControlModifier);
    EXPECT_FALSE(s.gShowProc || action("mnuProc")->isChecked());
    EXPECT_EQ(imageOf("PC"), "noPC");
    EXPECT_EQ(rowTexts(0).mid(0, 2), QStringList({"Caractéristique", s.gCapXLcl}));
    QTest::mouseClick(window->findChild<QToolBar*>("Toolbar1")->widgetForAction(action("IND")),
                      Qt::LeftButton);
    EXPECT_EQ(imageOf("IND"), "noX");
    EXPECT_EQ(grid()->columns(), 4);

    // All groups off: the grid hides, the title shows in the middle of the
    // client area, and the status bar still names what the grid showed last.
    const QStringList panels = {panel("StatusBar1Panel1"), panel("StatusBar1Panel2")};
    appState().gDsn = QStringLiteral("Autre");
    window->toggleR();
    EXPECT_FALSE(grid()->isVisible());
    EXPECT_EQ(s.gColCount, 1);
    EXPECT_EQ(QStringList({panel("StatusBar1Panel1"), panel("StatusBar1Panel2")}), panels);
    EXPECT_TRUE(window->findChild<QLabel*>("Label1")->isVisible());
    // One group back: the grid returns, filled again.
    press(Qt::Key_I, Qt::ControlModifier);
    EXPECT_TRUE(grid()->isVisible());
    EXPECT_EQ(grid()->columns(), 4);
}

TEST_F(MainWindowTest, TogglesKeepUnsavedValuesAndWaitForANumber) {
    openOnCharts({"Masse", "Retrait"});
    enterValue(2, appState().gColSpecNominal, "7");
    window->toggleProc();
    EXPECT_EQ(appState().gColSpecNominal, -1);
    window->toggleProc();
    EXPECT_EQ(grid()->cellText(2, appState().gColSpecNominal), "7");
    EXPECT_TRUE(window->m_changed && action("Save")->isEnabled());
    // With text that is no number in the editor a toggle leaves the view alone.
    goTo(1, 1);
    type("1x");
    action("mnuR")->trigger();
    EXPECT_FALSE(appState().gShowR || action("mnuR")->isChecked());
    EXPECT_EQ(imageOf("MR"), "noR");
    EXPECT_EQ(grid()->columns(), 7);
    EXPECT_EQ(editText(), "1x");
    EXPECT_EQ(shown(141), 1);
}

TEST_F(MainWindowTest, OpeningSizeGridFillingTheClientAreaAndMinimumSize) {
    openOnCharts({"Masse"});
    EXPECT_EQ(window->width(), twipsToPixels(9375));
    EXPECT_EQ(window->height() - window->menuWidget()->height(), twipsToPixels(5865));
    for (const QSize size : {QSize(900, 700), QSize(40, 30)}) {
        window->resize(size);
        QApplication::processEvents();
        EXPECT_EQ(grid()->geometry(), window->centralWidget()->rect());
        EXPECT_EQ(window->centralWidget()->geometry().bottom() + 1,
                  window->statusBar()->geometry().top());
    }
    EXPECT_EQ(window->frameGeometry().size(), QSize(twipsToPixels(3200), twipsToPixels(2565)));
    // Narrower only: the height the user chose stays.
    window->resize(500, 400);
    window->resize(10, 400);
    QApplication::processEvents();
    EXPECT_EQ(window->frameGeometry().width(), twipsToPixels(3200));
    EXPECT_EQ(window->height(), 400);
}

// The grid control on its own: value columns 2-9 behind two fixed columns.
TEST(OptionGridTest, ValueCellsScrollClearOfTheFixedColumnsThatFollowTheirRows) {
    OptionGrid grid;
    grid.setGridSize(4, 10, 2);
    for (int c = 0; c < 10; ++c)
        grid.setColumnWidthTwips(c, 1500);
    grid.resize(420, 240);
    grid.show();
    grid.setCurrentGridCell(1, 9);
    ASSERT_GT(grid.horizontalScrollBar()->value(), 0);
    EXPECT_EQ(grid.cellRect(1, 0).left(), grid.frameWidth());
    grid.setCurrentGridCell(1, 3);
    EXPECT_GE(grid.cellRect(1, 3).left(), grid.cellRect(1, 1).right());
    EXPECT_EQ(grid.cellRect(0, 3).left(), grid.cellRect(1, 3).left());
    grid.setGridSize(41, 10, 2);
    grid.setCurrentGridCell(40, 3);
    ASSERT_GT(grid.verticalScrollBar()->value(), 0);
    EXPECT_EQ(grid.cellRect(40, 0).top(), grid.cellRect(40, 3).top());
}

}  // namespace
}  // namespace tolva::test
