#include <gtest/gtest.h>

#include "StatementTrap.h"
#include "StoreTestSupport.h"
#include "app/Catalog.h"
#include "store/OptionWriter.h"
#include "support/FakeUiPort.h"

namespace tolva::test {
namespace {

const QString kTitle = QStringLiteral("TOLVA Editor");

QString writerMessage(const QString& name, const QString& text) {
    return catalogText(112) + " '" + name + "' " + catalogText(113) + " '" + text + "'\r\n\r\n";
}

class OptionWriterTest : public ::testing::Test {
protected:
    FakeUiPort ui;
};

TEST_F(OptionWriterTest, NewOptionNameTakesNextNumberThenReusesIt) {
    MonitorData data({34, 35});
    DbConnection db;
    {
        StatementLog log;
        ASSERT_TRUE(WriteOptionValue(db, "XChartUCLConstant", 34, TaggedValue::number(5.5)));
        const QStringList expected{
            "SELECT OPTID FROM CSOPT WHERE NAME = 'XChartUCLConstant'",
            "SELECT * FROM CSOPRN",
            "UPDATE CSOPRN SET MAXNO = 141 WHERE MAXNO = 140",
            "INSERT INTO CSOPT (OPTID, NAME, OTYPE) VALUES (141, 'XChartUCLConstant', 'TEXT')",
            "SELECT TVAL FROM CSMDAT WHERE MONID = 12 AND CHRTID = 34 AND OPTID = 141",
            "INSERT INTO CSMDAT (MONID, CHRTID, OPTID, TVAL) VALUES (12, 34, 141, '5.5')"};
        EXPECT_EQ(log.statements(), expected);
        EXPECT_EQ(log.connectionsOpened(), 1);
        EXPECT_TRUE(ui.busy);  // the walk puts the pointer back
    }
    EXPECT_EQ(MonitorData::maxNo(), 141);
    EXPECT_EQ(TestDatabase::rows("SELECT OPTID, NAME, OTYPE FROM CSOPT"),
              (QVector<QStringList>{{"141", "XChartUCLConstant", "TEXT"}}));

    // The same name again: its number is reused, an existing row updated.
    StatementLog log;
    ASSERT_TRUE(WriteOptionValue(db, "XChartUCLConstant", 34, TaggedValue::number(-7.25)));
    ASSERT_TRUE(WriteOptionValue(db, "XChartUCLConstant", 35, TaggedValue::number(3)));
    EXPECT_EQ(log.statements().at(2),
              "UPDATE CSMDAT SET TVAL = '-7.25' WHERE MONID = 12 AND CHRTID = 34 AND OPTID = 141");
    EXPECT_EQ(log.statements().at(5),
              "INSERT INTO CSMDAT (MONID, CHRTID, OPTID, TVAL) VALUES (12, 35, 141, '3')");
    EXPECT_EQ(log.count(), 6);
    EXPECT_EQ(MonitorData::maxNo(), 141);
    EXPECT_EQ(MonitorData::value(34, "XChartUCLConstant"), "-7.25");
    EXPECT_TRUE(ui.shown.isEmpty());
}

TEST_F(OptionWriterTest, NumbersReachTheDatabaseWithDotWhateverTheDesktopUses) {
    ScopedLocale french(QLocale::French, QLocale::France);
    MonitorData data({34});
    DbConnection db;
    ASSERT_TRUE(WriteOptionValue(db, "ProcCapNominal", 34, TaggedValue::number(12.5)));
    ASSERT_TRUE(WriteOptionValue(db, "ProcCapUpper", 34, TaggedValue::number(1234567.5)));
    EXPECT_EQ(MonitorData::value(34, "ProcCapNominal"), "12.5");
    EXPECT_EQ(MonitorData::value(34, "ProcCapUpper"), "1234567.5");
}

TEST_F(OptionWriterTest, CounterWithoutRowStopsWith111) {
    MonitorData data({34});
    TestDatabase::exec("DELETE FROM CSOPRN");
    DbConnection db;
    ui.busy = true;
    EXPECT_FALSE(WriteOptionValue(db, "XChartUCLConstant", 34, TaggedValue::number(5.5)));
    ASSERT_EQ(ui.shown.size(), 1);
    EXPECT_EQ(ui.shown[0].text, catalogText(111));
    EXPECT_EQ(ui.shown[0].icon, UiPort::Icon::Critical);
    EXPECT_EQ(ui.shown[0].title, kTitle);
    EXPECT_FALSE(ui.busy);
    EXPECT_EQ(TestDatabase::scalar("SELECT COUNT(*) FROM CSOPT").toInt(), 0);
    EXPECT_EQ(TestDatabase::scalar("SELECT COUNT(*) FROM CSMDAT").toInt(), 0);
}

TEST_F(OptionWriterTest, RefusedWriteShows112WithDriverText) {
    MonitorData data({34});
    refuseNewValues();
    DbConnection db;
    EXPECT_FALSE(WriteOptionValue(db, "XChartUCLConstant", 34, TaggedValue::number(5.5)));
    ASSERT_EQ(ui.shown.size(), 1);
    const QString text = ui.shown[0].text;
    const QString head = writerMessage("XChartUCLConstant", "5.5");
    ASSERT_TRUE(text.startsWith(head)) << text.toStdString();
    const QString driverText = text.mid(head.size());
    EXPECT_TRUE(driverText.contains("refusee", Qt::CaseInsensitive) ||
                driverText.contains("permission", Qt::CaseInsensitive))
        << driverText.toStdString();
    EXPECT_EQ(ui.shown[0].icon, UiPort::Icon::Critical);
    EXPECT_EQ(ui.shown[0].title, kTitle);
    EXPECT_FALSE(ui.busy);
    // The number was handed out before the refusal and stays taken.
    EXPECT_EQ(MonitorData::maxNo(), 141);
    EXPECT_EQ(
        TestDatabase::scalar("SELECT OPTID FROM CSOPT WHERE NAME = 'XChartUCLConstant'").toInt(),
        141);
}

TEST_F(OptionWriterTest, DeleteRemovesOneValueAndReportsFailureWith114) {
    MonitorData data({34, 35});
    data.set(34, "ProcCapDelta", "0.5");
    data.set(35, "ProcCapDelta", "0.7");
    DbConnection db;
    {
        StatementLog log;
        EXPECT_TRUE(DeleteOptionValue(db, "XChartSigma", 34));  // never defined
        EXPECT_EQ(log.count(), 1);
    }
    EXPECT_TRUE(DeleteOptionValue(db, "ProcCapDelta", 34));
    EXPECT_EQ(MonitorData::value(34, "ProcCapDelta"), "<none>");
    EXPECT_EQ(MonitorData::value(35, "ProcCapDelta"), "0.7");
    EXPECT_TRUE(ui.shown.isEmpty());

    TestDatabase::exec("DROP TABLE CSMDAT");
    EXPECT_FALSE(DeleteOptionValue(db, "ProcCapDelta", 35));
    ASSERT_EQ(ui.shown.size(), 1);
    EXPECT_TRUE(ui.shown[0].text.startsWith(catalogText(114) + " ProcCapDelta\r\n\r\n"));
    EXPECT_GT(ui.shown[0].text.size(), (catalogText(114) + " ProcCapDelta\r\n\r\n").size());
    EXPECT_EQ(ui.shown[0].icon, UiPort::Icon::Critical);
    EXPECT_FALSE(ui.busy);
}

TEST_F(OptionWriterTest, TwoEditorsCreatingOptionsAtOnceGetDistinctNumbers) {
    MonitorData data({34});
    DbConnection first;
    DbConnection second;
    // The second editor takes number 141 between the first one's read of the
    // counter and its update.
    StatementTrap trap("UPDATE CSOPRN SET MAXNO = 141 WHERE MAXNO = 140", [&] {
        EXPECT_TRUE(WriteOptionValue(second, "RChartUCLConstant", 34, TaggedValue::number(2)));
    });
    StatementLog log;
    ASSERT_TRUE(WriteOptionValue(first, "XChartUCLConstant", 34, TaggedValue::number(5.5)));
    EXPECT_EQ(trap.fired(), 1);
    EXPECT_TRUE(ui.shown.isEmpty());
    EXPECT_EQ(TestDatabase::rows("SELECT OPTID, NAME FROM CSOPT ORDER BY OPTID"),
              (QVector<QStringList>{{"141", "RChartUCLConstant"}, {"142", "XChartUCLConstant"}}));
    EXPECT_EQ(MonitorData::maxNo(), 142);
    EXPECT_EQ(MonitorData::value(34, "XChartUCLConstant"), "5.5");
    EXPECT_EQ(MonitorData::value(34, "RChartUCLConstant"), "2");
    EXPECT_TRUE(log.statements().contains("UPDATE CSOPRN SET MAXNO = 142 WHERE MAXNO = 141"));
}

TEST_F(OptionWriterTest, AllocationGivesUpWhenTheCounterNeverHoldsStill) {
    MonitorData data({34});
    DbConnection db;
    StatementTrap trap(
        "UPDATE CSOPRN SET MAXNO",
        [] { TestDatabase::exec("UPDATE CSOPRN SET MAXNO = MAXNO + 1"); },
        StatementTrap::Times::Always);
    EXPECT_FALSE(WriteOptionValue(db, "XChartUCLConstant", 34, TaggedValue::number(5.5)));
    EXPECT_GE(trap.fired(), 2);
    ASSERT_EQ(ui.shown.size(), 1);
    EXPECT_TRUE(ui.shown[0].text.startsWith(writerMessage("XChartUCLConstant", "5.5")));
    EXPECT_EQ(TestDatabase::scalar("SELECT COUNT(*) FROM CSOPT").toInt(), 0);
    EXPECT_EQ(TestDatabase::scalar("SELECT COUNT(*) FROM CSMDAT").toInt(), 0);
}

}  // namespace
}  // namespace tolva::test
