#include <gtest/gtest.h>

#include "app/Catalog.h"

using namespace tolva;

TEST(Catalog, HoldsSixtyEightTextsWithout127) {
    int present = 0;
    for (int number = 101; number <= 169; ++number) {
        if (!catalogText(number).isEmpty())
            ++present;
    }
    EXPECT_EQ(present, 68);
    EXPECT_TRUE(catalogText(127).isEmpty());
    EXPECT_TRUE(catalogText(100).isEmpty());
    EXPECT_TRUE(catalogText(170).isEmpty());
}

TEST(Catalog, TextsStoredExactly) {
    EXPECT_EQ(catalogText(101), QStringLiteral("Configuration"));
    EXPECT_EQ(catalogText(102),
              QString::fromUtf8("Choisissez la connexion ODBC à la base de données "
                                "NOVRAX que vous souhaitez modifier"));
    EXPECT_EQ(catalogText(108), QStringLiteral("(Aucun)"));
    EXPECT_EQ(catalogText(110), QString::fromUtf8("Spécifiez une base de données"));
    // The trailing blank separates it from text 113 in the message.
    EXPECT_EQ(catalogText(112), QString::fromUtf8("Erreur lors du Paramétrage "));
    EXPECT_EQ(catalogText(121), catalogText(126));
    EXPECT_EQ(catalogText(139), QStringLiteral("Editeur TOLVA"));
    EXPECT_EQ(catalogText(150), QStringLiteral("Ca&rte S/Etendue Mobile/Etendue"));
    EXPECT_EQ(catalogText(165),
              QString::fromUtf8("Afficher les Spécs de la Capabilité du Processus"));
    EXPECT_EQ(catalogText(169), QStringLiteral("Moniteur :"));
}

TEST(Catalog, HeadingsTurnBackslashNIntoCrLf) {
    EXPECT_EQ(catalogText(156), QStringLiteral("Carte\\nIND/MOY\\nLCS"));
    EXPECT_EQ(catalogHeading(156), QStringLiteral("Carte\r\nIND/MOY\r\nLCS"));
    EXPECT_EQ(catalogHeading(153), QString::fromUtf8("SPECS\r\nSupérieure"));
    for (int number = 153; number <= 161; ++number) {
        const QString heading = catalogHeading(number);
        EXPECT_FALSE(heading.contains(QLatin1String("\\n"))) << number;
        EXPECT_TRUE(heading.contains(QLatin1String("\r\n"))) << number;
        EXPECT_EQ(heading.count(u'\n'), catalogText(number).count(QLatin1String("\\n"))) << number;
    }
    // Other texts come through unchanged.
    EXPECT_EQ(catalogHeading(112), catalogText(112));
}
