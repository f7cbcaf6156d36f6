#include <gtest/gtest.h>

#include "StoreTestSupport.h"
#include "core/Catalog.h"
#include "core/OptionReader.h"

namespace tolva::test {
namespace {

// "lower | centre | upper" of one group.
QString shown(const OptionCell& low, const OptionCell& mid, const OptionCell& high) {
    return QStringList{valueText(low.Current), valueText(mid.Current), valueText(high.Current)}
        .join(" | ");
}

using OptionReaderTest = StoreTest;

// Stored numbers are read with "." although the desktop uses ",".
TEST_F(OptionReaderTest, TypesDecideWhichLimitsAreShownAfterThreeStatements) {
    const struct {
        const char *type, *nominal, *delta, *expected;  // "-": no row
    } cases[] = {
        {"0", "10", "0.5", "9.5 | 10 | 10.5"},
        {"0", "10", "-", "- | 10 | -"},
        {"0", "0", "0.5", "-0.5 | 0 | 0.5"},
        {"-", "10", "2", "8 | 10 | 12"},
        {"4", "10", "2", "8 | 10 | 12"},
        {" 1", "10", "2", "8 | 10 | 12"},
        {"1", "10", "2", "1 | 10 | 12.5"},
        {"2", "10", "2", "1 | 10 | -"},
        {"3", "-", "2", "- | 0 | 12.5"},
        {nullptr, "10", "2", "- | - | -"},
        // Text in a tolerance group opens the chart; the limits cannot be worked out.
        {"0", "abc", "2", "- | \"abc\" | -"},
        {"0", "10", "abc", "- | 10 | -"},
        {"0", "10", "0", "- | 10 | -"},
    };
    const qint32 charts = qint32(std::size(cases));
    MonitorData data({1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13});
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
    data.setAll(1,
                "XTypeOfLCLandUCL=2 XChartCenterLineValue=10 RTypeOfLCLandUCL=2 "
                "RChartCenterLineValue=abc RChartUCLConstant=12,5");
    // What is not wholly a number stays the stored text, so a save of its group stops.
    data.setAll(3, "RTypeOfLCLandUCL=2 RChartUCLConstant=12.5abc");
    data.setAll(2, "XTypeOfLCLandUCL=1");
    TestDatabase::exec("UPDATE CSCHRT SET NAME = '  Diametre  ' WHERE CHRTID = 1");
    StatementLog log;
    ASSERT_TRUE(LoadMonitorOptions());
    EXPECT_EQ(log.connectionsOpened(), 1);
    // The profile, its charts, then every option row of those charts at once.
    const QStringList sql = log.statements();
    ASSERT_EQ(sql.size(), 3);
    EXPECT_EQ(sql[0], "SELECT PROFID FROM CSMON WHERE MONID = 12");
    EXPECT_EQ(sql[1],
              "SELECT NAME, CHRTID FROM CSCHRT WHERE CHRTID IN (SELECT CHRTID FROM CSCINP WHERE "
              "PROFID = 50)");
    EXPECT_TRUE(
        sql[2].startsWith("SELECT CSMDAT.CHRTID, CSMDAT.OPTID, CSOPT.NAME, CSMDAT.TVAL "
                          "FROM CSMDAT, CSOPT WHERE CSMDAT.MONID = 12 AND CSOPT.OPTID = "
                          "CSMDAT.OPTID AND CSOPT.NAME IN ('RTypeOfLCLandUCL', "));
    EXPECT_TRUE(sql[2].endsWith(
        "'ProcCapUpper') AND CSMDAT.CHRTID IN (SELECT CHRTID FROM CSCINP WHERE PROFID = 50)"));
    EXPECT_EQ(appState().gProfId, 50);
    for (qint32 chart = 1; chart <= charts; ++chart) {
        const OptionRow& r = data.row(chart);
        EXPECT_EQ(shown(r.SpecLower, r.SpecNominal, r.SpecUpper), cases[chart - 1].expected)
            << chart;
    }
    // Control limits only for the constant type.
    const OptionRow &r1 = data.row(1), &r2 = data.row(2), &r3 = data.row(3);
    EXPECT_EQ(r1.ChartName, "Diametre");
    EXPECT_EQ(shown(r1.XLcl, r1.XCl, r1.XUcl), "8 | 10 | 12.25");
    EXPECT_EQ(shown(r1.RLcl, r1.RCl, r1.RUcl), "8 | \"abc\" | 12.5");  // the French desktop's ","
    EXPECT_EQ(shown(r3.RLcl, r3.RCl, r3.RUcl), "8 | - | \"12.5abc\"");
    EXPECT_EQ(shown(r2.XLcl, r2.XCl, r2.XUcl), "- | - | -");  // type 1
    EXPECT_EQ(shown(r3.XLcl, r3.XCl, r3.XUcl), "- | - | -");  // no type
}

// A monitor without charts is told apart from a database that failed, and
// neither leaves the grid over a table other than the one in use.
TEST_F(OptionReaderTest, FailedLoadSaysWhyAndKeepsTheTableInUse) {
    MonitorData data({34, 35});
    data.setAll(34, "ProcCapSpecType=1 ProcCapNominal=10");
    ASSERT_TRUE(LoadMonitorOptions());
    SharedState& s = appState();
    const auto inUse = [&] {
        return QStringLiteral("%1 rows, profile %2, %3")
            .arg(s.gOptionRows.size())
            .arg(s.gProfId)
            .arg(valueText(MonitorData::row(34).SpecNominal.Current));
    };
    const QString before = inUse();
    const struct {
        const char* what;
        std::function<void()> make, undo;
        int message;  // 0: the driver's text
        const char* driverSays;
    } cases[] = {
        {"profile without charts", [] { TestDatabase::exec("DELETE FROM CSCINP"); },
         [] {
             TestDatabase::execAll({"INSERT INTO CSCINP (PROFID, CHRTID) VALUES (50, 34)",
                                    "INSERT INTO CSCINP (PROFID, CHRTID) VALUES (50, 35)"});
         },
         Msg::NoTolvaOptions, ""},
        {"monitor gone", [&] { s.gMonitors[0].MonId = 13; }, [&] { s.gMonitors[0].MonId = 12; },
         Msg::NoTolvaOptions, ""},
        {"chart without a name",
         [] { TestDatabase::exec("UPDATE CSCHRT SET NAME = NULL WHERE CHRTID = 35"); },
         [] { TestDatabase::exec("UPDATE CSCHRT SET NAME = 'Cote 35' WHERE CHRTID = 35"); }, 0,
         "NULL"},
        {"table gone", [] { TestDatabase::exec("ALTER TABLE CSMDAT RENAME TO CSMDAT_AWAY"); },
         [] { TestDatabase::exec("ALTER TABLE CSMDAT_AWAY RENAME TO CSMDAT"); }, 0, "csmdat"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        c.make();
        const StoreOutcome outcome = LoadMonitorOptions();
        c.undo();
        EXPECT_FALSE(outcome.ok());
        EXPECT_EQ(outcome.message, c.message);
        if (c.message != 0)
            EXPECT_EQ(outcome.text(), catalogText(c.message));
        else
            EXPECT_TRUE(outcome.text().contains(c.driverSays, Qt::CaseInsensitive))
                << outcome.text().toStdString();
        EXPECT_EQ(inUse(), before);
    }
}

}  // namespace
}  // namespace tolva::test
