#include <gtest/gtest.h>

#include "StoreTestSupport.h"
#include "core/Catalog.h"
#include "core/OptionReader.h"
#include "core/SaveWalk.h"

namespace tolva::test {
namespace {

using OptionWriterTest = StoreTest;

// A name never defined needs a number from CSOPRN: without a counter row the
// save stops there, and the groups before it are still written and counted.
TEST_F(OptionWriterTest, WithoutACounterRowTheSaveStopsAtTheFirstNewName) {
    MonitorData data({34});
    data.setAll(34, "XTypeOfLCLandUCL=2 XChartLCLConstant=1 XChartUCLConstant=4");
    TestDatabase::exec("DELETE FROM CSOPRN");
    ASSERT_TRUE(LoadMonitorOptions(appState()));
    setGroup(34, OptionGroup::X, num(1), TaggedValue(), num(5));
    setGroup(34, OptionGroup::R, num(1), TaggedValue(), num(5));
    const StoreOutcome outcome = SaveMonitorOptions(appState());
    EXPECT_EQ(outcome.text(), catalogText(111) + "\r\n" + catalogText(216).arg(0));
    EXPECT_EQ(outcome.writtenGroups.size(), 1);
    EXPECT_EQ(MonitorData::value(34, "XChartUCLConstant"), "5");
    EXPECT_EQ(MonitorData::value(34, "RChartUCLConstant"), "<none>");
    EXPECT_EQ(MonitorData::count("SELECT COUNT(*) FROM CSOPT"), 3);
}

TEST_F(OptionWriterTest, ChartsOfOneSaveShareTheOptionsTheyCreate) {
    MonitorData data({34, 35, 36});
    data.setAll(36, "XTypeOfLCLandUCL=2 XChartLCLConstant=1 XChartUCLConstant=4");
    data.set(36, "XChartCenterLineValue", nullptr);
    ASSERT_TRUE(LoadMonitorOptions(appState()));
    EXPECT_TRUE(MonitorData::row(36).XCl.Loaded.isEmpty());  // a null is no value
    for (qint32 chart : {34, 35})
        setGroup(chart, OptionGroup::X, num(1), num(2), num(3));
    setGroup(36, OptionGroup::X, num(1), TaggedValue(), num(5));
    ASSERT_TRUE(SaveMonitorOptions(appState()));
    // The centre line's flag was new to both charts: one definition, one number.
    EXPECT_EQ(MonitorData::count("SELECT COUNT(*) FROM CSOPT"), 5);
    EXPECT_EQ(MonitorData::count("SELECT MAXNO FROM CSOPRN"), 141);
    EXPECT_EQ(MonitorData::count("SELECT COUNT(*) FROM CSMDAT WHERE CHRTID = 35"), 5);
    EXPECT_EQ(MonitorData::count("SELECT COUNT(*) FROM CSMDAT WHERE CHRTID = 36"), 3);
    EXPECT_EQ(MonitorData::value(36, "XChartUCLConstant"), "5");
}

}  // namespace
}  // namespace tolva::test
