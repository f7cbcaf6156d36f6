#include <gtest/gtest.h>

#include "StoreTestSupport.h"
#include "core/Catalog.h"
#include "core/GroupChecks.h"

namespace tolva::test {
namespace {

// Columns: characteristic, query, specification limits 2-4, X 5-7, then R (hidden) 8-10;
// a hidden group is shown before its cell is edited, and the message comes last.
TEST(GroupChecksTest, EachCheckOpensItsCellThenShowsItsMessage) {
    FakeUiPort ui;
    FakeEditorPort editor;
    ui.onMessage = [&](const FakeUiPort::Shown&) { editor.calls << "message"; };
    const OptionGroup P = OptionGroup::Spec, X = OptionGroup::X, R = OptionGroup::R;
    const TaggedValue o, t = TaggedValue::text(QStringLiteral("n/a"));
    const struct {
        OptionGroup group;
        TaggedValue low, middle, high;
        int message;       // 0: the group passes
        const char* cell;  // "column text"
    } cases[] = {
        {P, num(1), o, num(3), 115, "3 "},
        {P, num(10), num(10), num(11), 116, "2 10"},
        {P, o, num(10), num(9.5), 117, "4 9,5"},
        {P, num(9), num(10), t, 141, "4 n/a"},
        {P, num(-1), num(0), o, 0, ""},
        {X, o, o, num(5), 118, "5 "},
        {X, num(1), o, o, 119, "7 "},
        {X, num(5), o, num(5), 120, "5 5"},
        {X, num(10), num(10), num(12), 121, "5 10"},
        {X, num(5), t, num(12), 122, "7 12"},  // a text centre sorts above
        {R, o, o, num(5), 123, "8 "},
        {R, num(1), o, o, 124, "10 "},
        {R, num(6), o, num(5), 125, "8 6"},
        {R, num(3), num(2), num(5), 126, "8 3"},
        {R, num(0), o, num(0.25), 0, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "case " << &c - cases);
        SharedState& s = appState();
        s.reset();
        s.gMonitors = {MonitorEntry{QStringLiteral("Tour"), 12, 1}};  // query profile
        s.gMonitorIndex = 0;
        s.gShowProc = s.gShowX = true;
        ApplyViewState(appState());
        s.gOptionRows.resize(3);
        ui.shown.clear();
        editor.calls.clear();
        setGroup(appState().gOptionRows[1], c.group, c.low, c.middle, c.high);
        EXPECT_EQ(CheckGroup(1, c.group), c.message == 0);
        if (c.message == 0) {
            EXPECT_TRUE(ui.shown.isEmpty() && editor.calls.isEmpty());
            continue;
        }
        expectOneCriticalBox(ui, catalogText(c.message));
        const QStringList edit = {QStringLiteral("EditGridCell 2 ") + c.cell, "message"};
        EXPECT_EQ(editor.calls, c.group == R ? QStringList{"revealGroup R"} + edit : edit);
    }
    appState().reset();
}

}  // namespace
}  // namespace tolva::test
