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
        for (const char* text : {"abc", "", "12abc", "nan"})
            EXPECT_EQ(loc.US_Format(text), "") << text;
    }
    LocaleScope en("en_US");
    EXPECT_EQ(clsLoc().US_Format("12,5"), "");  // a misplaced group separator, not 125
}

// A stored value is a number only when all of it is one, never a partial read.
// What the editor and paste accept: the desktop's own form (each desktop's is
// read above), and "." where the desktop's separator is another (the keypad key).
TEST(NumberText, StoredAndTypedValuesAreReadWholeOrNotAtAll) {
    const struct {
        bool typed;
        const char* locale;
        const char* text;
        std::optional<double> read;
    } cases[] = {
        {false, "fr_FR", " 12.5 ", 12.5},      {false, "fr_FR", "12,5", 12.5},
        {false, "en_US", "12,5", {}},          {false, "fr_FR", "1e3", 1000.0},
        {false, "en_US", "\u22120.25", -0.25}, {false, "sv_SE", "\u22120,25", -0.25},
        {false, "fr_FR", "nan", {}},           {false, "en_US", "inf", {}},
        {false, "en_US", "1e999", {}},         {false, "fr_FR", "", {}},
        {false, "en_US", "1 000", {}},         {true, "fr_FR", "-0,25", -0.25},
        {true, "fr_FR", "-0.25", -0.25},       {true, "sv_SE", "-0.25", -0.25},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.typed ? "typed " : "stored ") + c.locale + " " + c.text);
        LocaleScope scope(c.locale);
        const QString text = QString::fromUtf8(c.text);
        EXPECT_EQ(c.typed ? readTypedNumber(text) : readStoredNumber(text), c.read);
    }
    LocaleScope fr("fr_FR");
    EXPECT_EQ(formatRegionalNumber(-1234.25), "-1234,25");
    // A text "0" is no cleared value, nor a text "1" a 1.
    EXPECT_FALSE(TaggedValue::text("0").equalsEmptyValue());
    EXPECT_NE(TaggedValue::number(1), TaggedValue::text("1"));
}
