#include <gtest/gtest.h>
#include <QTemporaryDir>

#include "CoreTestSupport.h"
#include "core/Catalog.h"
#include "core/CsvExport.h"
#include "core/ViewState.h"

using namespace tolva;

namespace {

// A query-profile monitor with two characteristics, the specification group
// hidden and both chart groups shown.
QStringList characteristics, queries;

void prepareState() {
    SharedState& s = appState();
    s.reset();
    QString* const headings[] = {&s.gCapSpecUpper, &s.gCapSpecNominal, &s.gCapSpecLower,
                                 &s.gCapXUcl,      &s.gCapXLcl,        &s.gCapXCl,
                                 &s.gCapRUcl,      &s.gCapRLcl,        &s.gCapRCl};
    for (int i = 0; i < 9; ++i)
        *headings[i] = catalogHeading(153 + i);
    s.gMonitors = {{QStringLiteral("Presse"), 7, 1}};
    s.gMonitorIndex = 0;
    s.gShowProc = false;
    s.gShowX = s.gShowR = true;
    ApplyViewState(appState());
    s.gOptionRows.resize(2);
    s.gOptionRows[0].SpecLower.Current = TaggedValue::number(99);  // hidden: not exported
    s.gOptionRows[0].XLcl.Current = TaggedValue::number(12.5);
    s.gOptionRows[0].XUcl.Current = TaggedValue::number(-0.001);
    s.gOptionRows[0].XUcl.Loaded = TaggedValue::number(7);  // the current value counts
    s.gOptionRows[0].RCl.Current = TaggedValue::text(QStringLiteral("a;b \"c\""));
    s.gOptionRows[1].XCl.Current = TaggedValue::number(3);
    s.gOptionRows[1].RUcl.Current = TaggedValue::text(QStringLiteral("x,y"));
    characteristics = {QStringLiteral("Ø, axe"), QStringLiteral("Longueur")};
    queries = {QStringLiteral("Lot A"), QStringLiteral("Lot\nB")};
}

}  // namespace

TEST(CsvExport, ShownColumnsInTheRegionalFormWithQuoting) {
    const struct {
        const char* locale;
        const char* expected;
    } cases[] = {
        {"fr_FR",
         "Caractéristique;Requête;Carte IND/MOY LCI;Carte IND/MOY LC;Carte IND/MOY LCS;"
         "Carte MR/R/S LCI;Carte MR/R/S LC;Carte MR/R/S LCS\r\n"
         "Ø, axe;Lot A;12,5;;-0,001;;\"a;b \"\"c\"\"\";\r\n"
         "Longueur;\"Lot\nB\";;3;;;;x,y\r\n"},
        {"en_US",
         "Caractéristique,Requête,Carte IND/MOY LCI,Carte IND/MOY LC,Carte IND/MOY LCS,"
         "Carte MR/R/S LCI,Carte MR/R/S LC,Carte MR/R/S LCS\r\n"
         "\"Ø, axe\",Lot A,12.5,,-0.001,,\"a;b \"\"c\"\"\",\r\n"
         "Longueur,\"Lot\nB\",,3,,,,\"x,y\"\r\n"},
    };
    for (const auto& c : cases) {
        test::LocaleScope locale(c.locale);
        prepareState();
        EXPECT_EQ(BuildCsvExport(appState(), characteristics, queries),
                  QByteArray("\xEF\xBB\xBF") + QByteArray(c.expected))
            << c.locale;
    }
    // Without the query column and with the specification group shown.
    test::LocaleScope locale("fr_FR");
    SharedState& s = appState();
    s.gMonitors[0].IsQueryProfile = 0;
    s.gShowProc = true;
    s.gShowX = s.gShowR = false;
    ApplyViewState(appState());
    const QList<QByteArray> lines = BuildCsvExport(s, characteristics, queries).split('\n');
    EXPECT_EQ(lines.value(0),
              "\xEF\xBB\xBF"
              "Caractéristique;SPECS Inférieure;SPECS Nominal;SPECS Supérieure\r");
    EXPECT_EQ(lines.value(1), "Ø, axe;99;;\r");
}

TEST(CsvExport, FileIsWrittenWholeOrAFailureSaysWhy) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Presse.csv"));
    QString reason;
    ASSERT_TRUE(WriteExportFile(path, "a;b\r\n", reason)) << reason.toStdString();
    EXPECT_EQ(test::readBytes(path), "a;b\r\n");

    EXPECT_FALSE(WriteExportFile(dir.filePath(QStringLiteral("missing/Presse.csv")), "x", reason));
    EXPECT_FALSE(reason.isEmpty());
}
