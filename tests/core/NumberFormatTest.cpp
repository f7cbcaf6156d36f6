#include <gtest/gtest.h>

#include "CoreTestSupport.h"
#include "core/NumberText.h"
#include "core/TaggedValue.h"
#include "core/clsLoc.h"

using namespace tolva;
using tolva::test::LocaleScope;

TEST(UsFormat, WritesAFullStopWhateverTheDesktopUses) {
    for (const char* locale : {"fr_FR", "en_US"}) {
        SCOPED_TRACE(locale);
        LocaleScope scope(locale);
        const clsLoc loc;
        const bool french = locale[0] == 'f';
        EXPECT_EQ(loc.US_Format("12,5"), french ? "12.5" : "");  // a group separator in en_US
        EXPECT_EQ(loc.US_Format(french ? "-0,25" : "-0.25"), "-0.25");
        EXPECT_EQ(loc.US_Format(1234.5), "1234.5");
        EXPECT_EQ(loc.US_Format(-0.25), "-0.25");
        EXPECT_EQ(loc.US_Format(3.0), "3");
        EXPECT_EQ(loc.US_Format(0.1 + 0.2), "0.3");  // 15 significant digits, no binary noise
        for (const char* text : {"abc", "", "12abc"})
            EXPECT_EQ(loc.US_Format(text), "") << text;
        EXPECT_EQ(loc.US_Format(TaggedValue::text(french ? "7,75" : "7.75")), "7.75");
    }
}

TEST(NumberText, RegionalAndStoredForms) {
    LocaleScope fr("fr_FR");
    EXPECT_EQ(parseRegionalNumber(" 12,5 "), 12.5);
    EXPECT_NE(parseRegionalNumber("12.5"), std::optional<double>(12.5));
    EXPECT_EQ(formatRegionalNumber(-1234.25), "-1234,25");
    EXPECT_EQ(parseDotNumber("12.5"), 12.5);
    EXPECT_FALSE(parseDotNumber("12,5").has_value());
    EXPECT_DOUBLE_EQ(readLeadingDotNumber(" 12.5abc"), 12.5);
    EXPECT_DOUBLE_EQ(readLeadingDotNumber("12,5"), 12);
}

TEST(TaggedValue, EmptyValueEqualityAndOrder) {
    // Empty, zero and the empty text all equal the empty value; nothing else does.
    for (const TaggedValue& v : {TaggedValue(), TaggedValue::number(0), TaggedValue::text("")})
        EXPECT_TRUE(v.equalsEmptyValue());
    EXPECT_FALSE(TaggedValue::text("0").equalsEmptyValue());
    EXPECT_NE(TaggedValue::number(1), TaggedValue::text("1"));
    // Numbers by value, any number before any text.
    EXPECT_TRUE(TaggedValue::number(2).lessThan(TaggedValue::number(10)));
    EXPECT_TRUE(TaggedValue::number(1e9).lessThan(TaggedValue::text("a")));
    EXPECT_FALSE(TaggedValue::text("a").lessThan(TaggedValue::number(1e9)));
}
