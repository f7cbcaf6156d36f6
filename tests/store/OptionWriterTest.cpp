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

}  // namespace
}  // namespace tolva::test
