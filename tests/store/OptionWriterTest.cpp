#include <gtest/gtest.h>

#include "StoreTestSupport.h"
#include "core/Catalog.h"
#include "core/OptionReader.h"
#include "core/OptionWriter.h"

namespace tolva::test {
namespace {

using OptionWriterTest = StoreTest;

TEST_F(OptionWriterTest, NewOptionNameTakesTheNextNumberThenKeepsItAndFailuresSayWhat) {
    MonitorData data({34, 35});
    MonitorLink db(appState());
    StatementLog log;
    ASSERT_TRUE(WriteOptionValue(db, "XChartUCLConstant", 34, num(5.5)));
    EXPECT_EQ(
        log.statements(),
        (QStringList{
            "SELECT OPTID FROM CSOPT WHERE NAME = 'XChartUCLConstant'", "SELECT * FROM CSOPRN",
            "UPDATE CSOPRN SET MAXNO = 141 WHERE MAXNO = 140",
            "INSERT INTO CSOPT (OPTID, NAME, OTYPE) VALUES (141, 'XChartUCLConstant', 'TEXT')",
            "SELECT TVAL FROM CSMDAT WHERE MONID = 12 AND CHRTID = 34 AND OPTID = 141",
            "INSERT INTO CSMDAT (MONID, CHRTID, OPTID, TVAL) VALUES (12, 34, 141, '5.5')"}));
    ASSERT_TRUE(WriteOptionValue(db, "XChartUCLConstant", 34, num(-7.25)));
    ASSERT_TRUE(WriteOptionValue(db, "XChartUCLConstant", 35, num(3)));
    EXPECT_EQ(log.statements().mid(6).filter("CSOPRN"), QStringList());  // number reused
    EXPECT_EQ(log.statements().last(),
              "INSERT INTO CSMDAT (MONID, CHRTID, OPTID, TVAL) VALUES (12, 35, 141, '3')");
    EXPECT_EQ(log.connectionsOpened(), 1);
    EXPECT_EQ(MonitorData::count("SELECT MAXNO FROM CSOPRN"), 141);
    EXPECT_EQ(MonitorData::value(34, "XChartUCLConstant"), "-7.25");

    // A failed delete names the option, then the driver's reason; the row stays.
    TestDatabase::exec("ALTER TABLE CSMDAT RENAME TO CSMDAT_AWAY");
    const StoreOutcome outcome = DeleteOptionValue(db, "XChartUCLConstant", 34);
    TestDatabase::exec("ALTER TABLE CSMDAT_AWAY RENAME TO CSMDAT");
    expectFailure(outcome, catalogText(114) + " XChartUCLConstant\r\n\r\n");
    EXPECT_GT(outcome.text().size(), catalogText(114).size() + 22);
    EXPECT_EQ(MonitorData::value(34, "XChartUCLConstant"), "-7.25");
    // Without a counter row no new number can be taken.
    TestDatabase::exec("DELETE FROM CSOPRN");
    EXPECT_EQ(WriteOptionValue(db, "RChartUCLConstant", 34, num(1)).text(), catalogText(111));
    EXPECT_EQ(MonitorData::count("SELECT COUNT(*) FROM CSOPT"), 1);
    EXPECT_EQ(MonitorData::count("SELECT COUNT(*) FROM CSMDAT"), 2);
}

TEST_F(OptionWriterTest, TwoEditorsCreatingOptionsAtOnceGetDistinctNumbers) {
    MonitorData data({34});
    MonitorLink db(appState()), second(appState());
    // The other editor takes 141 between this one's reading of the counter and its update.
    StatementTrap trap("UPDATE CSOPRN SET MAXNO = 141 WHERE MAXNO = 140", [&] {
        EXPECT_TRUE(WriteOptionValue(second, "RChartUCLConstant", 34, num(2)));
    });
    ASSERT_TRUE(WriteOptionValue(db, "XChartUCLConstant", 34, num(5.5)));
    const QString optId = "SELECT OPTID FROM CSOPT WHERE NAME = '%1'";
    EXPECT_EQ(MonitorData::count(optId.arg("RChartUCLConstant")), 141);
    EXPECT_EQ(MonitorData::count(optId.arg("XChartUCLConstant")), 142);
    EXPECT_EQ(MonitorData::value(34, "XChartUCLConstant"), "5.5");
}

}  // namespace
}  // namespace tolva::test
