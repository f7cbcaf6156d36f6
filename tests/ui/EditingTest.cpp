// The in-place editor of the window on a demo monitor, driven by keys and clicks.
#include "UiTest.h"

namespace tolva::test {

constexpr qint32 kGrinder = 103;  // Rectifieuse R3: charts 1101 to 1104

using EditingTest = UiTest;

TEST_F(EditingTest, KeysTabsAndClicksOnTheGrinder) {
    openOn(kGrinder);
    const ColumnLayout& cols = window->columnLayout();
    const int row = rowOf(1101), other = rowOf(1103);
    goTo(row, cols.gColSpecUpper);
    press(Qt::Key_Return);  // starts from the cell; the same value again is no change
    EXPECT_EQ(editText(), "35,01");
    press(Qt::Key_Return);
    EXPECT_FALSE(window->hasUnsavedChanges() || editor()->isVisible());
    type("7");  // replaces the value
    press(Qt::Key_Return);
    EXPECT_EQ(grid()->cellText(row, cols.gColSpecUpper), "7");
    // Delete then Enter clears; blanks only mean empty too.
    enterValue(other, cols.gColSpecLower, "");
    EXPECT_TRUE(optionRow(other).SpecLower.Current.isEmpty());
    enterValue(row, cols.gColXLcl, "   ");
    EXPECT_TRUE(optionRow(row).XLcl.Current.isEmpty());
    // Text that is no number keeps the editor open until Escape.
    enterValue(row, cols.gColXUcl, "abc");
    EXPECT_EQ(lastMessage(),
              message(catalogText(141), catalogText(139), UiPort::Icon::Exclamation));
    EXPECT_EQ(editText(), "abc");
    EXPECT_EQ(QApplication::focusWidget(), editor());
    press(Qt::Key_Escape);
    EXPECT_EQ(editText(), "(closed)");
    for (const char* key : {",", "x"}) {  // the decimal comma and letters open nothing
        type(key);
        EXPECT_EQ(editText(), "(closed)");
    }
    for (const char* key : {"+", "-", ".", "5"}) {
        type(key);
        EXPECT_EQ(editText(), key);
        press(Qt::Key_Escape);
    }

    // A click elsewhere stores the edit into the first cell.
    goTo(row, cols.gColSpecLower);
    type("34,5");
    QWidget* vp = grid()->viewport();
    QTest::mouseClick(vp, Qt::LeftButton, {},
                      vp->mapFrom(grid(), grid()->cellRect(other, cols.gColXUcl).center()));
    EXPECT_EQ(editText(), "(closed)");
    EXPECT_EQ(optionRow(row).SpecLower.Current, TaggedValue::number(34.5));
    EXPECT_EQ(at(), QPoint(other, cols.gColXUcl));
    // A click on the edited cell itself drops the edit.
    type("9");
    QTest::mouseClick(vp, Qt::LeftButton, {},
                      vp->mapFrom(grid(), grid()->cellRect(other, cols.gColXUcl).center()));
    EXPECT_EQ(editText(), "(closed)");
    EXPECT_NE(grid()->cellText(other, cols.gColXUcl), "9");

    const int last = grid()->columns() - 1;
    // Tab at the row's end stores and goes on to the next row's first value.
    goTo(1, last);
    type("9");
    press(Qt::Key_Tab);
    EXPECT_EQ(optionRow(1).XUcl.Current, TaggedValue::number(9));
    EXPECT_EQ(at(), QPoint(2, cols.gColSpecLower));
    // Shift+Tab stores and goes back; a text that is no number stays in the editor.
    press(Qt::Key_Delete);
    type("abc");
    press(Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_EQ(shown(141), 2);
    EXPECT_EQ(editText(), "abc");
    editor()->setText("8");
    press(Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_EQ(optionRow(2).SpecLower.Current, TaggedValue::number(8));
    EXPECT_EQ(at(), QPoint(1, last));
    EXPECT_EQ(QApplication::focusWidget(), grid());

    // A click below the last row stores the edit and leaves the cell current.
    window->resize(900, 700);
    QApplication::processEvents();
    goTo(rowOf(1104), cols.gColXCl);
    type("0,25");
    const QRect lastCell = grid()->cellRect(rowOf(1104), cols.gColXCl);
    ASSERT_LT(lastCell.bottom() + 10, grid()->height() - 20);
    QTest::mouseClick(vp, Qt::LeftButton, {},
                      vp->mapFrom(grid(), lastCell.center() + QPoint(0, lastCell.height() * 2)));
    EXPECT_EQ(editText(), "(closed)");
    EXPECT_EQ(optionRow(rowOf(1104)).XCl.Current, TaggedValue::number(0.25));
    EXPECT_EQ(at(), QPoint(rowOf(1104), cols.gColXCl));

    // Scrolling drops an open edit.
    window->resize(320, 260);
    QApplication::processEvents();
    QScrollBar* bar = grid()->horizontalScrollBar();
    ASSERT_GT(bar->maximum(), 0);
    goTo(row, cols.gColSpecLower);
    type("1");
    ASSERT_TRUE(editor()->isVisible());
    bar->setValue(bar->maximum());
    EXPECT_EQ(editText(), "(closed)");
    EXPECT_EQ(optionRow(row).SpecLower.Current, TaggedValue::number(34.5));
}

}  // namespace tolva::test
