// The in-place editor of the window on a demo monitor, driven by keys and clicks.
#include "UiTest.h"

namespace tolva::test {
namespace {

constexpr qint32 kPress = 110;    // Presse P8: charts 1201, 1202
constexpr qint32 kGrinder = 103;  // Rectifieuse R3: charts 1101 to 1104

using EditingTest = UiTest;

struct RoadCase {
    const char* name;
    bool french;
    const char* typed;
    const char* shown;
};
class RoadOfOneChange : public UiTest, public ::testing::WithParamInterface<RoadCase> {};

TEST_P(RoadOfOneChange, TypedLimitIsSavedWithAPointAndShownAsReread) {
    QLocale::setDefault(GetParam().french ? french() : english());
    openOn(kPress);
    const int row = rowOf(1202), col = appState().gColXUcl;
    enterValue(row, col, GetParam().typed);
    EXPECT_EQ(grid()->cellText(row, col), GetParam().shown);
    EXPECT_EQ(optionRow(row).XUcl.Current, TaggedValue::number(12.5));
    EXPECT_TRUE(window->m_changed);
    EXPECT_TRUE(action("mnuCommit")->isEnabled() && action("Save")->isEnabled());

    ui.answers = {UiPort::Answer::Yes};
    press(Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(ui.shown.size(), 1);
    EXPECT_EQ(lastMessage(), message(catalogText(140), catalogText(139), UiPort::Icon::Question));
    EXPECT_EQ(tval(kPress, 1202, "XChartUCLConstant"), "12.5");
    // Re-read: Loaded is what the database holds, and the grid shows it.
    EXPECT_EQ(optionRow(row).XUcl.Loaded, TaggedValue::number(12.5));
    EXPECT_EQ(grid()->cellText(row, col), GetParam().shown);
    EXPECT_FALSE(window->m_changed);
    EXPECT_FALSE(action("mnuCommit")->isEnabled() || action("Save")->isEnabled());
}

INSTANTIATE_TEST_SUITE_P(Locales, RoadOfOneChange,
                         ::testing::Values(RoadCase{"French", true, "12,5", "12,5"},
                                           RoadCase{"FrenchKeypadPoint", true, "12.5", "12,5"},
                                           RoadCase{"English", false, "12.5", "12.5"}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(EditingTest, EnterStartsFromTheCellADigitReplacesItDeleteAndBlanksClearIt) {
    openOn(kGrinder);
    const SharedState& s = appState();
    const int row = rowOf(1101), lowerOnly = rowOf(1103);
    goTo(row, 0);  // the fixed column is out of reach
    EXPECT_EQ(at(), QPoint(row, 1));
    goTo(row, s.gColSpecUpper);
    press(Qt::Key_Return);
    EXPECT_EQ(editText(), "35,01");
    EXPECT_EQ(editor()->cursorPosition(), 5);
    press(Qt::Key_Return);  // the same value again is no change
    EXPECT_FALSE(editor()->isVisible());
    // Nor is empty stored over empty (upper limit of a lower-limit-only chart).
    goTo(lowerOnly, s.gColSpecUpper);
    press(Qt::Key_Delete);
    EXPECT_EQ(editText(), "");
    press(Qt::Key_Return);
    EXPECT_FALSE(window->m_changed);
    EXPECT_FALSE(action("mnuCommit")->isEnabled());

    goTo(row, s.gColSpecUpper);
    type("7");
    press(Qt::Key_Return);
    EXPECT_EQ(optionRow(row).SpecUpper.Current, TaggedValue::number(7));
    EXPECT_EQ(optionRow(row).SpecUpper.Loaded, TaggedValue::number(35.01));
    EXPECT_EQ(grid()->cellText(row, s.gColSpecUpper), "7");
    EXPECT_TRUE(window->m_changed);
    EXPECT_EQ(at(), QPoint(row, s.gColSpecUpper));
    EXPECT_EQ(QApplication::focusWidget(), grid());
    // Back to the loaded value: still a change to save.
    enterValue(row, s.gColSpecUpper, "35,01");
    EXPECT_EQ(optionRow(row).SpecUpper.Current, optionRow(row).SpecUpper.Loaded);
    EXPECT_TRUE(window->m_changed && action("mnuCommit")->isEnabled());

    goTo(lowerOnly, s.gColSpecLower);
    press(Qt::Key_Delete);
    press(Qt::Key_Return);
    EXPECT_TRUE(optionRow(lowerOnly).SpecLower.Current.isEmpty());
    EXPECT_EQ(grid()->cellText(lowerOnly, s.gColSpecLower), "");
    // Blanks only mean empty, not a text that is no number.
    goTo(row, s.gColXLcl);
    press(Qt::Key_Delete);
    type("   ");
    press(Qt::Key_Return);
    EXPECT_FALSE(editor()->isVisible());
    EXPECT_TRUE(optionRow(row).XLcl.Current.isEmpty());
    EXPECT_EQ(shown(141), 0);
}

TEST_F(EditingTest, TextThatIsNoNumberKeepsTheEditorOpenUntilEscape) {
    QLocale::setDefault(english());
    openOn(kGrinder);
    const int row = rowOf(1101), col = appState().gColXLcl;
    goTo(row, col);
    press(Qt::Key_Delete);
    // Under English settings the comma is no decimal separator, a typed NULL is
    // not the "start from the cell" request, and infinities are no limits.
    int refused = 0;
    for (const char* text : {"abc", "12,5", "NULL", "inf", "-inf", "nan", "1e999"}) {
        editor()->clear();
        type(text);
        press(Qt::Key_Return);
        EXPECT_EQ(shown(141), ++refused) << text;
        EXPECT_EQ(editText(), text);
    }
    EXPECT_EQ(lastMessage(),
              message(catalogText(141), catalogText(139), UiPort::Icon::Exclamation));
    EXPECT_EQ(QApplication::focusWidget(), editor());
    press(Qt::Key_Escape);
    EXPECT_FALSE(editor()->isVisible());
    EXPECT_EQ(optionRow(row).XLcl.Current, TaggedValue::number(34.994));
    EXPECT_EQ(grid()->cellText(row, col), "34.994");
    EXPECT_FALSE(window->m_changed);
}

TEST_F(EditingTest, ClickElsewhereStoresIntoTheFirstCellAndScrollingDropsTheEdit) {
    openOn(kGrinder);
    const int rowA = rowOf(1101), rowB = rowOf(1102);
    const int colA = appState().gColSpecLower, colB = appState().gColXUcl;
    goTo(rowA, colA);
    EXPECT_EQ(marks(rowA, colA), QVector<bool>({true, true}));
    type("34,5");
    clickCell(rowB, colB);
    EXPECT_FALSE(editor()->isVisible());
    EXPECT_EQ(optionRow(rowA).SpecLower.Current, TaggedValue::number(34.5));
    EXPECT_EQ(grid()->cellText(rowA, colA), "34,5");
    EXPECT_EQ(optionRow(rowB).XUcl.Current, optionRow(rowB).XUcl.Loaded);
    EXPECT_EQ(at(), QPoint(rowB, colB));
    // The heading marks followed the click.
    EXPECT_EQ(marks(rowA, colA) + marks(rowB, colB), QVector<bool>({false, false, true, true}));
    // A click on the cell under the editor drops the edit.
    type("9");
    clickCell(rowB, colB);
    EXPECT_EQ(editText(), "(closed)");
    EXPECT_EQ(optionRow(rowB).XUcl.Current, optionRow(rowB).XUcl.Loaded);

    window->resize(320, 260);  // too narrow for all value columns
    QApplication::processEvents();
    QScrollBar* bar = grid()->horizontalScrollBar();
    ASSERT_GT(bar->maximum(), 0);
    goTo(rowA, colA);
    type("1");
    ASSERT_TRUE(editor()->isVisible());
    bar->setValue(bar->maximum());
    EXPECT_FALSE(editor()->isVisible());
    EXPECT_EQ(optionRow(rowA).SpecLower.Current, TaggedValue::number(34.5));
}

TEST_F(EditingTest, FailedCheckOnAHiddenRangeGroupShowsItAndOpensTheEditor) {
    openOn(kGrinder);
    const int row = rowOf(1102);
    press(Qt::Key_R, Qt::ControlModifier);
    enterValue(row, appState().gColRLcl, "0,5");
    press(Qt::Key_R, Qt::ControlModifier);
    ASSERT_EQ(appState().gColRLcl, -1);
    bool editorOpenAtMessage = false;
    ui.onMessage = [&](const FakeUiPort::Shown& m) {
        editorOpenAtMessage |= m.text == catalogText(125) && editor()->isVisible();
    };
    ui.answers = {UiPort::Answer::Yes};
    press(Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(shown(125), 1);
    EXPECT_EQ(lastMessage(), message(catalogText(125), "TOLVA Editor", UiPort::Icon::Critical));
    EXPECT_TRUE(editorOpenAtMessage);
    EXPECT_TRUE(appState().gShowR);
    EXPECT_EQ(editText(), "0,5");
    EXPECT_EQ(editor()->cursorPosition(), 3);
    EXPECT_EQ(at(), QPoint(row, appState().gColRLcl));
    EXPECT_EQ(tval(kGrinder, 1102, "RChartLCLConstant"), "0.001");
    EXPECT_TRUE(window->m_changed && action("mnuCommit")->isEnabled());
}

TEST_F(EditingTest, FirstCharacteristicIsWrittenWhenTheSecondFails) {
    openOn(kGrinder);
    const SharedState& s = appState();
    const qint32 first = s.gOptionRows[0].ChartId, second = s.gOptionRows[1].ChartId;
    for (int row : {1, 2}) {
        enterValue(row, s.gColSpecLower, row == 1 ? "1" : "5");
        enterValue(row, s.gColSpecNominal, "2");
        enterValue(row, s.gColSpecUpper, "3");
    }
    const QString secondNominal = tval(kGrinder, second, "ProcCapNominal");
    ui.answers = {UiPort::Answer::Yes};
    press(Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(shown(116), 1);
    EXPECT_EQ(
        QStringList({tval(kGrinder, first, "ProcCapLower"), tval(kGrinder, first, "ProcCapNominal"),
                     tval(kGrinder, first, "ProcCapUpper")}),
        QStringList({"1", "2", "3"}));
    EXPECT_EQ(tval(kGrinder, second, "ProcCapNominal"), secondNominal);
    // The save stopped: no reload, the editor sits on the offending lower limit.
    EXPECT_EQ(editText(), "5");
    EXPECT_EQ(at(), QPoint(2, s.gColSpecLower));
    EXPECT_TRUE(window->m_changed);
}

}  // namespace
}  // namespace tolva::test
