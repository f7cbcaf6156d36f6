#include <gtest/gtest.h>

#include <optional>

#include "StoreTestSupport.h"
#include "app/Catalog.h"
#include "store/GroupChecks.h"
#include "store/SaveWalk.h"
#include "support/FakeUiPort.h"

namespace tolva::test {
namespace {

struct Case {
    const char* what;
    OptionGroup group;
    TaggedValue low, middle, high;
    int message;  // 0: the group passes
    int SharedState::*column;
    QString editorText;
};

class GroupChecksTest : public ::testing::Test {
protected:
    void SetUp() override {
        appState().reset();
        appState().gMonitors = {MonitorEntry{QStringLiteral("Tour"), 12, 1}};  // query profile
        appState().gMonitorIndex = 0;
        appState().gShowProc = appState().gShowX = true;
        appState().gShowR = false;
        FakeEditorPort::layColumns();
        appState().gOptionRows.resize(3);
    }
    void TearDown() override { appState().reset(); }

    void place(int index, OptionGroup group, const TaggedValue& low, const TaggedValue& middle,
               const TaggedValue& high) {
        OptionRow& r = appState().gOptionRows[index];
        auto cells = group == OptionGroup::Spec ? std::tie(r.SpecLower, r.SpecNominal, r.SpecUpper)
                     : group == OptionGroup::X  ? std::tie(r.XLcl, r.XCl, r.XUcl)
                                                : std::tie(r.RLcl, r.RCl, r.RUcl);
        std::get<0>(cells).Current = low;
        std::get<1>(cells).Current = middle;
        std::get<2>(cells).Current = high;
    }

    FakeUiPort ui;
    FakeEditorPort editor;
};

TEST_F(GroupChecksTest, EachCheckPointsAtItsCellWithItsMessage) {
    using S = SharedState;
    const TaggedValue none;
    auto n = [](double d) { return TaggedValue::number(d); };
    const TaggedValue text = TaggedValue::text(QStringLiteral("n/a"));
    const QVector<Case> cases{
        {"nominal missing", OptionGroup::Spec, n(1), none, n(3), 115, &S::gColSpecNominal, ""},
        {"lower equals nominal", OptionGroup::Spec, n(10), n(10), n(11), 116, &S::gColSpecLower,
         "10"},
        {"lower held as text", OptionGroup::Spec, text, n(10), n(11), 116, &S::gColSpecLower,
         "n/a"},
        {"upper below nominal", OptionGroup::Spec, none, n(10), n(9.5), 117, &S::gColSpecUpper,
         "9.5"},
        {"no limit at all", OptionGroup::Spec, none, n(10), none, 116, &S::gColSpecLower, ""},
        {"one-sided upper", OptionGroup::Spec, none, n(10), n(11), 0, nullptr, ""},
        {"one-sided lower", OptionGroup::Spec, n(-1), n(0), none, 0, nullptr, ""},
        {"upper held as text", OptionGroup::Spec, n(9), n(10), text, 141, &S::gColSpecUpper, "n/a"},
        {"X lower missing", OptionGroup::X, none, none, n(5), 118, &S::gColXLcl, ""},
        {"X upper missing", OptionGroup::X, n(1), none, none, 119, &S::gColXUcl, ""},
        {"X lower not below upper", OptionGroup::X, n(5), none, n(5), 120, &S::gColXLcl, "5"},
        {"X lower missing with centre", OptionGroup::X, none, n(10), n(12), 121, &S::gColXLcl, ""},
        {"X lower on centre", OptionGroup::X, n(10), n(10), n(12), 121, &S::gColXLcl, "10"},
        {"X upper missing with centre", OptionGroup::X, n(5), n(10), none, 122, &S::gColXUcl, ""},
        {"X upper on centre", OptionGroup::X, n(5), n(10), n(10), 122, &S::gColXUcl, "10"},
        {"X centre held as text", OptionGroup::X, n(5), text, n(12), 122, &S::gColXUcl, "12"},
        {"X valid", OptionGroup::X, n(5), n(10), n(15), 0, nullptr, ""},
        {"R lower missing", OptionGroup::R, none, none, n(5), 123, &S::gColRLcl, ""},
        {"R upper missing", OptionGroup::R, n(1), none, none, 124, &S::gColRUcl, ""},
        {"R lower above upper", OptionGroup::R, n(6), none, n(5), 125, &S::gColRLcl, "6"},
        {"R lower above centre", OptionGroup::R, n(3), n(2), n(5), 126, &S::gColRLcl, "3"},
        {"R upper below centre", OptionGroup::R, n(1), n(2), n(1.5), 122, &S::gColRUcl, "1.5"},
        {"R upper held as text", OptionGroup::R, n(1), none, text, 141, &S::gColRUcl, "n/a"},
        {"R valid", OptionGroup::R, n(0), none, n(0.25), 0, nullptr, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        SetUp();
        ui.shown.clear();
        editor.edits.clear();
        place(1, c.group, c.low, c.middle, c.high);
        const bool passed = CheckGroup(1, c.group);
        EXPECT_EQ(passed, c.message == 0);
        if (c.message == 0) {
            EXPECT_TRUE(ui.shown.isEmpty());
            EXPECT_TRUE(editor.edits.isEmpty());
            continue;
        }
        ASSERT_EQ(ui.shown.size(), 1);
        EXPECT_EQ(ui.shown[0].text, catalogText(c.message));
        EXPECT_EQ(ui.shown[0].icon, UiPort::Icon::Critical);
        EXPECT_EQ(ui.shown[0].title, "TOLVA Editor");
        ASSERT_EQ(editor.edits.size(), 1);
        EXPECT_EQ(editor.edits[0].row, 2);
        EXPECT_EQ(editor.edits[0].col, appState().*(c.column));
        EXPECT_GT(editor.edits[0].col, 1);  // past the characteristic and query columns
        EXPECT_EQ(editor.edits[0].text, c.editorText);
    }
}

TEST_F(GroupChecksTest, HiddenGroupIsRevealedBeforeTheEditorOpens) {
    ui.busy = true;
    std::optional<bool> busyWhenRevealed;
    editor.onCall = [&](const QString& call) {
        if (call.startsWith("revealGroup"))
            busyWhenRevealed = ui.busy;
    };
    ui.onMessage = [&](const FakeUiPort::Shown&) { editor.calls << "message"; };
    place(0, OptionGroup::R, TaggedValue::number(7), TaggedValue(), TaggedValue::number(5));
    ASSERT_EQ(appState().gColRLcl, -1);

    EXPECT_FALSE(CheckGroup(0, OptionGroup::R));
    // Columns: characteristic, query, three specification limits, three X, then R from 8.
    EXPECT_EQ(editor.calls, (QStringList{"revealGroup R", "EditGridCell 1 8 7", "message"}));
    EXPECT_EQ(busyWhenRevealed, std::optional<bool>(false));
    EXPECT_TRUE(appState().gShowR);

    // A shown group is not toggled again.
    editor.calls.clear();
    EXPECT_FALSE(CheckGroup(0, OptionGroup::R));
    EXPECT_EQ(editor.calls, (QStringList{"EditGridCell 1 8 7", "message"}));
}

TEST_F(GroupChecksTest, EditorTextFollowsRegionalSettings) {
    ScopedLocale french(QLocale::French, QLocale::France);
    place(0, OptionGroup::Spec, TaggedValue::number(12.5), TaggedValue::number(12.5),
          TaggedValue());
    EXPECT_FALSE(CheckGroup(0, OptionGroup::Spec));
    ASSERT_EQ(editor.edits.size(), 1);
    EXPECT_EQ(editor.edits[0].text, "12,5");
}

TEST(GroupChangeTest, ChangedClearedOrSet) {
    auto cell = [](const TaggedValue& loaded, const TaggedValue& current) {
        OptionCell c;
        c.Loaded = loaded;
        c.Current = current;
        return c;
    };
    const TaggedValue none;
    const TaggedValue zero = TaggedValue::number(0);
    const TaggedValue five = TaggedValue::number(5);
    const TaggedValue five_text = TaggedValue::text("5");
    const TaggedValue empty_text = TaggedValue::text("");

    EXPECT_EQ(GetGroupChange(cell(none, none), cell(five, five), cell(five_text, five_text)), 0);
    EXPECT_EQ(GetGroupChange(cell(five, five_text), cell(none, none), cell(none, none)), 2);
    EXPECT_EQ(GetGroupChange(cell(none, five), cell(none, none), cell(none, none)), 2);
    // All cleared: empty, zero and the empty text all count as cleared.
    EXPECT_EQ(GetGroupChange(cell(five, none), cell(five, zero), cell(five, empty_text)), 1);
    EXPECT_EQ(GetGroupChange(cell(none, zero), cell(none, none), cell(none, none)), 1);
    EXPECT_EQ(GetGroupChange(cell(five, zero), cell(none, none), cell(none, five)), 2);
}

}  // namespace
}  // namespace tolva::test
