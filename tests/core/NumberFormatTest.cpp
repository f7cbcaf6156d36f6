#include <gtest/gtest.h>

#include "CoreTestSupport.h"
#include "core/NumberText.h"
#include "core/TaggedValue.h"
#include "core/clsLoc.h"

using namespace tolva;
using tolva::test::LocaleScope;

// Whatever the desktop writes (comma, U+2212 minus, Arabic-Indic digits), the
// database gets ASCII digits, "-" and ".".
TEST(UsFormat, WritesAsciiWhateverTheDesktopUses) {
    const struct {
        const char *locale, *typed;  // -0.25 as typed on that desktop
    } desktops[] = {{"fr_FR", "-0,25"},
                    {"en_US", "-0.25"},
                    {"sv_SE", "\u22120,25"},
                    {"ar_EG", "-\u0660\u066b\u0662\u0665"}};
    for (const auto& d : desktops) {
        SCOPED_TRACE(d.locale);
        LocaleScope scope(d.locale);
        const clsLoc loc;
        EXPECT_EQ(loc.US_Format(QString::fromUtf8(d.typed)), "-0.25");
        EXPECT_EQ(loc.US_Format(-1234.5), "-1234.5");
        EXPECT_EQ(loc.US_Format(3.0), "3");
        EXPECT_EQ(loc.US_Format(0.1 + 0.2), "0.3");  // 15 significant digits, no binary noise
        for (const char* text : {"abc", "", "12abc", "nan"})
            EXPECT_EQ(loc.US_Format(text), "") << text;
    }
    LocaleScope en("en_US");
    EXPECT_EQ(clsLoc().US_Format("12,5"), "");  // a misplaced group separator, not 125
}

// A stored value is a number only when all of it is one; never a partial read.
TEST(NumberText, StoredValuesAreReadWholeOrNotAtAll) {
    const struct {
        const char* locale;
        const char* stored;
        std::optional<double> read;
    } cases[] = {
        {"fr_FR", " 12.5 ", 12.5},      {"fr_FR", "12,5", 12.5},  {"en_US", "12,5", {}},
        {"fr_FR", "12.5abc", {}},       {"fr_FR", "1e3", 1000.0}, {"en_US", "\u22120.25", -0.25},
        {"sv_SE", "\u22120,25", -0.25}, {"fr_FR", "nan", {}},     {"en_US", "inf", {}},
        {"en_US", "1e999", {}},         {"fr_FR", "", {}},        {"en_US", "1 000", {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.locale) + " " + c.stored);
        LocaleScope scope(c.locale);
        EXPECT_EQ(readStoredNumber(QString::fromUtf8(c.stored)), c.read);
    }
    LocaleScope fr("fr_FR");
    EXPECT_EQ(formatRegionalNumber(-1234.25), "-1234,25");
}

// What the editor and paste accept: the desktop's own form, and "." where the
// desktop's separator is another (the keypad key); a group separator never.
TEST(NumberText, TypedValuesFollowTheDesktop) {
    const struct {
        const char* locale;
        const char* typed;
        std::optional<double> read;
    } cases[] = {
        {"fr_FR", "-0,25", -0.25},
        {"fr_FR", "-0.25", -0.25},
        {"en_US", "-0.25", -0.25},
        {"en_US", "0,25", {}},
        {"sv_SE", "\u22120,25", -0.25},
        {"sv_SE", "-0.25", -0.25},
        {"ar_EG", "-\u0660\u066b\u0662\u0665", -0.25},
        {"ar_EG", "12abc", {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.locale) + " " + c.typed);
        LocaleScope scope(c.locale);
        EXPECT_EQ(readTypedNumber(QString::fromUtf8(c.typed)), c.read);
    }
}

// Zero and the empty text count as cleared; a text "0" is not, nor a text "1" a 1.
// (The order of values is the group checks' test.)
TEST(TaggedValue, EmptyValueAndEquality) {
    EXPECT_FALSE(TaggedValue::text("0").equalsEmptyValue());
    EXPECT_NE(TaggedValue::number(1), TaggedValue::text("1"));
}
