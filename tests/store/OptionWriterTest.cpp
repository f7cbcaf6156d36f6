#include <gtest/gtest.h>

#include "StoreTestSupport.h"
#include "core/Catalog.h"
#include "core/OptionReader.h"
#include "core/OptionSnapshot.h"
#include "core/OptionWriter.h"
#include "core/SaveWalk.h"

namespace tolva::test {
namespace {

using OptionWriterTest = StoreTest;

TEST_F(OptionWriterTest, NewOptionNameTakesTheNextNumberThenKeepsItAndFailuresSayWhat) {
    MonitorData data({34, 35});
    MonitorLink db(appState());
    OptionSnapshot known;
    StatementLog log;
    ASSERT_TRUE(WriteOptionValue(db, "XChartUCLConstant", 34, num(5.5), known));
    ASSERT_TRUE(WriteOptionValue(db, "XChartUCLConstant", 34, num(-7.25), known));
    ASSERT_TRUE(WriteOptionValue(db, "XChartUCLConstant", 35, num(3), known));
    EXPECT_EQ(log.statements().filter("CSOPRN").size(), 2);  // one read, one update
    EXPECT_EQ(log.connectionsOpened(), 1);
    EXPECT_EQ(MonitorData::count("SELECT MAXNO FROM CSOPRN"), 141);
    EXPECT_EQ(MonitorData::count("SELECT COUNT(*) FROM CSMDAT"), 2);
    EXPECT_EQ(MonitorData::value(34, "XChartUCLConstant"), "-7.25");
    EXPECT_EQ(MonitorData::value(35, "XChartUCLConstant"), "3");

    // A failed delete names the option, then the driver's reason; the row stays.
    TestDatabase::exec("ALTER TABLE CSMDAT RENAME TO CSMDAT_AWAY");
    const StoreOutcome outcome = DeleteOptionValue(db, "XChartUCLConstant", 34, known);
    TestDatabase::exec("ALTER TABLE CSMDAT_AWAY RENAME TO CSMDAT");
    expectFailure(outcome, catalogText(114) + " XChartUCLConstant\r\n\r\n");
    EXPECT_GT(outcome.text().size(), catalogText(114).size() + 22);
    EXPECT_EQ(MonitorData::value(34, "XChartUCLConstant"), "-7.25");
    // Without a counter row no new number can be taken.
    TestDatabase::exec("DELETE FROM CSOPRN");
    EXPECT_EQ(WriteOptionValue(db, "RChartUCLConstant", 34, num(1), known).text(),
              catalogText(111));
    EXPECT_EQ(MonitorData::count("SELECT COUNT(*) FROM CSOPT"), 1);
    EXPECT_EQ(MonitorData::count("SELECT COUNT(*) FROM CSMDAT"), 2);
}

TEST_F(OptionWriterTest, TwoEditorsCreatingOptionsAtOnceGetDistinctNumbers) {
    MonitorData data({34});
    MonitorLink db(appState()), second(appState());
    OptionSnapshot known, secondKnown;
    // The other editor takes 141 between this one's reading of the counter and its update.
    StatementTrap trap("UPDATE CSOPRN SET MAXNO = 141 WHERE MAXNO = 140", [&] {
        EXPECT_TRUE(WriteOptionValue(second, "RChartUCLConstant", 34, num(2), secondKnown));
    });
    ASSERT_TRUE(WriteOptionValue(db, "XChartUCLConstant", 34, num(5.5), known));
    const QString optId = "SELECT OPTID FROM CSOPT WHERE NAME = '%1'";
    EXPECT_EQ(MonitorData::count(optId.arg("RChartUCLConstant")), 141);
    EXPECT_EQ(MonitorData::count(optId.arg("XChartUCLConstant")), 142);
    EXPECT_EQ(MonitorData::value(34, "XChartUCLConstant"), "5.5");
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
