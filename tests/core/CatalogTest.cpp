#include <gtest/gtest.h>

#include "CoreTestSupport.h"
#include "core/Catalog.h"

using namespace tolva;

TEST(Catalog, HoldsSixtyEightTextsWithout127AndHeadingsBreakWithCrLf) {
    int present = 0;
    for (int number = 90; number <= 180; ++number)
        present += catalogText(number).isEmpty() ? 0 : 1;
    EXPECT_EQ(present, 68);
    EXPECT_TRUE(catalogText(127).isEmpty());
    EXPECT_EQ(catalogText(112), QString::fromUtf8("Erreur lors du Paramétrage "));  // kept blank
    EXPECT_EQ(catalogText(156), "Carte\\nIND/MOY\\nLCS");
    EXPECT_EQ(catalogHeading(156), "Carte\r\nIND/MOY\r\nLCS");
    EXPECT_EQ(catalogHeading(153), QString::fromUtf8("SPECS\r\nSupérieure"));
}
