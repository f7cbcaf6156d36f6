// The frame around the grid: menus, toolbar, title, layout, minimum size and
// the view toggles.
#include <QApplication>
#include <QLineEdit>
#include <QMenuBar>
#include <QStatusBar>
#include <QTest>

#include "MainWindowTest.h"
#include "app/Catalog.h"
#include "app/ui/Twips.h"

namespace tolva::test {
namespace {

using MainWindowFrameTest = MainWindowTest;

TEST_F(MainWindowFrameTest, MenusAndToolbarCarryTheirTextsShortcutsAndKeys) {
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Editeur TOLVA"));
    // The client area below the menu bar opens at 9375 x 5865 twips.
    EXPECT_EQ(window->width(), twipsToPixels(9375));
    EXPECT_EQ(window->height() - window->menuWidget()->height(), twipsToPixels(5865));

    QStringList keys;
    for (QAction* a : window->findChild<QToolBar*>(QStringLiteral("Toolbar1"))->actions())
        keys << (a->isSeparator() ? QStringLiteral("|") : a->objectName());
    EXPECT_EQ(keys, (QStringList{"DSN", "Monitor", "|", "Save", "|", "PC", "IND", "MR"}));
    EXPECT_EQ(action("IND")->toolTip(), catalogText(166));
    EXPECT_EQ(action("MR")->toolTip(), catalogText(167));

    const struct {
        const char* entry;
        int caption;
        const char* shortcut;
    } entries[] = {{"mnuDSN", 143, "Ctrl+D"},    {"mnuMonitor", 144, "Ctrl+M"},
                   {"mnuCommit", 145, "Ctrl+S"}, {"mnuExit", 146, "Ctrl+X"},
                   {"mnuProc", 148, "Ctrl+P"},   {"mnuX", 149, "Ctrl+I"},
                   {"mnuR", 150, "Ctrl+R"}};
    for (const auto& e : entries) {
        EXPECT_EQ(action(e.entry)->text(), catalogText(e.caption)) << e.entry;
        EXPECT_EQ(action(e.entry)->shortcut(), QKeySequence(QLatin1String(e.shortcut))) << e.entry;
    }
    QStringList titles;
    for (QAction* a : window->menuBar()->actions())
        titles << a->text();
    EXPECT_EQ(titles, (QStringList{catalogText(142), catalogText(147)}));

    // Nothing to save yet; the menu entry is as built until the first load.
    EXPECT_FALSE(action("Save")->isEnabled());
    EXPECT_TRUE(action("mnuCommit")->isEnabled());
    window->m_changed = true;
    window->beginOptionLoad();
    EXPECT_FALSE(action("mnuCommit")->isEnabled());
    EXPECT_FALSE(window->m_changed);
}

TEST_F(MainWindowFrameTest, ToggleROnTheDefaultViewAddsTheRangeColumnsAtTheRight) {
    useMonitor({QStringLiteral("Masse"), QStringLiteral("Retrait")});
    window->FillGrid();
    ASSERT_EQ(grid()->columns(), 7);
    EXPECT_EQ(imageOf("MR"), QStringLiteral("noR"));
    EXPECT_FALSE(action("mnuR")->isChecked());
    const QStringList before = headings();

    window->toggleR();
    EXPECT_TRUE(appState().gShowR);
    EXPECT_EQ(grid()->columns(), 10);
    const SharedState& s = appState();
    EXPECT_EQ(headings(), before + QStringList({s.gCapRLcl, s.gCapRCl, s.gCapRUcl}));
    EXPECT_EQ(imageOf("MR"), QStringLiteral("R"));
    EXPECT_TRUE(action("mnuR")->isChecked());
    EXPECT_EQ(imageOf("PC"), QStringLiteral("PC"));
    EXPECT_EQ(imageOf("IND"), QStringLiteral("X"));

    // The menu entry and the toolbar button run the same toggle.
    action("mnuProc")->trigger();
    EXPECT_FALSE(appState().gShowProc);
    EXPECT_FALSE(action("mnuProc")->isChecked());
    EXPECT_EQ(imageOf("PC"), QStringLiteral("noPC"));
    EXPECT_EQ(grid()->columns(), 7);
    EXPECT_EQ(grid()->cellText(0, 1), s.gCapXLcl);
}

TEST_F(MainWindowFrameTest, AllGroupsOffHidesTheGridAndShowsTheCentredTitle) {
    useMonitor({QStringLiteral("Masse")});
    window->FillGrid();
    const QString dsnPanel = label("StatusBar1Panel1")->text();
    const QString monitorPanel = label("StatusBar1Panel2")->text();

    window->toggleProc();
    ASSERT_TRUE(grid()->isVisible());
    appState().gDsn = QStringLiteral("Autre");
    window->toggleX();
    EXPECT_FALSE(grid()->isVisible());
    EXPECT_EQ(appState().gColCount, 1);
    EXPECT_EQ(imageOf("IND"), QStringLiteral("noX"));
    // The status bar still names what the grid showed last.
    EXPECT_EQ(label("StatusBar1Panel1")->text(), dsnPanel);
    EXPECT_EQ(label("StatusBar1Panel2")->text(), monitorPanel);

    // The title sits in the middle of the client area, its shadow 45 twips off.
    QLabel* title = label("Label1");
    QLabel* shadow = label("Label2");
    title->setText(QStringLiteral("NOVRAX\nEditeur TOLVA"));
    shadow->setText(title->text());
    window->resize(window->size() + QSize(40, 20));
    QApplication::processEvents();
    ASSERT_TRUE(title->isVisible());
    const QRect client(window->menuWidget()->geometry().bottomLeft() + QPoint(0, 1),
                       window->rect().bottomRight());
    const QPoint centre = title->mapTo(window.get(), title->rect().center());
    EXPECT_LE(std::abs(centre.x() - client.center().x()), 1);
    EXPECT_LE(std::abs(centre.y() - client.center().y()), 1);
    const int offset = twipsToPixels(45);
    EXPECT_EQ(shadow->pos(), title->pos() + QPoint(offset, offset));
    EXPECT_EQ(shadow->size(), title->size());

    // One group back: the grid returns, filled again.
    window->toggleX();
    EXPECT_TRUE(grid()->isVisible());
    EXPECT_EQ(grid()->columns(), 4);
}

TEST_F(MainWindowFrameTest, GridFillsTheClientAreaAndTheWindowKeepsItsMinimumSize) {
    useMonitor({QStringLiteral("Masse")});
    window->FillGrid();
    QWidget* client = window->centralWidget();
    window->resize(900, 700);
    QApplication::processEvents();
    EXPECT_EQ(grid()->geometry(), client->rect());
    EXPECT_EQ(client->geometry().top(),
              window->findChild<QToolBar*>(QStringLiteral("Toolbar1"))->geometry().bottom() + 1);
    EXPECT_EQ(client->geometry().bottom() + 1, window->statusBar()->geometry().top());

    window->resize(40, 30);
    QApplication::processEvents();
    EXPECT_EQ(window->frameGeometry().width(), twipsToPixels(3200));
    EXPECT_EQ(window->frameGeometry().height(), twipsToPixels(2565));
    EXPECT_EQ(grid()->geometry(), client->rect());

    // Narrower only: the height the user chose stays.
    window->resize(500, 400);
    window->resize(10, 400);
    QApplication::processEvents();
    EXPECT_EQ(window->frameGeometry().width(), twipsToPixels(3200));
    EXPECT_EQ(window->height(), 400);
}

TEST_F(MainWindowFrameTest, ToggledGroupsKeepTheValuesNotYetSaved) {
    useMonitor({QStringLiteral("Masse"), QStringLiteral("Retrait")});
    window->FillGrid();
    const int col = appState().gColSpecNominal;
    grid()->setCurrentGridCell(2, col);
    grid()->setFocus();
    QTest::keyClicks(grid(), QStringLiteral("7"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    ASSERT_TRUE(window->m_changed);
    ASSERT_EQ(grid()->cellText(2, col), QStringLiteral("7"));

    window->toggleProc();
    EXPECT_EQ(appState().gColSpecNominal, -1);
    window->toggleProc();
    EXPECT_EQ(grid()->cellText(2, appState().gColSpecNominal), QStringLiteral("7"));
    EXPECT_TRUE(window->m_changed);
    EXPECT_TRUE(action("Save")->isEnabled());
}

TEST_F(MainWindowFrameTest, ToggleWithTextThatIsNoNumberLeavesTheViewAlone) {
    useMonitor({QStringLiteral("Masse")});
    window->FillGrid();
    auto* editor = window->findChild<QLineEdit*>(QStringLiteral("txtGrd"));
    grid()->setFocus();
    QTest::keyClicks(grid(), QStringLiteral("1"));
    ASSERT_TRUE(editor->isVisible());
    QTest::keyClicks(editor, QStringLiteral("x"));

    action("mnuR")->trigger();
    EXPECT_FALSE(appState().gShowR);
    EXPECT_FALSE(action("mnuR")->isChecked());
    EXPECT_EQ(imageOf("MR"), QStringLiteral("noR"));
    EXPECT_EQ(grid()->columns(), 7);
    EXPECT_TRUE(editor->isVisible());
    EXPECT_EQ(editor->text(), QStringLiteral("1x"));
    ASSERT_EQ(ui.shown.size(), 1);
    EXPECT_EQ(ui.shown[0].text, catalogText(141));

    // The save walk brings a hidden group into view through the same toggle.
    editor->setText(QStringLiteral("1"));
    window->revealGroup(OptionGroup::R);
    EXPECT_TRUE(appState().gShowR);
    EXPECT_EQ(grid()->columns(), 10);
}

}  // namespace
}  // namespace tolva::test
