#include <gtest/gtest.h>

#include "StoreTestSupport.h"
#include "app/Catalog.h"
#include "store/GroupChecks.h"

namespace tolva::test {
namespace {

class GroupChecksTest : public ::testing::Test {
protected:
    void SetUp() override {
        appState().reset();
        appState().gMonitors = {MonitorEntry{QStringLiteral("Tour"), 12, 1}};  // query profile
        appState().gMonitorIndex = 0;
        appState().gShowProc = appState().gShowX = true;
        ApplyViewState();
        appState().gOptionRows.resize(3);
        ui.shown.clear();
        editor.calls.clear();
    }
    void TearDown() override { appState().reset(); }

    FakeUiPort ui;
    FakeEditorPort editor;
};

TEST_F(GroupChecksTest, EachCheckPointsAtItsCellWithItsMessage) {
    using S = SharedState;
    const OptionGroup P = OptionGroup::Spec, X = OptionGroup::X, R = OptionGroup::R;
    const TaggedValue o, t = TaggedValue::text(QStringLiteral("n/a"));
    const struct {
        OptionGroup group;
        TaggedValue low, middle, high;
        int message;  // 0: the group passes
        int S::*column;
        const char* editorText;
    } cases[] = {
        {P, num(1), o, num(3), 115, &S::gColSpecNominal, ""},  // nominal missing
        {P, num(10), num(10), num(11), 116, &S::gColSpecLower, "10"},
        {P, t, num(10), num(11), 116, &S::gColSpecLower, "n/a"},
        {P, o, num(10), num(9.5), 117, &S::gColSpecUpper, "9,5"},
        {P, o, num(10), o, 116, &S::gColSpecLower, ""},  // no limit at all
        {P, o, num(10), num(11), 0, nullptr, ""},
        {P, num(-1), num(0), o, 0, nullptr, ""},
        {P, num(9), num(10), t, 141, &S::gColSpecUpper, "n/a"},
        {X, o, o, num(5), 118, &S::gColXLcl, ""},
        {X, num(1), o, o, 119, &S::gColXUcl, ""},
        {X, num(5), o, num(5), 120, &S::gColXLcl, "5"},
        {X, o, num(10), num(12), 121, &S::gColXLcl, ""},
        {X, num(10), num(10), num(12), 121, &S::gColXLcl, "10"},
        {X, num(5), num(10), o, 122, &S::gColXUcl, ""},
        {X, num(5), num(10), num(10), 122, &S::gColXUcl, "10"},
        {X, num(5), t, num(12), 122, &S::gColXUcl, "12"},  // a text centre sorts above
        {X, num(5), num(10), num(15), 0, nullptr, ""},
        {R, o, o, num(5), 123, &S::gColRLcl, ""},
        {R, num(1), o, o, 124, &S::gColRUcl, ""},
        {R, num(6), o, num(5), 125, &S::gColRLcl, "6"},
        {R, num(3), num(2), num(5), 126, &S::gColRLcl, "3"},
        {R, num(1), num(2), num(1.5), 122, &S::gColRUcl, "1,5"},
        {R, num(1), o, t, 141, &S::gColRUcl, "n/a"},
        {R, num(0), o, num(0.25), 0, nullptr, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "case " << &c - cases);
        SetUp();
        setGroup(appState().gOptionRows[1], c.group, c.low, c.middle, c.high);
        EXPECT_EQ(CheckGroup(1, c.group), c.message == 0);
        if (c.message == 0) {
            EXPECT_TRUE(ui.shown.isEmpty() && editor.calls.isEmpty());
            continue;
        }
        expectOneCriticalBox(ui, catalogText(c.message));
        EXPECT_GT(appState().*(c.column), 1);  // past the characteristic and query columns
        EXPECT_EQ(
            editor.calls.filter("EditGridCell").join(""),
            QStringLiteral("EditGridCell 2 %1 %2").arg(appState().*(c.column)).arg(c.editorText));
    }
}

TEST_F(GroupChecksTest, HiddenGroupIsRevealedBeforeTheEditorOpens) {
    ui.busy = true;
    editor.onCall = [&](const QString& call) {
        if (call.startsWith("revealGroup"))
            editor.calls << (ui.busy ? "busy" : "normal pointer");
    };
    ui.onMessage = [&](const FakeUiPort::Shown&) { editor.calls << "message"; };
    setGroup(appState().gOptionRows[0], OptionGroup::R, num(7), TaggedValue(), num(5));
    ASSERT_EQ(appState().gColRLcl, -1);
    EXPECT_FALSE(CheckGroup(0, OptionGroup::R));
    // Columns: characteristic, query, three specification limits, three X, then R from 8.
    EXPECT_EQ(editor.calls,
              (QStringList{"revealGroup R", "normal pointer", "EditGridCell 1 8 7", "message"}));

    editor.calls.clear();  // a shown group is not toggled again
    EXPECT_FALSE(CheckGroup(0, OptionGroup::R));
    EXPECT_EQ(editor.calls, (QStringList{"EditGridCell 1 8 7", "message"}));
}

}  // namespace
}  // namespace tolva::test
