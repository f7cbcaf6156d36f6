#include <gtest/gtest.h>

#include "CoreTestSupport.h"
#include "core/Catalog.h"
#include "core/CsvExport.h"
#include "core/ViewState.h"

using namespace tolva;

// Two characteristics of a monitor, a hidden group's value left out, the
// current value exported rather than the loaded one, fields quoted as needed.
TEST(CsvExport, ShownColumnsInTheRegionalFormWithQuoting) {
    const struct {
        const char* locale;
        bool query, proc, chartGroups;
        const char* expected;
    } cases[] = {
        {"fr_FR", true, false, true,
         "Caractéristique;Requête;Carte IND/MOY LCI;Carte IND/MOY LC;Carte IND/MOY LCS;"
         "Carte MR/R/S LCI;Carte MR/R/S LC;Carte MR/R/S LCS\r\n"
         "Ø, axe;Lot A;12,5;;-0,001;;\"a;b \"\"c\"\"\";\r\n"
         "Longueur;\"Lot\nB\";;3;;;;x,y\r\n"},
        {"en_US", true, false, true,
         "Caractéristique,Requête,Carte IND/MOY LCI,Carte IND/MOY LC,Carte IND/MOY LCS,"
         "Carte MR/R/S LCI,Carte MR/R/S LC,Carte MR/R/S LCS\r\n"
         "\"Ø, axe\",Lot A,12.5,,-0.001,,\"a;b \"\"c\"\"\",\r\n"
         "Longueur,\"Lot\nB\",,3,,,,\"x,y\"\r\n"},
        {"fr_FR", false, true, false,
         "Caractéristique;SPECS Inférieure;SPECS Nominal;SPECS Supérieure\r\n"
         "Ø, axe;99;;\r\nLongueur;;;\r\n"},
    };
    for (const auto& c : cases) {
        test::LocaleScope locale(c.locale);
        SharedState& s = appState();
        s.reset();
        QString* const headings[] = {&s.gCapSpecUpper, &s.gCapSpecNominal, &s.gCapSpecLower,
                                     &s.gCapXUcl,      &s.gCapXLcl,        &s.gCapXCl,
                                     &s.gCapRUcl,      &s.gCapRLcl,        &s.gCapRCl};
        for (int i = 0; i < 9; ++i)
            *headings[i] = catalogHeading(153 + i);
        s.gMonitors = {{QStringLiteral("Presse"), 7, c.query}};
        s.gMonitorIndex = 0;
        s.gShowProc = c.proc;
        s.gShowX = s.gShowR = c.chartGroups;
        ApplyViewState(s);
        QVector<OptionRow> rows(2);
        rows[0].SpecLower.Current = TaggedValue::number(99);
        rows[0].XLcl.Current = TaggedValue::number(12.5);
        rows[0].XUcl.Current = TaggedValue::number(-0.001);
        rows[0].XUcl.Loaded = TaggedValue::number(7);
        rows[0].RCl.Current = TaggedValue::text(QStringLiteral("a;b \"c\""));
        rows[1].XCl.Current = TaggedValue::number(3);
        rows[1].RUcl.Current = TaggedValue::text(QStringLiteral("x,y"));
        s.gOptionRows = rows;
        const QStringList characteristics = {QStringLiteral("Ø, axe"), QStringLiteral("Longueur")};
        const QStringList queries = {QStringLiteral("Lot A"), QStringLiteral("Lot\nB")};
        EXPECT_EQ(BuildCsvExport(s, characteristics, queries),
                  QByteArray("\xEF\xBB\xBF") + QByteArray(c.expected))
            << c.locale;
    }
}
