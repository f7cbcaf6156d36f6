// The in-place editor of the real window, driven by keys and clicks.
#include <QScrollBar>

#include "EditorWindowFixture.h"
#include "app/Catalog.h"

namespace tolva::test {
namespace {

constexpr qint32 kPress = 110;    // Presse P8: charts 1201, 1202
constexpr qint32 kGrinder = 103;  // Rectifieuse R3: charts 1101 to 1104
constexpr qint32 kLots = 105;     // query profile

using EditingTest = EditorWindowTest;

struct RoadCase {
    const char* name;
    bool french;
    const char* typed;
    const char* shown;
};

class RoadOfOneChange : public EditorWindowTest, public ::testing::WithParamInterface<RoadCase> {};

TEST_P(RoadOfOneChange, TypedLimitIsSavedWithPointAndShownAsReread) {
    QLocale::setDefault(GetParam().french ? french() : english());
    openOn(kPress);
    const int row = rowOf(1202);
    const int col = appState().gColXUcl;
    EXPECT_FALSE(menuSave()->isEnabled());

    enterValue(row, col, QString::fromLatin1(GetParam().typed));
    EXPECT_FALSE(editor()->isVisible());
    EXPECT_EQ(grid()->cellText(row, col), QString::fromLatin1(GetParam().shown));
    EXPECT_EQ(optionRow(row).XUcl.Current, TaggedValue::number(12.5));
    EXPECT_TRUE(window->m_changed);
    EXPECT_TRUE(menuSave()->isEnabled());
    EXPECT_TRUE(toolbarButton(QStringLiteral("Save"))->isEnabled());

    ui.answers = {UiPort::Answer::Yes};
    press(Qt::Key_S, Qt::ControlModifier);

    ASSERT_EQ(ui.shown.size(), 1);
    EXPECT_EQ(ui.shown[0].text, catalogText(140));
    EXPECT_EQ(ui.shown[0].icon, UiPort::Icon::Question);
    EXPECT_EQ(ui.shown[0].title, catalogText(139));
    EXPECT_EQ(ui.shown[0].buttons, UiPort::Buttons::YesNoCancel);
    EXPECT_EQ(tval(kPress, 1202, QStringLiteral("XChartUCLConstant")), QStringLiteral("12.5"));
    // Re-read: Loaded is what the database holds, the grid shows it.
    EXPECT_EQ(optionRow(row).XUcl.Loaded, TaggedValue::number(12.5));
    EXPECT_EQ(grid()->cellText(row, col), QString::fromLatin1(GetParam().shown));
    EXPECT_FALSE(window->m_changed);
    EXPECT_FALSE(menuSave()->isEnabled());
    EXPECT_FALSE(toolbarButton(QStringLiteral("Save"))->isEnabled());
}

INSTANTIATE_TEST_SUITE_P(Locales, RoadOfOneChange,
                         ::testing::Values(RoadCase{"French", true, "12,5", "12,5"},
                                           RoadCase{"FrenchKeypadPoint", true, "12.5", "12,5"},
                                           RoadCase{"English", false, "12.5", "12.5"}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(EditingTest, DigitReplacesTheCellTextWhileEnterStartsFromIt) {
    openOn(kGrinder);
    const int row = rowOf(1101);
    const int col = appState().gColSpecUpper;

    goTo(row, col);
    press(Qt::Key_Return);
    ASSERT_TRUE(editor()->isVisible());
    EXPECT_EQ(editor()->text(), QStringLiteral("35,01"));
    EXPECT_EQ(editor()->cursorPosition(), 5);
    EXPECT_FALSE(editor()->hasSelectedText());
    EXPECT_EQ(QApplication::focusWidget(), editor());
    // The same value stored again is no change.
    press(Qt::Key_Return);
    EXPECT_FALSE(editor()->isVisible());
    EXPECT_FALSE(window->m_changed);
    EXPECT_FALSE(menuSave()->isEnabled());

    goTo(row, col);
    type(QStringLiteral("7"));
    ASSERT_TRUE(editor()->isVisible());
    EXPECT_EQ(editor()->text(), QStringLiteral("7"));
    press(Qt::Key_Return);
    EXPECT_EQ(optionRow(row).SpecUpper.Current, TaggedValue::number(7));
    EXPECT_EQ(optionRow(row).SpecUpper.Loaded, TaggedValue::number(35.01));
    EXPECT_EQ(grid()->cellText(row, col), QStringLiteral("7"));
    EXPECT_TRUE(window->m_changed);
    EXPECT_EQ(grid()->currentGridRow(), row);
    EXPECT_EQ(grid()->currentGridColumn(), col);
    EXPECT_EQ(QApplication::focusWidget(), grid());
}

TEST_F(EditingTest, DeleteAndBlanksClearTheValue) {
    openOn(kGrinder);
    const int row = rowOf(1103);
    const auto& s = appState();

    // Upper limit of a lower-limit-only chart: empty over empty is no change.
    goTo(row, s.gColSpecUpper);
    press(Qt::Key_Delete);
    ASSERT_TRUE(editor()->isVisible());
    EXPECT_EQ(editor()->text(), QString());
    press(Qt::Key_Return);
    EXPECT_TRUE(optionRow(row).SpecUpper.Current.isEmpty());
    EXPECT_FALSE(window->m_changed);

    goTo(row, s.gColSpecLower);
    press(Qt::Key_Delete);
    press(Qt::Key_Return);
    EXPECT_TRUE(optionRow(row).SpecLower.Current.isEmpty());
    EXPECT_EQ(grid()->cellText(row, s.gColSpecLower), QString());
    EXPECT_TRUE(window->m_changed);

    // Blanks only mean empty, not a text that is no number.
    goTo(row, s.gColXLcl);
    press(Qt::Key_Delete);
    type(QStringLiteral("   "));
    press(Qt::Key_Return);
    EXPECT_FALSE(editor()->isVisible());
    EXPECT_TRUE(optionRow(row).XLcl.Current.isEmpty());
    EXPECT_EQ(shownCount(catalogText(141)), 0);
}

TEST_F(EditingTest, TextThatIsNoNumberKeepsTheEditorOpenUntilEscape) {
    QLocale::setDefault(english());
    openOn(kGrinder);
    const int row = rowOf(1101);
    const int col = appState().gColXLcl;

    goTo(row, col);
    press(Qt::Key_Delete);
    type(QStringLiteral("abc"));
    press(Qt::Key_Return);
    ASSERT_EQ(ui.shown.size(), 1);
    EXPECT_EQ(ui.shown[0].text, catalogText(141));
    EXPECT_EQ(ui.shown[0].icon, UiPort::Icon::Exclamation);
    EXPECT_EQ(ui.shown[0].title, catalogText(139));
    EXPECT_TRUE(editor()->isVisible());
    EXPECT_EQ(editor()->text(), QStringLiteral("abc"));
    EXPECT_EQ(QApplication::focusWidget(), editor());
    EXPECT_EQ(optionRow(row).XLcl.Current, TaggedValue::number(34.994));

    // Under English settings the comma is no decimal separator.
    editor()->clear();
    type(QStringLiteral("12,5"));
    press(Qt::Key_Return);
    EXPECT_EQ(shownCount(catalogText(141)), 2);
    // Nor is a typed NULL the "start from the cell" request.
    editor()->clear();
    type(QStringLiteral("NULL"));
    press(Qt::Key_Return);
    EXPECT_EQ(shownCount(catalogText(141)), 3);
    // Nor are infinities limits that could be written back as numbers.
    for (const char* huge : {"inf", "-inf", "nan", "1e999"}) {
        editor()->clear();
        type(QString::fromLatin1(huge));
        press(Qt::Key_Return);
        EXPECT_TRUE(editor()->isVisible()) << huge;
    }
    EXPECT_EQ(shownCount(catalogText(141)), 7);

    press(Qt::Key_Escape);
    EXPECT_FALSE(editor()->isVisible());
    EXPECT_EQ(optionRow(row).XLcl.Current, TaggedValue::number(34.994));
    EXPECT_EQ(grid()->cellText(row, col), QStringLiteral("34.994"));
    EXPECT_FALSE(window->m_changed);
}

TEST_F(EditingTest, OnlyNumberKeysOpenAndTheDisplayIsNormalised) {
    QLocale::setDefault(english());
    openOn(kGrinder);
    const int row = rowOf(1102);
    const int col = appState().gColXUcl;

    goTo(row, col);
    type(QStringLiteral(","));
    EXPECT_FALSE(editor()->isVisible());
    type(QStringLiteral("x"));
    EXPECT_FALSE(editor()->isVisible());

    enterValue(row, col, QStringLiteral("+3"));
    EXPECT_EQ(grid()->cellText(row, col), QStringLiteral("3"));
    enterValue(row, col, QStringLiteral("2.50"));
    EXPECT_EQ(grid()->cellText(row, col), QStringLiteral("2.5"));
    enterValue(row, col, QStringLiteral("-.5"));
    EXPECT_EQ(optionRow(row).XUcl.Current, TaggedValue::number(-0.5));
}

TEST_F(EditingTest, EditingBackToTheLoadedValueKeepsTheChangeFlag) {
    openOn(kGrinder);
    const int row = rowOf(1101);
    const int col = appState().gColSpecNominal;

    enterValue(row, col, QStringLiteral("36"));
    EXPECT_TRUE(window->m_changed);
    enterValue(row, col, QStringLiteral("35"));
    EXPECT_EQ(optionRow(row).SpecNominal.Current, optionRow(row).SpecNominal.Loaded);
    EXPECT_TRUE(window->m_changed);
    EXPECT_TRUE(menuSave()->isEnabled());
}

TEST_F(EditingTest, ClickOnAnotherCellStoresIntoTheFirstAndMovesTheMarks) {
    openOn(kGrinder);
    const int rowA = rowOf(1101), rowB = rowOf(1102);
    const int colA = appState().gColSpecLower, colB = appState().gColXUcl;

    goTo(rowA, colA);
    EXPECT_TRUE(grid()->cellBackground(0, colA).isValid());
    EXPECT_TRUE(grid()->cellBackground(rowA, 0).isValid());
    type(QStringLiteral("34,5"));
    clickCell(rowB, colB);

    EXPECT_FALSE(editor()->isVisible());
    EXPECT_EQ(optionRow(rowA).SpecLower.Current, TaggedValue::number(34.5));
    EXPECT_EQ(grid()->cellText(rowA, colA), QStringLiteral("34,5"));
    EXPECT_EQ(optionRow(rowB).XUcl.Current, optionRow(rowB).XUcl.Loaded);
    EXPECT_EQ(grid()->currentGridRow(), rowB);
    EXPECT_EQ(grid()->currentGridColumn(), colB);
    EXPECT_TRUE(window->m_changed);
    // The heading marks followed the click.
    EXPECT_FALSE(grid()->cellBackground(0, colA).isValid());
    EXPECT_FALSE(grid()->cellBackground(rowA, 0).isValid());
    EXPECT_TRUE(grid()->cellBackground(0, colB).isValid());
    EXPECT_TRUE(grid()->cellBackground(rowB, 0).isValid());

    // A click on the cell under the editor drops the edit.
    type(QStringLiteral("9"));
    clickCell(rowB, colB);
    EXPECT_FALSE(editor()->isVisible());
    EXPECT_EQ(optionRow(rowB).XUcl.Current, optionRow(rowB).XUcl.Loaded);
}

TEST_F(EditingTest, ScrollingDropsTheEdit) {
    appState().gShowR = true;
    openOn(kGrinder);
    window->resize(320, 260);  // too narrow for all nine value columns
    QApplication::processEvents();
    QScrollBar* bar = grid()->horizontalScrollBar();
    ASSERT_GT(bar->maximum(), 0);

    const int row = rowOf(1101);
    const int col = appState().gColSpecLower;
    goTo(row, col);
    type(QStringLiteral("1"));
    ASSERT_TRUE(editor()->isVisible());
    bar->setValue(bar->maximum());
    EXPECT_FALSE(editor()->isVisible());
    EXPECT_EQ(optionRow(row).SpecLower.Current, TaggedValue::number(34.99));
    EXPECT_FALSE(window->m_changed);
}

TEST_F(EditingTest, QueryColumnIsMarkedWithTheCharacteristic) {
    openOn(kLots);
    const int query = appState().gColQuery;
    ASSERT_GT(query, 0);
    const int row1 = rowOf(1301), row2 = rowOf(1302);
    const int col = appState().gColSpecNominal;

    goTo(row1, col);
    EXPECT_TRUE(grid()->cellBackground(row1, query).isValid());
    press(Qt::Key_Down);
    const int now = grid()->currentGridRow();
    ASSERT_NE(now, row1);
    EXPECT_EQ(grid()->currentGridColumn(), col);
    EXPECT_FALSE(grid()->cellBackground(row1, 0).isValid());
    EXPECT_FALSE(grid()->cellBackground(row1, query).isValid());
    EXPECT_TRUE(grid()->cellBackground(now, 0).isValid());
    EXPECT_TRUE(grid()->cellBackground(now, query).isValid());
    EXPECT_TRUE(grid()->cellBackground(0, col).isValid());

    // A value typed on the second row of a query profile lands in that row.
    enterValue(row2, col, QStringLiteral("51"));
    EXPECT_EQ(optionRow(row2).SpecNominal.Current, TaggedValue::number(51));
    EXPECT_EQ(optionRow(row1).SpecNominal.Current, optionRow(row1).SpecNominal.Loaded);
}

TEST_F(EditingTest, FailedCheckOnAHiddenRangeGroupShowsItAndOpensTheEditor) {
    openOn(kGrinder);
    const int row = rowOf(1102);
    press(Qt::Key_R, Qt::ControlModifier);  // show the range columns
    ASSERT_TRUE(appState().gShowR);
    enterValue(row, appState().gColRLcl, QStringLiteral("0,5"));
    press(Qt::Key_R, Qt::ControlModifier);
    ASSERT_FALSE(appState().gShowR);
    ASSERT_EQ(appState().gColRLcl, -1);

    bool editorOpenAtMessage = false;
    ui.onMessage = [&](const FakeUiPort::Shown& m) {
        if (m.text == catalogText(125))
            editorOpenAtMessage = editor()->isVisible();
    };
    ui.answers = {UiPort::Answer::Yes};
    press(Qt::Key_S, Qt::ControlModifier);

    ASSERT_EQ(shownCount(catalogText(125)), 1);
    EXPECT_EQ(ui.shown.last().icon, UiPort::Icon::Critical);
    EXPECT_EQ(ui.shown.last().title, QStringLiteral("TOLVA Editor"));
    EXPECT_TRUE(editorOpenAtMessage);
    EXPECT_TRUE(appState().gShowR);
    EXPECT_TRUE(editor()->isVisible());
    EXPECT_EQ(editor()->text(), QStringLiteral("0,5"));
    EXPECT_EQ(editor()->cursorPosition(), 3);
    EXPECT_EQ(grid()->currentGridRow(), row);
    EXPECT_EQ(grid()->currentGridColumn(), appState().gColRLcl);
    EXPECT_EQ(tval(kGrinder, 1102, QStringLiteral("RChartLCLConstant")), QStringLiteral("0.001"));
    EXPECT_TRUE(window->m_changed);
    EXPECT_TRUE(menuSave()->isEnabled());
}

TEST_F(EditingTest, FirstCharacteristicIsWrittenWhenTheSecondFails) {
    openOn(kGrinder);
    const auto& s = appState();
    const qint32 first = s.gOptionRows[0].ChartId;
    const qint32 second = s.gOptionRows[1].ChartId;

    enterValue(1, s.gColSpecLower, QStringLiteral("1"));
    enterValue(1, s.gColSpecNominal, QStringLiteral("2"));
    enterValue(1, s.gColSpecUpper, QStringLiteral("3"));
    enterValue(2, s.gColSpecLower, QStringLiteral("5"));
    enterValue(2, s.gColSpecNominal, QStringLiteral("2"));
    enterValue(2, s.gColSpecUpper, QStringLiteral("3"));
    const QString secondNominalBefore = tval(kGrinder, second, QStringLiteral("ProcCapNominal"));

    ui.answers = {UiPort::Answer::Yes};
    press(Qt::Key_S, Qt::ControlModifier);

    EXPECT_EQ(shownCount(catalogText(116)), 1);
    EXPECT_EQ(tval(kGrinder, first, QStringLiteral("ProcCapLower")), QStringLiteral("1"));
    EXPECT_EQ(tval(kGrinder, first, QStringLiteral("ProcCapNominal")), QStringLiteral("2"));
    EXPECT_EQ(tval(kGrinder, first, QStringLiteral("ProcCapUpper")), QStringLiteral("3"));
    EXPECT_EQ(tval(kGrinder, second, QStringLiteral("ProcCapNominal")), secondNominalBefore);
    // The save stopped: no reload, the editor sits on the offending lower limit.
    EXPECT_TRUE(editor()->isVisible());
    EXPECT_EQ(editor()->text(), QStringLiteral("5"));
    EXPECT_EQ(grid()->currentGridRow(), 2);
    EXPECT_EQ(grid()->currentGridColumn(), s.gColSpecLower);
    EXPECT_EQ(s.gOptionRows[1].SpecLower.Current, TaggedValue::number(5));
    EXPECT_TRUE(window->m_changed);
}

}  // namespace
}  // namespace tolva::test
