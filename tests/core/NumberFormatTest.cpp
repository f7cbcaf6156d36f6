#include <gtest/gtest.h>

#include "CoreTestSupport.h"
#include "app/NumberText.h"
#include "app/SharedState.h"
#include "app/TaggedValue.h"
#include "app/clsLoc.h"

using namespace tolva;
using tolva::test::LocaleScope;

TEST(UsFormat, WritesAFullStopWhateverTheDesktopUses) {
    for (const char* locale : {"fr_FR", "en_US"}) {
        SCOPED_TRACE(locale);
        LocaleScope scope(locale);
        const clsLoc loc;
        const bool french = locale[0] == 'f';
        EXPECT_EQ(loc.decimalSeparator(), french ? "," : ".");
        EXPECT_EQ(loc.US_Format("12,5"), french ? "12.5" : "");  // a group separator in en_US
        EXPECT_EQ(loc.US_Format(french ? "-0,25" : "-0.25"), "-0.25");
        EXPECT_EQ(loc.US_Format("1E5"), "100000");
        EXPECT_EQ(loc.US_Format(1234.5), "1234.5");
        EXPECT_EQ(loc.US_Format(-0.25), "-0.25");
        EXPECT_EQ(loc.US_Format(3.0), "3");
        EXPECT_EQ(loc.US_Format(0.1 + 0.2), "0.3");  // 15 significant digits, no binary noise
        EXPECT_EQ(loc.US_Format(TaggedValue::number(12.5)), "12.5");
        for (const char* text : {"abc", "", "12abc"})
            EXPECT_EQ(loc.US_Format(text), "") << text;
        EXPECT_EQ(loc.US_Format(TaggedValue()), "");
        EXPECT_EQ(loc.US_Format(TaggedValue::text("abc")), "");
        EXPECT_EQ(loc.US_Format(TaggedValue::text(french ? "7,75" : "7.75")), "7.75");
    }
}

TEST(UsFormat, SeparatorFoundOncePerInstance) {
    std::unique_ptr<clsLoc> loc;
    {
        LocaleScope en("en_US");
        loc = std::make_unique<clsLoc>();
    }
    LocaleScope fr("fr_FR");
    EXPECT_EQ(loc->decimalSeparator(), ".");
    EXPECT_EQ(clsLoc().decimalSeparator(), ",");
    appState().reset();
    EXPECT_EQ(appState().loc().decimalSeparator(), ",");
    appState().reset();
}

TEST(NumberText, RegionalAndStoredForms) {
    {
        LocaleScope en("en_US");
        EXPECT_FALSE(parseRegionalNumber("1,234").has_value());
        EXPECT_EQ(parseRegionalNumber(" -2.5 "), -2.5);
        EXPECT_EQ(formatRegionalNumber(1234567.5), "1234567.5");
    }
    LocaleScope fr("fr_FR");
    EXPECT_EQ(parseRegionalNumber("12,5"), 12.5);
    EXPECT_NE(parseRegionalNumber("12.5"), std::optional<double>(12.5));
    EXPECT_EQ(formatRegionalNumber(-1234.25), "-1234,25");
    EXPECT_EQ(parseDotNumber("12.5"), 12.5);
    EXPECT_FALSE(parseDotNumber("12,5").has_value());
    const std::pair<const char*, double> leading[] = {
        {" 12.5abc", 12.5}, {"12,5", 12}, {"-3e2x", -300}, {"4e", 4},
        {"+.5", 0.5},       {"abc", 0},   {".", 0},        {"", 0}};
    for (const auto& [text, number] : leading)
        EXPECT_DOUBLE_EQ(readLeadingDotNumber(text), number) << text;
}

TEST(TaggedValue, EmptyValueEqualityOrderAndDisplay) {
    const TaggedValue none, zero = TaggedValue::number(0), one = TaggedValue::number(1);
    const TaggedValue emptyText = TaggedValue::text(""), a = TaggedValue::text("a");
    // Empty, zero and the empty text all equal the empty value; nothing else does.
    for (const TaggedValue& v : {none, zero, TaggedValue::number(-0.0), emptyText})
        EXPECT_TRUE(v.equalsEmptyValue());
    for (const TaggedValue& v :
         {TaggedValue::text("0"), TaggedValue::text(" "), TaggedValue::number(1e-300)})
        EXPECT_FALSE(v.equalsEmptyValue());
    EXPECT_TRUE(none.isEmpty() && !zero.isEmpty() && !emptyText.isEmpty());

    EXPECT_NE(one, TaggedValue::text("1"));
    EXPECT_NE(none, emptyText);
    // Numbers by value, any number before any text, texts as texts.
    EXPECT_TRUE(TaggedValue::number(2).lessThan(TaggedValue::number(10)));
    EXPECT_FALSE(one.lessThan(one));
    EXPECT_TRUE(TaggedValue::number(1e9).lessThan(a));
    EXPECT_FALSE(a.lessThan(TaggedValue::number(1e9)));
    EXPECT_TRUE(a.lessThan(TaggedValue::text("b")));

    LocaleScope fr("fr_FR");
    EXPECT_EQ(TaggedValue::number(1234.5).toDisplayText(), "1234,5");
    EXPECT_EQ(TaggedValue::text("12.5x").toDisplayText(), "12.5x");
    EXPECT_EQ(none.toDisplayText(), "");
}
