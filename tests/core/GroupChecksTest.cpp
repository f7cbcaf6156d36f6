#include <gtest/gtest.h>

#include "CoreTestSupport.h"
#include "core/Catalog.h"
#include "core/GroupChecks.h"
#include "core/LimitGroups.h"
#include "core/SharedState.h"

namespace tolva::test {
namespace {

// The first failing check names its message, the offending cell and the text the
// editor opens with (the value as the French desktop writes it, or empty).
TEST(GroupChecksTest, EachCheckNamesItsMessageCellAndEditorText) {
    const OptionGroup P = OptionGroup::Spec, X = OptionGroup::X, R = OptionGroup::R;
    const LocaleScope french("fr_FR");
    const TaggedValue o, t = TaggedValue::text(QStringLiteral("n/a"));
    const auto num = [](double v) { return TaggedValue::number(v); };
    using Row = OptionRow;
    const struct {
        OptionGroup group;
        TaggedValue low, middle, high;
        int message;  // 0: the group passes
        OptionCell OptionRow::*cell;
        const char* text;
    } cases[] = {
        {P, num(1), o, num(3), 115, &Row::SpecNominal, ""},
        {P, num(10), num(10), num(11), 116, &Row::SpecLower, "10"},
        {P, o, num(10), num(9.5), 117, &Row::SpecUpper, "9,5"},
        {P, o, num(10), o, 116, &Row::SpecLower, ""},
        {P, num(9), num(10), t, 141, &Row::SpecUpper, "n/a"},
        {P, num(-1), num(0), o, 0, nullptr, ""},
        {X, o, o, num(5), 118, &Row::XLcl, ""},
        {X, num(1), o, o, 119, &Row::XUcl, ""},
        {X, num(5), o, num(5), 120, &Row::XLcl, "5"},
        {X, num(10), num(10), num(12), 121, &Row::XLcl, "10"},
        {X, num(5), t, num(12), 122, &Row::XUcl, "12"},  // a text centre sorts above
        {R, o, o, num(5), 123, &Row::RLcl, ""},
        {R, num(1), o, o, 124, &Row::RUcl, ""},
        {R, num(6), o, num(5), 125, &Row::RLcl, "6"},
        {R, num(3), num(2), num(5), 126, &Row::RLcl, "3"},
        {R, num(0), o, num(0.25), 0, nullptr, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "case " << &c - cases);
        SharedState s;
        s.gOptionRows = QVector<OptionRow>(3);
        const LimitGroup& g = limitGroup(c.group);
        s.gOptionRows.setCurrent(1, g.low(), c.low);
        s.gOptionRows.setCurrent(1, g.middle(), c.middle);
        s.gOptionRows.setCurrent(1, g.high(), c.high);
        const StoreOutcome outcome = CheckGroup(s, 1, c.group);
        EXPECT_EQ(outcome.ok(), c.message == 0);
        if (c.message == 0)
            continue;
        EXPECT_EQ(outcome.text(), catalogText(c.message));
        ASSERT_TRUE(outcome.edit.has_value());
        EXPECT_TRUE(outcome.edit->rowIndex == 1 && outcome.edit->group == c.group &&
                    outcome.edit->cell == c.cell);
        EXPECT_EQ(outcome.edit->text, c.text);
    }
}

}  // namespace
}  // namespace tolva::test
