#include <gtest/gtest.h>

#include "DelayProxy.h"
#include "StoreTestSupport.h"
#include "core/Catalog.h"
#include "core/OptionReader.h"
#include "core/SaveWalk.h"

namespace tolva::test {
namespace {

using LostConnectionTest = StoreTest;

TEST_F(LostConnectionTest, LinkCutInTheMiddleOfAGroupLeavesThatGroupAsItWas) {
    if (TestDatabase::backend() != QLatin1String("postgres"))
        GTEST_SKIP() << "needs a server at the other end of a TCP connection";
    MonitorData data({34, 35});
    data.setAll(34, "XTypeOfLCLandUCL=1 XChartCenterLine=0 XChartCenterLineValue=0");
    data.setAll(35, "XTypeOfLCLandUCL=2 XChartLCLConstant=1 XChartUCLConstant=5");
    ASSERT_TRUE(LoadMonitorOptions());

    netdelay::DelayProxy proxy(
        {quint16(TestDatabase::setting("Port").toUInt()), {}, 4, std::chrono::seconds(60)});
    appState().gConnStr = TestDatabase::connectionString() +
                          QStringLiteral("Servername=127.0.0.1;Port=%1;").arg(proxy.port());
    setGroup(MonitorData::row(34), OptionGroup::X, num(1), num(2), num(3));
    setGroup(MonitorData::row(35), OptionGroup::X, num(2), num(3), num(4));
    // The link breaks after the second group's first update, before its insert.
    StatementTrap trap("INSERT INTO CSMDAT (MONID, CHRTID, OPTID, TVAL) VALUES (12, 35, ",
                       [&] { proxy.cutAll(); });
    EXPECT_FALSE(SaveMonitorOptions());
    EXPECT_EQ(trap.fired, 1);
    EXPECT_EQ(proxy.connectionsAccepted(), 1);
    expectOneCriticalBox(ui, catalogText(112) + " 'XChartCenterLine' ");

    QStringList chart34, chart35;
    for (const char* name :
         {"XTypeOfLCLandUCL", "XChartLCLConstant", "XChartCenterLineValue", "XChartUCLConstant"}) {
        chart34 << MonitorData::value(34, name);
        chart35 << MonitorData::value(35, name);
    }
    EXPECT_EQ(chart34.join(' '), "2 1 2 3");       // the group before: written
    EXPECT_EQ(chart35.join(' '), "2 1 <none> 5");  // the cut group: as it was
}

}  // namespace
}  // namespace tolva::test
