#include <gtest/gtest.h>

#include "CoreTestSupport.h"
#include "app/Catalog.h"

using namespace tolva;

TEST(Catalog, HoldsSixtyEightTextsWithout127) {
    int present = 0;
    for (int number = 90; number <= 180; ++number)
        present += catalogText(number).isEmpty() ? 0 : 1;
    EXPECT_EQ(present, 68);
    EXPECT_TRUE(catalogText(127).isEmpty());
    EXPECT_EQ(catalogText(102), QString::fromUtf8("Choisissez la connexion ODBC à la base de "
                                                  "données NOVRAX que vous souhaitez modifier"));
    EXPECT_EQ(catalogText(112),
              QString::fromUtf8("Erreur lors du Paramétrage "));  // trailing blank
    EXPECT_EQ(catalogText(165),
              QString::fromUtf8("Afficher les Spécs de la Capabilité du Processus"));
    EXPECT_EQ(catalogText(169), "Moniteur :");
}

TEST(Catalog, HeadingsTurnBackslashNIntoCrLf) {
    EXPECT_EQ(catalogText(156), "Carte\\nIND/MOY\\nLCS");
    EXPECT_EQ(catalogHeading(156), "Carte\r\nIND/MOY\r\nLCS");
    EXPECT_EQ(catalogHeading(153), QString::fromUtf8("SPECS\r\nSupérieure"));
    for (int number = 153; number <= 161; ++number) {
        const QString heading = catalogHeading(number);
        EXPECT_FALSE(heading.contains("\\n")) << number;
        EXPECT_EQ(heading.count("\r\n"), catalogText(number).count("\\n")) << number;
        EXPECT_EQ(heading.count(u'\n'), heading.count("\r\n")) << number;
    }
    EXPECT_EQ(catalogHeading(112), catalogText(112));
}
