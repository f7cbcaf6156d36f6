#include <gtest/gtest.h>

#include "CoreTestSupport.h"
#include "app/NumberText.h"
#include "app/SharedState.h"
#include "app/TaggedValue.h"
#include "app/clsLoc.h"

using namespace tolva;
using tolva::test::LocaleScope;

namespace {

QString us(const clsLoc& loc, const char* text) {
    return loc.US_Format(QString::fromUtf8(text));
}

}  // namespace

TEST(UsFormat, CommaDesktopWritesFullStop) {
    LocaleScope fr("fr_FR");
    const clsLoc loc;
    EXPECT_EQ(loc.decimalSeparator(), QStringLiteral(","));
    EXPECT_EQ(us(loc, "12,5"), QStringLiteral("12.5"));
    EXPECT_EQ(us(loc, "-0,25"), QStringLiteral("-0.25"));
    EXPECT_EQ(loc.US_Format(1234.5), QStringLiteral("1234.5"));  // no digit grouping
    EXPECT_EQ(loc.US_Format(-0.25), QStringLiteral("-0.25"));
    EXPECT_EQ(loc.US_Format(3.0), QStringLiteral("3"));
    EXPECT_EQ(loc.US_Format(TaggedValue::number(12.5)), QStringLiteral("12.5"));
    EXPECT_EQ(loc.US_Format(TaggedValue::text(QStringLiteral("7,75"))), QStringLiteral("7.75"));
    EXPECT_EQ(us(loc, "1E5"), QStringLiteral("100000"));
    // 15 significant digits: binary noise beyond them never reaches the database.
    EXPECT_EQ(loc.US_Format(0.1 + 0.2), QStringLiteral("0.3"));
    EXPECT_EQ(loc.US_Format(1234567.891), QStringLiteral("1234567.891"));
}

TEST(UsFormat, PointDesktopKeepsText) {
    LocaleScope en("en_US");
    const clsLoc loc;
    EXPECT_EQ(loc.decimalSeparator(), QStringLiteral("."));
    EXPECT_EQ(loc.US_Format(12.5), QStringLiteral("12.5"));
    EXPECT_EQ(us(loc, "12.5"), QStringLiteral("12.5"));
    EXPECT_EQ(loc.US_Format(1234.5), QStringLiteral("1234.5"));
    EXPECT_EQ(loc.US_Format(-0.25), QStringLiteral("-0.25"));
    EXPECT_EQ(loc.US_Format(3.0), QStringLiteral("3"));
    EXPECT_EQ(us(loc, "1E5"), QStringLiteral("100000"));
    // The comma is a group separator here, not a decimal one: not a number.
    EXPECT_EQ(us(loc, "12,5"), QString());
}

TEST(UsFormat, NonNumericGivesEmptyText) {
    for (const char* locale : {"fr_FR", "en_US"}) {
        LocaleScope scope(locale);
        const clsLoc loc;
        EXPECT_EQ(us(loc, "abc"), QString()) << locale;
        EXPECT_EQ(us(loc, ""), QString()) << locale;
        EXPECT_EQ(us(loc, "12abc"), QString()) << locale;
        EXPECT_EQ(loc.US_Format(TaggedValue()), QString()) << locale;
        EXPECT_EQ(loc.US_Format(TaggedValue::text(QStringLiteral("abc"))), QString()) << locale;
    }
}

TEST(UsFormat, SeparatorFoundOncePerInstance) {
    std::unique_ptr<clsLoc> loc;
    {
        LocaleScope en("en_US");
        loc = std::make_unique<clsLoc>();
    }
    LocaleScope fr("fr_FR");
    // The regional settings changed after creation: the instance keeps what it found.
    EXPECT_EQ(loc->decimalSeparator(), QStringLiteral("."));
    EXPECT_EQ(clsLoc().decimalSeparator(), QStringLiteral(","));

    appState().reset();
    clsLoc& shared = appState().loc();
    EXPECT_EQ(&shared, &appState().loc());
    EXPECT_EQ(shared.decimalSeparator(), QStringLiteral(","));
    appState().reset();
}

TEST(NumberText, RegionalParsing) {
    {
        LocaleScope en("en_US");
        EXPECT_FALSE(parseRegionalNumber(QStringLiteral("1,234")).has_value());
        EXPECT_EQ(parseRegionalNumber(QStringLiteral("1234.5")), 1234.5);
        EXPECT_EQ(parseRegionalNumber(QStringLiteral(" -2.5 ")), -2.5);
        EXPECT_FALSE(parseRegionalNumber(QStringLiteral("")).has_value());
        EXPECT_FALSE(parseRegionalNumber(QStringLiteral("   ")).has_value());
        EXPECT_EQ(formatRegionalNumber(1234567.5), QStringLiteral("1234567.5"));
    }
    LocaleScope fr("fr_FR");
    EXPECT_EQ(parseRegionalNumber(QStringLiteral("12,5")), 12.5);
    EXPECT_NE(parseRegionalNumber(QStringLiteral("12.5")), std::optional<double>(12.5));
    EXPECT_EQ(formatRegionalNumber(1234.5), QStringLiteral("1234,5"));
    EXPECT_EQ(formatRegionalNumber(-0.25), QStringLiteral("-0,25"));
    // Database values use "." whatever the desktop says.
    EXPECT_EQ(parseDotNumber(QStringLiteral("12.5")), 12.5);
    EXPECT_FALSE(parseDotNumber(QStringLiteral("12,5")).has_value());
}

TEST(NumberText, LeadingDotNumber) {
    EXPECT_DOUBLE_EQ(readLeadingDotNumber(QStringLiteral(" 12.5abc")), 12.5);
    EXPECT_DOUBLE_EQ(readLeadingDotNumber(QStringLiteral("12,5")), 12.0);
    EXPECT_DOUBLE_EQ(readLeadingDotNumber(QStringLiteral("-3e2x")), -300.0);
    EXPECT_DOUBLE_EQ(readLeadingDotNumber(QStringLiteral("4e")), 4.0);
    EXPECT_DOUBLE_EQ(readLeadingDotNumber(QStringLiteral("+.5")), 0.5);
    EXPECT_DOUBLE_EQ(readLeadingDotNumber(QStringLiteral("abc")), 0.0);
    EXPECT_DOUBLE_EQ(readLeadingDotNumber(QStringLiteral(".")), 0.0);
    EXPECT_DOUBLE_EQ(readLeadingDotNumber(QString()), 0.0);
}

TEST(TaggedValue, EmptyValueIsNotTheSameAsEmpty) {
    const TaggedValue nothing;
    const TaggedValue zero = TaggedValue::number(0.0);
    const TaggedValue emptyText = TaggedValue::text(QString());
    EXPECT_TRUE(nothing.isEmpty());
    EXPECT_TRUE(nothing.equalsEmptyValue());
    EXPECT_FALSE(zero.isEmpty());
    EXPECT_TRUE(zero.equalsEmptyValue());
    EXPECT_TRUE(TaggedValue::number(-0.0).equalsEmptyValue());
    EXPECT_FALSE(emptyText.isEmpty());
    EXPECT_TRUE(emptyText.equalsEmptyValue());
    EXPECT_FALSE(TaggedValue::text(QStringLiteral("0")).equalsEmptyValue());
    EXPECT_FALSE(TaggedValue::text(QStringLiteral(" ")).equalsEmptyValue());
    EXPECT_FALSE(TaggedValue::number(1e-300).equalsEmptyValue());
}

TEST(TaggedValue, EqualityAndOrder) {
    const TaggedValue one = TaggedValue::number(1.0);
    EXPECT_EQ(one, TaggedValue::number(1.0));
    EXPECT_NE(one, TaggedValue::text(QStringLiteral("1")));
    EXPECT_NE(TaggedValue(), TaggedValue::text(QString()));
    EXPECT_NE(TaggedValue(), TaggedValue::number(0.0));
    EXPECT_EQ(TaggedValue(), TaggedValue());

    // Numbers by value, not by their text.
    EXPECT_TRUE(TaggedValue::number(2).lessThan(TaggedValue::number(10)));
    EXPECT_FALSE(TaggedValue::number(10).lessThan(TaggedValue::number(2)));
    EXPECT_TRUE(TaggedValue::number(-5).lessThan(TaggedValue::number(-1)));
    EXPECT_FALSE(one.lessThan(one));
    // A number sorts before any text.
    EXPECT_TRUE(TaggedValue::number(1e9).lessThan(TaggedValue::text(QStringLiteral("a"))));
    EXPECT_FALSE(TaggedValue::text(QStringLiteral("a")).lessThan(TaggedValue::number(1e9)));
    EXPECT_TRUE(
        TaggedValue::text(QStringLiteral("a")).lessThan(TaggedValue::text(QStringLiteral("b"))));
}

TEST(TaggedValue, DisplayTextFollowsRegionalSettings) {
    LocaleScope fr("fr_FR");
    EXPECT_EQ(TaggedValue::number(12.5).toDisplayText(), QStringLiteral("12,5"));
    EXPECT_EQ(TaggedValue::number(1234.5).toDisplayText(), QStringLiteral("1234,5"));
    EXPECT_EQ(TaggedValue::text(QStringLiteral("12.5x")).toDisplayText(), QStringLiteral("12.5x"));
    EXPECT_EQ(TaggedValue().toDisplayText(), QString());
}
