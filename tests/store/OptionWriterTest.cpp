#include <gtest/gtest.h>

#include "StoreTestSupport.h"
#include "app/Catalog.h"
#include "store/OptionWriter.h"

namespace tolva::test {
namespace {

class OptionWriterTest : public ::testing::Test {
protected:
    FakeUiPort ui;
    DbConnection db;
};

TEST_F(OptionWriterTest, NewOptionNameTakesTheNextNumberThenKeepsIt) {
    MonitorData data({34, 35});
    StatementLog log;
    ASSERT_TRUE(WriteOptionValue(db, "XChartUCLConstant", 34, TaggedValue::number(5.5)));
    ASSERT_TRUE(WriteOptionValue(db, "XChartUCLConstant", 34, TaggedValue::number(-7.25)));
    ASSERT_TRUE(WriteOptionValue(db, "XChartUCLConstant", 35, TaggedValue::number(3)));
    const QString lookup = "SELECT OPTID FROM CSOPT WHERE NAME = 'XChartUCLConstant'";
    const QString read = "SELECT TVAL FROM CSMDAT WHERE MONID = 12 AND CHRTID = %1 AND OPTID = 141";
    EXPECT_EQ(
        log.statements(),
        (QStringList{
            lookup, "SELECT * FROM CSOPRN", "UPDATE CSOPRN SET MAXNO = 141 WHERE MAXNO = 140",
            "INSERT INTO CSOPT (OPTID, NAME, OTYPE) VALUES (141, 'XChartUCLConstant', 'TEXT')",
            read.arg(34),
            "INSERT INTO CSMDAT (MONID, CHRTID, OPTID, TVAL) VALUES (12, 34, 141, '5.5')", lookup,
            read.arg(34),
            "UPDATE CSMDAT SET TVAL = '-7.25' WHERE MONID = 12 AND CHRTID = 34 AND OPTID = 141",
            lookup, read.arg(35),
            "INSERT INTO CSMDAT (MONID, CHRTID, OPTID, TVAL) VALUES (12, 35, 141, '3')"}));
    EXPECT_EQ(log.connectionsOpened(), 1);
    EXPECT_EQ(MonitorData::maxNo(), 141);
    EXPECT_EQ(TestDatabase::rows("SELECT OPTID, NAME, OTYPE FROM CSOPT"),
              (QVector<QStringList>{{"141", "XChartUCLConstant", "TEXT"}}));
    EXPECT_EQ(MonitorData::value(34, "XChartUCLConstant"), "-7.25");
    EXPECT_TRUE(ui.shown.isEmpty());
}

TEST_F(OptionWriterTest, CounterWithoutRowStopsWith111) {
    MonitorData data({34});
    TestDatabase::exec("DELETE FROM CSOPRN");
    ui.busy = true;
    EXPECT_FALSE(WriteOptionValue(db, "XChartUCLConstant", 34, TaggedValue::number(5.5)));
    expectOneCriticalBox(ui, catalogText(111));
    EXPECT_EQ(ui.shown.value(0).text, catalogText(111));
    EXPECT_EQ(MonitorData::count("SELECT COUNT(*) FROM CSOPT"), 0);
    EXPECT_EQ(MonitorData::count("SELECT COUNT(*) FROM CSMDAT"), 0);
}

TEST_F(OptionWriterTest, FailedDeleteShows114WithTheDriverText) {
    MonitorData data({34});
    data.set(34, "ProcCapDelta", "0.5");
    TestDatabase::exec("DROP TABLE CSMDAT");
    EXPECT_FALSE(DeleteOptionValue(db, "ProcCapDelta", 34));
    const QString head = catalogText(114) + " ProcCapDelta\r\n\r\n";
    expectOneCriticalBox(ui, head);
    EXPECT_GT(ui.shown.value(0).text.size(), head.size());
}

TEST_F(OptionWriterTest, TwoEditorsCreatingOptionsAtOnceGetDistinctNumbers) {
    MonitorData data({34});
    DbConnection second;
    {
        // The other editor takes 141 between this one's reading of the counter and its update.
        StatementTrap trap("UPDATE CSOPRN SET MAXNO = 141 WHERE MAXNO = 140", [&] {
            EXPECT_TRUE(WriteOptionValue(second, "RChartUCLConstant", 34, TaggedValue::number(2)));
        });
        ASSERT_TRUE(WriteOptionValue(db, "XChartUCLConstant", 34, TaggedValue::number(5.5)));
        EXPECT_EQ(trap.fired, 1);
    }
    EXPECT_TRUE(ui.shown.isEmpty());
    EXPECT_EQ(TestDatabase::rows("SELECT OPTID, NAME FROM CSOPT ORDER BY OPTID"),
              (QVector<QStringList>{{"141", "RChartUCLConstant"}, {"142", "XChartUCLConstant"}}));
    EXPECT_EQ(MonitorData::maxNo(), 142);
    EXPECT_EQ(MonitorData::value(34, "XChartUCLConstant"), "5.5");
    EXPECT_EQ(MonitorData::value(34, "RChartUCLConstant"), "2");

    // A counter that never holds still: the writer gives up instead of looping.
    StatementTrap always(
        "UPDATE CSOPRN SET MAXNO",
        [] { TestDatabase::exec("UPDATE CSOPRN SET MAXNO = MAXNO + 1"); }, true);
    EXPECT_FALSE(WriteOptionValue(db, "XChartLCLConstant", 34, TaggedValue::number(1)));
    EXPECT_GE(always.fired, 2);
    expectOneCriticalBox(
        ui, catalogText(112) + " 'XChartLCLConstant' " + catalogText(113) + " '1'\r\n\r\n");
    EXPECT_EQ(MonitorData::count("SELECT COUNT(*) FROM CSOPT"), 2);
}

}  // namespace
}  // namespace tolva::test
