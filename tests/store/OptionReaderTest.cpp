#include <gtest/gtest.h>

#include "StoreTestSupport.h"
#include "core/OptionReader.h"

namespace tolva::test {
namespace {

// "lower | centre | upper" of one group.
QString shown(const OptionCell& low, const OptionCell& mid, const OptionCell& high) {
    return QStringList{valueText(low.Current), valueText(mid.Current), valueText(high.Current)}
        .join(" | ");
}

using OptionReaderTest = StoreTest;

// Stored numbers are read with "." although the desktop uses ",". (The plain
// tolerance, lower/upper and constant-limit types are read on the demo by the grid test.)
TEST_F(OptionReaderTest, TypesDecideWhichLimitsAreShownInOneRead) {
    const struct {
        const char *type, *nominal, *delta, *expected;  // "-": no row
    } cases[] = {
        {"0", "10", "-", "- | 10 | -"},
        {"0", "0", "0.5", "-0.5 | 0 | 0.5"},
        {"-", "10", "2", "8 | 10 | 12"},
        {"4", "10", "2", "8 | 10 | 12"},
        {" 1", "10", "2", "8 | 10 | 12"},
        {"2", "10", "2", "1 | 10 | -"},
        {"3", "-", "2", "- | 0 | 12.5"},
        {nullptr, "10", "2", "- | - | -"},
        // Text in a tolerance group opens the chart; the limits cannot be worked out.
        {"0", "abc", "2", "- | \"abc\" | -"},
        {"0", "10", "abc", "- | 10 | -"},
        {"0", "10", "0", "- | 10 | -"},
    };
    const qint32 charts = qint32(std::size(cases));
    MonitorData data({1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11});
    for (qint32 chart = 1; chart <= charts; ++chart) {
        const auto& c = cases[chart - 1];
        data.setAll(chart,
                    "ProcCapLower=1 ProcCapUpper=12.5 XChartLCLConstant=8 "
                    "XChartUCLConstant=12.25 RChartLCLConstant=8");
        for (auto [name, tval] : {std::pair{"ProcCapSpecType", c.type},
                                  {"ProcCapNominal", c.nominal},
                                  {"ProcCapDelta", c.delta}}) {
            if (!tval || qstrcmp(tval, "-") != 0)
                data.set(chart, name, tval);
        }
    }
    data.setAll(1, "RTypeOfLCLandUCL=2 RChartCenterLineValue=abc RChartUCLConstant=12,5");
    data.setAll(2, "XTypeOfLCLandUCL=1");
    // What is not wholly a number stays the stored text, so a save of its group stops.
    data.setAll(3, "RTypeOfLCLandUCL=2 RChartUCLConstant=12.5abc");
    TestDatabase::exec("UPDATE CSCHRT SET NAME = '  Diametre  ' WHERE CHRTID = 1");
    StatementLog log;
    ASSERT_TRUE(LoadMonitorOptions(appState()));
    EXPECT_EQ(log.connectionsOpened(), 1);
    // The profile, its charts, all their options; a server also says whether it
    // keeps the journal.
    const bool server = TestDatabase::backend() != QLatin1String("sqlite");
    EXPECT_EQ(log.statements().size(), server ? 4 : 3);
    for (qint32 chart = 1; chart <= charts; ++chart) {
        const OptionRow& r = data.row(chart);
        EXPECT_EQ(shown(r.SpecLower, r.SpecNominal, r.SpecUpper), cases[chart - 1].expected)
            << chart;
    }
    // Control limits only for the constant type.
    const OptionRow &r1 = data.row(1), &r2 = data.row(2), &r3 = data.row(3);
    EXPECT_EQ(r1.ChartName, "Diametre");
    EXPECT_EQ(shown(r1.RLcl, r1.RCl, r1.RUcl), "8 | \"abc\" | 12.5");  // the French desktop's ","
    EXPECT_EQ(shown(r3.RLcl, r3.RCl, r3.RUcl), "8 | - | \"12.5abc\"");
    EXPECT_EQ(shown(r2.XLcl, r2.XCl, r2.XUcl), "- | - | -");  // type 1
    EXPECT_EQ(shown(r3.XLcl, r3.XCl, r3.XUcl), "- | - | -");  // no type
    // A monitor gone has no options, which is no failure; the table in use stays.
    appState().gMonitors[0].MonId = 13;
    EXPECT_EQ(LoadMonitorOptions(appState()).message, Msg::NoTolvaOptions);
    EXPECT_EQ(appState().gOptionRows.size(), charts);
}

// Two rows for one chart and option (here through a second definition of the
// name): the cell shows the first and knows of both, as a save updates both.
TEST_F(OptionReaderTest, SeveralStoredRowsForOneValueAreKnownToItsCell) {
    MonitorData data({1, 2});
    for (qint32 chart : {1, 2})
        data.setAll(chart, "XTypeOfLCLandUCL=2 XChartLCLConstant=1 XChartUCLConstant=12");
    TestDatabase::execAll({"INSERT INTO CSOPT VALUES (99, 'XChartUCLConstant', 'TEXT')",
                           "INSERT INTO CSMDAT VALUES (12, 1, 99, '99')"});
    ASSERT_TRUE(LoadMonitorOptions(appState()));
    const OptionTable& table = appState().gOptionRows;
    QStringList texts = table.storedTexts(MonitorData::rowIndex(1), &OptionRow::XUcl);
    texts.sort();
    EXPECT_EQ(texts, QStringList({"12", "99"}));
    EXPECT_EQ(table.storedTexts(MonitorData::rowIndex(2), &OptionRow::XUcl), QStringList());
    EXPECT_EQ(table.storedTexts(MonitorData::rowIndex(1), &OptionRow::XLcl), QStringList());
}

}  // namespace
}  // namespace tolva::test
