#include <gtest/gtest.h>

#include "CoreTestSupport.h"
#include "core/SearchText.h"

using namespace tolva;

TEST(SearchText, NamesMatchIgnoringCaseAccentsAndLigatures) {
    const struct {
        const char* name;
        const char* filter;
        bool matches;
    } cases[] = {
        {"Epaisseur tole E2", "ÉPAISSEUR TÔLE", true},
        {"Presse à injecter P7", "pressea", false},
        {"Cœur de pompe", "coeur", true},
        {"Æquo", "aeq", true},
        {"Straße 4", "STRASSE", true},
        {"Bague intérieure", "extérieure", false},
        {"Bague intérieure", "  ", true},
        {"", "a", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(nameMatchesFilter(QString::fromUtf8(c.name), QString::fromUtf8(c.filter)),
                  c.matches)
            << c.name << " / " << c.filter;
}
