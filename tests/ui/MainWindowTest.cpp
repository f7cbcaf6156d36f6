// The editor window's option grid: the fill per view, widths, regional numbers
// and the view toggles.
#include "UiTest.h"

namespace tolva::test {

using MainWindowTest = UiTest;

TEST_F(MainWindowTest, DefaultViewAndChartNamesWithoutQueryProfile) {
    openOn(101);
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
    EXPECT_EQ(panel("StatusBar1Panel1"), "DSN : " + TestDatabase::dsn() + ' ');
    // Every menu and entry has its caption from the catalog.
    for (QAction* menu : window->menuBar()->actions()) {
        const QList<QAction*> entries = menu->menu()->actions() << menu;
        for (const QAction* entry : entries)
            EXPECT_TRUE(entry->isSeparator() || entry->text().size() > 1)
                << entry->objectName().toStdString();
    }
}

TEST_F(MainWindowTest, ColumnWidthsAndLongNames) {
    appState().gShowR = true;
    openOnCharts({"Masse"});
    const ColumnLayout& cols = window->columnLayout();
    // A long chart name widens the first column; a refill starts from empty cells.
    window->resize(twipsToPixels(4420) * 3, 400);
    openOnCharts({"Masse", QString(40, u'x')});
    EXPECT_EQ(grid()->columnWidth(0), twipsToPixels(4420));
    EXPECT_EQ(rowTexts(1).mid(0, 7), QStringList({"Masse", "", "", "", "", "", ""}));
    // A name too long for the grid leaves room for the values, and shows whole
    // in the tool tip of its elided cell.
    const QString huge(10000, u'x');
    openOnCharts({"Masse", huge});
    EXPECT_LE(grid()->columnWidth(0), grid()->width() * 2 / 5);
    EXPECT_TRUE(grid()->viewport()->rect().contains(grid()->cellRect(2, cols.gColXUcl).center()));
    auto* fixedView = grid()->findChild<QTableView*>("grdDataFixedColumns");
    const QRect nameCell = fixedView->visualRect(grid()->gridIndex(2, 0));
    QHelpEvent tip(QEvent::ToolTip, nameCell.center(),
                   fixedView->viewport()->mapToGlobal(nameCell.center()));
    QApplication::sendEvent(fixedView->viewport(), &tip);
    EXPECT_EQ(QToolTip::text(), huge);
}

TEST_F(MainWindowTest, HeadingMarksFollowTheCurrentCell) {
    openOn(105);  // a query profile: the query cells are marked with the names
    const QColor mark = QApplication::palette().color(QPalette::Dark);
    auto marked = [&] {
        QStringList cells;
        for (int r = 0; r < grid()->rows(); ++r) {
            for (int c = 0; c < grid()->columns(); ++c) {
                if (grid()->cellBackground(r, c) == mark)
                    cells << QStringLiteral("%1,%2").arg(r).arg(c);
            }
        }
        return cells;
    };
    EXPECT_EQ(marked(), QStringList({"0,2", "1,0", "1,1"}));
    press(Qt::Key_Down);
    press(Qt::Key_Right);
    EXPECT_EQ(marked(), QStringList({"0,3", "2,0", "2,1"}));
    // A refill clears the colours and marks the first value cell again.
    window->toggleX();
    EXPECT_EQ(marked(), QStringList({"0,2", "1,0", "1,1"}));
}

TEST_F(MainWindowTest, ViewTogglesAddAndRemoveGroupsAndKeepUnsavedValues) {
    openOnCharts({"Masse", "Retrait"});
    const ColumnLayout& cols = window->columnLayout();
    enterValue(2, cols.gColSpecNominal, "7");
    const QStringList before = rowTexts(0);
    EXPECT_FALSE(action("mnuR")->isChecked());
    window->toggleR();
    EXPECT_EQ(rowTexts(0).mid(before.size()).join('|'),
              "Carte\r\nMR/R/S\r\nLCI|Carte\r\nMR/R/S\r\nLC|Carte\r\nMR/R/S\r\nLCS");
    EXPECT_EQ(imageOf("MR"), "R");
    EXPECT_TRUE(appState().gShowR && action("mnuR")->isChecked());
    // The menu entries, by their shortcuts, run the same toggles.
    press(Qt::Key_P, Qt::ControlModifier);
    EXPECT_EQ(imageOf("PC"), "noPC");
    press(Qt::Key_I, Qt::ControlModifier);
    EXPECT_EQ(imageOf("IND"), "noX");

    // All groups off: the grid hides, the title shows in the middle of the
    // client area, and the status bar still names what the grid showed last.
    const QStringList panels = {panel("StatusBar1Panel1"), panel("StatusBar1Panel2")};
    appState().gDsn = QStringLiteral("Autre");
    window->toggleR();
    EXPECT_FALSE(grid()->isVisible());
    EXPECT_TRUE(window->findChild<QLabel*>("Label1")->isVisible());
    EXPECT_EQ(QStringList({panel("StatusBar1Panel1"), panel("StatusBar1Panel2")}), panels);
    press(Qt::Key_P, Qt::ControlModifier);
    EXPECT_TRUE(grid()->isVisible());
    EXPECT_EQ(grid()->columns(), 4);
    EXPECT_EQ(grid()->cellText(2, cols.gColSpecNominal), "7");
    EXPECT_TRUE(window->hasUnsavedChanges() && action("Save")->isEnabled());
}

}  // namespace tolva::test
