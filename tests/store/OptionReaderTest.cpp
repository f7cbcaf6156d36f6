#include <gtest/gtest.h>

#include "StoreTestSupport.h"
#include "store/OptionReader.h"

namespace tolva::test {
namespace {

QString show(const TaggedValue& v) {
    return v.isEmpty()    ? QStringLiteral("-")
           : v.isNumber() ? QString::number(v.toNumber())
                          : u'"' + v.toTextValue() + u'"';
}
// "lower | centre | upper" of one group, none of them counting as changed.
QString shown(const OptionCell& low, const OptionCell& mid, const OptionCell& high) {
    for (const OptionCell* c : {&low, &mid, &high})
        EXPECT_FALSE(c->isChanged());
    return show(low.Current) + " | " + show(mid.Current) + " | " + show(high.Current);
}

class OptionReaderTest : public ::testing::Test {
protected:
    FakeUiPort ui;
    FakeEditorPort editor;
};

// Stored numbers are read with "." although the desktop uses ",".
TEST_F(OptionReaderTest, SpecificationTypeDecidesWhichLimitsAreShown) {
    const char* const absent = "absent";
    struct {
        const char *type, *nominal, *delta, *expected;
    } cases[] = {
        {"0", "10", "0.5", "9.5 | 10 | 10.5"}, {"0", "10", absent, "- | 10 | -"},
        {"0", "0", "0.5", "- | - | -"},        {absent, "10", "2", "8 | 10 | 12"},
        {"4", "10", "2", "8 | 10 | 12"},       {" 1", "10", "2", "8 | 10 | 12"},
        {"1", "10", "2", "1 | 10 | 12.5"},     {"2", "10", "2", "1 | 10 | -"},
        {"2", absent, "2", "1 | - | -"},       {"3", absent, "2", "- | 0 | 12.5"},
        {nullptr, "10", "2", "- | - | -"},
    };
    MonitorData data({1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11});
    for (const auto& c : cases) {
        const qint32 chart = qint32(&c - cases) + 1;
        data.setAll(chart, "ProcCapLower=1 ProcCapUpper=12.5");
        for (auto [name, tval] :
             {std::pair{"ProcCapSpecType", c.type}, std::pair{"ProcCapNominal", c.nominal},
              std::pair{"ProcCapDelta", c.delta}}) {
            if (tval != absent)
                data.set(chart, name, tval);
        }
    }
    ASSERT_TRUE(LoadMonitorOptions());
    ASSERT_EQ(appState().gOptionRows.size(), 11);
    EXPECT_EQ(appState().gProfId, 50);
    for (const auto& c : cases) {
        const OptionRow& r = data.row(qint32(&c - cases) + 1);
        EXPECT_EQ(shown(r.SpecLower, r.SpecNominal, r.SpecUpper), c.expected) << c.expected;
    }
}

TEST_F(OptionReaderTest, ControlLimitsOnlyForConstantTypeOnOneConnection) {
    MonitorData data({1, 2, 3, 4});
    for (qint32 c : {1, 2, 3, 4})
        data.setAll(c,
                    "XChartLCLConstant=8 XChartUCLConstant=12.25 RChartLCLConstant=8 "
                    "RChartUCLConstant=12.25");
    data.setAll(1, "XTypeOfLCLandUCL=2 XChartCenterLineValue=10 RTypeOfLCLandUCL=2");
    data.set(2, "XTypeOfLCLandUCL", "1");
    data.set(3, "XTypeOfLCLandUCL", "2 ");
    data.setAll(4, "RTypeOfLCLandUCL=2 RChartCenterLineValue=abc");
    TestDatabase::exec("UPDATE CSCHRT SET NAME = '  Diametre  ' WHERE CHRTID = 1");
    StatementLog log;
    ASSERT_TRUE(LoadMonitorOptions());
    EXPECT_EQ(data.row(1).ChartName, "Diametre");
    EXPECT_EQ(log.connectionsOpened(), 1);
    EXPECT_EQ(sqlCounters().connectionsOpened, sqlCounters().connectionsClosed);
    EXPECT_EQ(editor.calls, QStringList{"beginOptionLoad"});
    EXPECT_EQ(ui.eventPasses, 1);
    EXPECT_FALSE(ui.busy);
    const QStringList x = {"8 | 10 | 12.25", "- | - | -", "- | - | -", "- | - | -"};
    const QStringList r = {"8 | - | 12.25", "- | - | -", "- | - | -", "8 | \"abc\" | 12.25"};
    for (qint32 c : {1, 2, 3, 4}) {
        const OptionRow& row = data.row(c);
        EXPECT_EQ(shown(row.XLcl, row.XCl, row.XUcl), x[c - 1]) << c;
        EXPECT_EQ(shown(row.RLcl, row.RCl, row.RUcl), r[c - 1]) << c;
    }
}

TEST_F(OptionReaderTest, FailuresEndTheLoadWithFalse) {
    MonitorData data({34, 35});
    data.setAll(34, "ProcCapSpecType=0 ProcCapNominal=10");
    ASSERT_TRUE(LoadMonitorOptions());

    data.set(34, "ProcCapDelta", "abc");  // a tolerance that is no number
    EXPECT_FALSE(LoadMonitorOptions());
    TestDatabase::exec("DELETE FROM CSCINP WHERE CHRTID = 34");
    ASSERT_TRUE(LoadMonitorOptions());
    TestDatabase::exec("UPDATE CSCHRT SET NAME = NULL WHERE CHRTID = 35");
    EXPECT_FALSE(LoadMonitorOptions());
    TestDatabase::exec("DELETE FROM CSCINP");  // a profile without charts
    EXPECT_FALSE(LoadMonitorOptions());
    appState().gConnStr = "DSN=TOLVA_NO_SUCH_SOURCE;UID=x;PWD=y;";
    EXPECT_FALSE(LoadMonitorOptions());
    EXPECT_FALSE(ui.busy);
    EXPECT_TRUE(ui.shown.isEmpty());
}

}  // namespace
}  // namespace tolva::test
