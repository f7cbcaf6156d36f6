// The grid control on its own: fixed columns out of reach, the current cell
// and its signal, keys, scrolling past the fixed columns, heading cells.
#include <gtest/gtest.h>
#include <QApplication>
#include <QHeaderView>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <QWheelEvent>

#include "MainWindowTest.h"
#include "app/ui/Twips.h"
#include "editor/OptionGrid.h"

namespace tolva::test {
namespace {

class OptionGridControlTest : public ::testing::Test {
protected:
    // Rows 1-3 and value columns 2-9 behind two fixed columns.
    void SetUp() override {
        grid.setGridSize(4, 10, 2);
        for (int c = 0; c < 10; ++c)
            grid.setColumnWidthTwips(c, 1500);
        for (int r = 1; r < 4; ++r)
            grid.setCellText(r, 0, QStringLiteral("Cote %1").arg(r));
        grid.resize(420, 240);
        grid.show();
        QApplication::processEvents();
    }
    // Left click at the centre of a cell, sent to whatever is drawn there.
    void clickCell(int row, int col) {
        const QPoint at = grid.cellRect(row, col).center();
        QWidget* target = grid.childAt(at);
        ASSERT_NE(target, nullptr);
        QTest::mouseClick(target, Qt::LeftButton, Qt::NoModifier, target->mapFrom(&grid, at));
    }
    QPoint current() const { return {grid.currentGridRow(), grid.currentGridColumn()}; }

    OptionGrid grid;
};

TEST_F(OptionGridControlTest, FixedCellsAndTheHeadingRowCannotBecomeCurrent) {
    grid.setCurrentGridCell(0, 0);
    EXPECT_EQ(current(), QPoint(1, 2));
    grid.setCurrentGridCell(3, 1);
    EXPECT_EQ(current(), QPoint(3, 2));

    grid.setFocus();
    QTest::keyClick(&grid, Qt::Key_Left);
    EXPECT_EQ(current(), QPoint(3, 2));
    grid.setCurrentGridCell(2, 6);
    QTest::keyClick(&grid, Qt::Key_Home);
    EXPECT_EQ(current(), QPoint(2, 2));

    QSignalSpy clicks(&grid, &OptionGrid::gridClicked);
    clickCell(3, 0);
    clickCell(0, 3);
    EXPECT_EQ(current(), QPoint(2, 2));
    EXPECT_EQ(clicks.count(), 2);
    clickCell(3, 3);
    EXPECT_EQ(current(), QPoint(3, 3));
    EXPECT_EQ(clicks.count(), 3);
}

TEST_F(OptionGridControlTest, CellEnteredIsRaisedAtOnceAndOnlyForAMove) {
    QVector<QPoint> seen;
    QObject::connect(&grid, &OptionGrid::cellEntered, [&] { seen << current(); });
    grid.setCurrentGridCell(2, 5);
    ASSERT_EQ(seen.size(), 1);
    EXPECT_EQ(seen[0], QPoint(2, 5));
    grid.setCurrentGridCell(2, 5);
    EXPECT_EQ(seen.size(), 1);

    grid.setFocus();
    QTest::keyClick(&grid, Qt::Key_Down);
    EXPECT_EQ(seen.size(), 2);
    EXPECT_EQ(seen.last(), QPoint(3, 5));

    // A rebuild raises nothing until a cell is made current again.
    grid.clearGrid();
    grid.setGridSize(3, 4, 1);
    EXPECT_EQ(seen.size(), 2);
    grid.setCurrentGridCell(1, 1);
    EXPECT_EQ(seen.size(), 3);
}

TEST_F(OptionGridControlTest, KeysBecomeSignalsAndLettersDoNotJumpToCells) {
    QSignalSpy typed(&grid, &OptionGrid::characterTyped);
    QSignalSpy enter(&grid, &OptionGrid::enterPressed);
    QSignalSpy del(&grid, &OptionGrid::deletePressed);
    grid.setCellText(3, 4, QStringLiteral("abc"));
    grid.setCurrentGridCell(1, 2);
    grid.setFocus();

    QTest::keyClicks(&grid, QStringLiteral("5a,"));
    QTest::keyClick(&grid, Qt::Key_C, Qt::ControlModifier);
    QTest::keyClick(&grid, Qt::Key_Return);
    QTest::keyClick(&grid, Qt::Key_Enter);
    QTest::keyClick(&grid, Qt::Key_Delete);
    ASSERT_EQ(typed.count(), 3);
    EXPECT_EQ(typed[0][0].value<QChar>(), u'5');
    EXPECT_EQ(typed[2][0].value<QChar>(), u',');
    EXPECT_EQ(enter.count(), 2);
    EXPECT_EQ(del.count(), 1);
    EXPECT_EQ(current(), QPoint(1, 2));
    EXPECT_EQ(grid.editTriggers(), QAbstractItemView::NoEditTriggers);
}

TEST_F(OptionGridControlTest, ValueCellsScrollClearOfTheFixedColumns) {
    QSignalSpy scrolled(&grid, &OptionGrid::gridScrolled);
    grid.setCurrentGridCell(1, 9);
    ASSERT_GT(grid.horizontalScrollBar()->value(), 0);
    EXPECT_GE(scrolled.count(), 1);
    // The fixed columns stay where they were.
    EXPECT_EQ(grid.cellRect(1, 0).left(), grid.frameWidth());

    grid.setCurrentGridCell(1, 3);
    const QRect fixed = grid.cellRect(1, 1);
    EXPECT_GE(grid.cellRect(1, 3).left(), fixed.right());
    EXPECT_EQ(grid.cellRect(0, 3).left(), grid.cellRect(1, 3).left());

    // Up and down, the fixed cells move with their row.
    grid.setGridSize(41, 10, 2);
    grid.setCurrentGridCell(40, 3);
    ASSERT_GT(grid.verticalScrollBar()->value(), 0);
    EXPECT_EQ(grid.cellRect(40, 0).top(), grid.cellRect(40, 3).top());
    EXPECT_EQ(grid.cellRect(35, 1).top(), grid.cellRect(35, 5).top());

    // The wheel turned over the fixed cells scrolls the whole grid.
    grid.setCurrentGridCell(1, 3);
    ASSERT_EQ(grid.verticalScrollBar()->value(), 0);
    const QPoint over = grid.cellRect(2, 0).center();
    QWidget* fixedCells = grid.childAt(over);
    ASSERT_NE(fixedCells, nullptr);
    const QPointF local = fixedCells->mapFrom(&grid, over);
    QWheelEvent wheel(local, fixedCells->mapToGlobal(local), QPoint(), QPoint(0, -120),
                      Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(fixedCells, &wheel);
    EXPECT_GT(grid.verticalScrollBar()->value(), 0);
    EXPECT_EQ(grid.cellRect(10, 0).top(), grid.cellRect(10, 4).top());
}

TEST_F(OptionGridControlTest, HeadingCellsKeepTheirTextAndTakeColours) {
    grid.setCellText(0, 3, QStringLiteral("Carte\r\nIND/MOY\r\nLCS"));
    EXPECT_EQ(grid.cellText(0, 3), QStringLiteral("Carte\r\nIND/MOY\r\nLCS"));
    grid.setRowHeightTwips(0, 3 * grid.rowHeightTwips(1));
    EXPECT_EQ(grid.horizontalHeader()->height(), twipsToPixels(3 * grid.rowHeightTwips(1)));
    const QRect heading = grid.cellRect(0, 3);
    EXPECT_EQ(heading.height(), grid.horizontalHeader()->height());
    EXPECT_EQ(heading.bottom() + 1, grid.cellRect(1, 3).top());

    EXPECT_FALSE(grid.cellBackground(0, 3).isValid());
    grid.setCellBackground(0, 3, Qt::darkGray);
    grid.setCellBackground(2, 0, Qt::darkGray);
    EXPECT_EQ(grid.cellBackground(0, 3), QColor(Qt::darkGray));
    EXPECT_EQ(grid.cellBackground(2, 0), QColor(Qt::darkGray));
    grid.setCellBackground(0, 3, QColor());
    EXPECT_FALSE(grid.cellBackground(0, 3).isValid());
    EXPECT_EQ(grid.cellText(9, 9), QString());  // outside the grid: nothing, no crash
}

}  // namespace
}  // namespace tolva::test
