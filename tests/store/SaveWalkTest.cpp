#include <gtest/gtest.h>

#include "StatementTrap.h"
#include "StoreTestSupport.h"
#include "app/Catalog.h"
#include "store/OptionReader.h"
#include "store/SaveWalk.h"
#include "support/FakeUiPort.h"

namespace tolva::test {
namespace {

TaggedValue num(double v) {
    return TaggedValue::number(v);
}

// Option names the walk wrote (inserted or updated), in order.
QStringList writtenNames(const StatementLog& log) {
    QStringList names;
    QString lastLookup;
    const QStringList statements = log.statements();
    static const QString lookup = QStringLiteral("SELECT OPTID FROM CSOPT WHERE NAME = '");
    for (const QString& sql : statements) {
        if (sql.startsWith(lookup))
            lastLookup = sql.mid(lookup.size()).chopped(1);
        else if (sql.startsWith("INSERT INTO CSMDAT") || sql.startsWith("UPDATE CSMDAT"))
            names << lastLookup;
    }
    return names;
}

const QStringList kSpecNames{"ProcCapSpecType", "ProcCapDelta", "ProcCapLower", "ProcCapUpper",
                             "ProcCapNominal"};

class SaveWalkTest : public ::testing::Test {
protected:
    FakeUiPort ui;
    FakeEditorPort editor;
};

TEST_F(SaveWalkTest, NothingEditedRunsNoStatement) {
    MonitorData data({34, 35});
    data.set(34, "ProcCapSpecType", "1");
    data.set(34, "ProcCapNominal", "10");
    data.set(34, "XTypeOfLCLandUCL", "2");
    data.set(34, "XChartUCLConstant", "abc");
    ASSERT_TRUE(LoadMonitorOptions());
    ui.busy = true;

    StatementLog log;
    EXPECT_TRUE(SaveMonitorOptions());
    EXPECT_EQ(log.count(), 0);
    EXPECT_EQ(log.connectionsOpened(), 0);
    EXPECT_FALSE(ui.busy);
}

TEST_F(SaveWalkTest, ClearedGroupsDeleteTheirOptionsInOrder) {
    MonitorData data({34, 35});
    for (qint32 c : {34, 35}) {
        data.set(c, "ProcCapSpecType", "1");
        for (const char* name : {"ProcCapDelta", "ProcCapLower", "ProcCapUpper", "ProcCapNominal"})
            data.set(c, name, "10");
        data.set(c, "XTypeOfLCLandUCL", "2");
        data.set(c, "XChartLCLConstant", "1");
        data.set(c, "XChartUCLConstant", "3");
        data.set(c, "XChartSigma", "0.1");
        data.set(c, "RTypeOfLCLandUCL", "2");
        data.set(c, "RChartUCLConstant", "3");
        data.set(c, "RChartLCLConstant", "1");
        data.set(c, "RChartSigmaValue", "0.2");
    }
    ASSERT_TRUE(LoadMonitorOptions());
    OptionRow& r = MonitorData::row(34);
    // Zero counts as cleared as much as an empty cell does.
    r.SpecLower.Current = num(0);
    r.SpecNominal.Current = TaggedValue();
    r.SpecUpper.Current = TaggedValue();
    r.XLcl.Current = TaggedValue();
    r.XUcl.Current = num(0);
    r.RLcl.Current = TaggedValue();
    r.RUcl.Current = TaggedValue();

    StatementLog log;
    ASSERT_TRUE(SaveMonitorOptions());
    const QStringList xNames{"XTypeOfLCLandUCL", "XChartCenterLine", "XChartCenterLineValue",
                             "XChartUCL",        "XChartUCLp",       "XChartUCLConstant",
                             "XChartLCL",        "XChartLCLp",       "XChartLCLConstant",
                             "XChartSigma",      "XChartSigmaValue"};
    const QStringList rNames{"RTypeOfLCLandUCL", "RChartCenterLine",  "RChartCenterLineValue",
                             "RChartSigma",      "RChartSigmaValue",  "RChartUCL",
                             "RChartUCLp",       "RChartUCLConstant", "RChartLCL",
                             "RChartLCLp",       "RChartLCLConstant"};
    EXPECT_EQ(log.optionLookups(), kSpecNames + xNames + rNames);
    EXPECT_TRUE(log.statements().contains(
        QStringLiteral("DELETE FROM CSMDAT WHERE MONID = 12 AND CHRTID = 34 AND OPTID = %1")
            .arg(data.option("XChartSigma"))));
    EXPECT_EQ(log.connectionsOpened(), 1);
    EXPECT_EQ(TestDatabase::scalar("SELECT COUNT(*) FROM CSMDAT WHERE CHRTID = 34").toInt(), 0);
    EXPECT_EQ(TestDatabase::scalar("SELECT COUNT(*) FROM CSMDAT WHERE CHRTID = 35").toInt(), 13);
}

TEST_F(SaveWalkTest, SpecificationTypeFollowsTheLimitsGiven) {
    MonitorData data({34, 35, 36});
    data.set(34, "ProcCapSpecType", "0");
    data.set(34, "ProcCapNominal", "10");
    data.set(34, "ProcCapDelta", "0.2");
    data.set(35, "ProcCapSpecType", "1");
    data.set(35, "ProcCapLower", "9");
    data.set(35, "ProcCapNominal", "10");
    data.set(35, "ProcCapUpper", "11");
    data.set(36, "ProcCapSpecType", "1");
    data.set(36, "ProcCapLower", "9");
    data.set(36, "ProcCapNominal", "10");
    data.set(36, "ProcCapUpper", "11");
    ASSERT_TRUE(LoadMonitorOptions());
    MonitorData::row(34).SpecLower.Current = num(9.5);   // was 9.8
    MonitorData::row(34).SpecUpper.Current = num(10.5);  // was 10.2
    MonitorData::row(35).SpecUpper.Current = TaggedValue();
    MonitorData::row(36).SpecNominal.Current = num(10.25);

    StatementLog log;
    ASSERT_TRUE(SaveMonitorOptions());
    EXPECT_EQ(writtenNames(log),
              (QStringList{"ProcCapSpecType", "ProcCapLower", "ProcCapNominal", "ProcCapUpper",
                           "ProcCapSpecType", "ProcCapLower", "ProcCapNominal", "ProcCapLower",
                           "ProcCapNominal", "ProcCapUpper"}));
    EXPECT_EQ(MonitorData::value(34, "ProcCapSpecType"), "1");
    EXPECT_EQ(MonitorData::value(34, "ProcCapLower"), "9.5");
    EXPECT_EQ(MonitorData::value(34, "ProcCapUpper"), "10.5");
    EXPECT_EQ(MonitorData::value(34, "ProcCapDelta"), "0.2");  // left for the old type
    EXPECT_EQ(MonitorData::value(35, "ProcCapSpecType"), "2");
    EXPECT_EQ(MonitorData::value(35, "ProcCapUpper"), "11");  // hidden by the new type
    EXPECT_EQ(MonitorData::value(36, "ProcCapNominal"), "10.25");

    ASSERT_TRUE(LoadMonitorOptions());
    EXPECT_TRUE(MonitorData::row(35).SpecUpper.Current.isEmpty());
    EXPECT_EQ(MonitorData::row(34).SpecLower.Current, num(9.5));
}

TEST_F(SaveWalkTest, CentreLineSetThenRemoved) {
    MonitorData data({34});
    data.set(34, "XTypeOfLCLandUCL", "2");
    data.set(34, "XChartLCLConstant", "8");
    data.set(34, "XChartUCLConstant", "12");
    ASSERT_TRUE(LoadMonitorOptions());
    MonitorData::row(34).XCl.Current = num(10);
    MonitorData::row(34).RLcl.Current = num(0);  // R limits not constant yet
    MonitorData::row(34).RUcl.Current = num(4);
    {
        StatementLog log;
        ASSERT_TRUE(SaveMonitorOptions());
        EXPECT_EQ(writtenNames(log),
                  (QStringList{"XChartLCLConstant", "XChartCenterLine", "XChartCenterLineValue",
                               "XChartUCLConstant", "RTypeOfLCLandUCL", "RChartLCLConstant",
                               "RChartUCLConstant"}));
    }
    EXPECT_EQ(MonitorData::value(34, "XChartCenterLine"), "1");
    EXPECT_EQ(MonitorData::value(34, "XChartCenterLineValue"), "10");
    EXPECT_EQ(MonitorData::value(34, "RTypeOfLCLandUCL"), "2");

    ASSERT_TRUE(LoadMonitorOptions());
    EXPECT_EQ(MonitorData::row(34).XCl.Current, num(10));
    EXPECT_EQ(MonitorData::row(34).RUcl.Current, num(4));
    MonitorData::row(34).XCl.Current = TaggedValue();
    ASSERT_TRUE(SaveMonitorOptions());
    EXPECT_EQ(MonitorData::value(34, "XChartCenterLine"), "<none>");
    EXPECT_EQ(MonitorData::value(34, "XChartCenterLineValue"), "<none>");
    EXPECT_EQ(MonitorData::value(34, "XChartLCLConstant"), "8");
}

TEST_F(SaveWalkTest, FailedCheckStopsAfterEarlierCharacteristicsAreWritten) {
    MonitorData data({34, 35});
    ASSERT_TRUE(LoadMonitorOptions());
    MonitorData::row(34).SpecNominal.Current = num(10);
    MonitorData::row(34).SpecUpper.Current = num(11);
    MonitorData::row(35).SpecLower.Current = num(1);  // no nominal
    MonitorData::row(35).SpecUpper.Current = num(3);
    MonitorData::row(35).XLcl.Current = num(1);
    MonitorData::row(35).XUcl.Current = num(3);

    StatementLog log;
    EXPECT_FALSE(SaveMonitorOptions());
    EXPECT_EQ(MonitorData::value(34, "ProcCapSpecType"), "3");
    EXPECT_EQ(MonitorData::value(34, "ProcCapUpper"), "11");
    EXPECT_EQ(TestDatabase::scalar("SELECT COUNT(*) FROM CSMDAT WHERE CHRTID = 35").toInt(), 0);
    for (const QString& sql : log.statements())
        EXPECT_FALSE(sql.contains("CHRTID = 35")) << sql.toStdString();
    ASSERT_EQ(ui.shown.size(), 1);
    EXPECT_EQ(ui.shown[0].text, catalogText(115));
    ASSERT_EQ(editor.edits.size(), 1);
    EXPECT_EQ(editor.edits[0].row, MonitorData::indexOf(35) + 1);
    EXPECT_EQ(editor.edits[0].col, appState().gColSpecNominal);
    EXPECT_FALSE(ui.busy);
}

TEST_F(SaveWalkTest, TextValueFromTheDatabaseIsNotOverwrittenWithNothing) {
    MonitorData data({34});
    data.set(34, "XTypeOfLCLandUCL", "2");
    data.set(34, "XChartLCLConstant", "8");
    data.set(34, "XChartUCLConstant", "douze");
    ASSERT_TRUE(LoadMonitorOptions());
    MonitorData::row(34).XLcl.Current = num(7);

    StatementLog log;
    EXPECT_FALSE(SaveMonitorOptions());
    EXPECT_EQ(log.count(), 0);
    EXPECT_EQ(MonitorData::value(34, "XChartUCLConstant"), "douze");
    ASSERT_EQ(ui.shown.size(), 1);
    EXPECT_EQ(ui.shown[0].text, catalogText(141));
    EXPECT_EQ(ui.shown[0].icon, UiPort::Icon::Critical);
    EXPECT_EQ(ui.shown[0].title, "TOLVA Editor");
    ASSERT_EQ(editor.edits.size(), 1);
    EXPECT_EQ(editor.edits[0].col, appState().gColXUcl);
    EXPECT_EQ(editor.edits[0].text, "douze");
}

TEST_F(SaveWalkTest, WriterFailuresStopTheWalk) {
    // A refused value: the type written just before it stays.
    {
        MonitorData data({34});
        data.set(34, "XTypeOfLCLandUCL", "1");
        ASSERT_TRUE(LoadMonitorOptions());
        MonitorData::row(34).XLcl.Current = num(7.5);
        MonitorData::row(34).XUcl.Current = num(9);
        refuseNewValues();
        EXPECT_FALSE(SaveMonitorOptions());
        EXPECT_EQ(MonitorData::value(34, "XTypeOfLCLandUCL"), "2");
        ASSERT_EQ(ui.shown.size(), 1);
        EXPECT_TRUE(ui.shown[0].text.startsWith(catalogText(112) + " 'XChartLCLConstant' " +
                                                catalogText(113) + " '7.5'\r\n\r\n"));
        EXPECT_FALSE(ui.busy);
    }
    // No counter row: the new option cannot be numbered.
    {
        ui.shown.clear();
        MonitorData data({34});
        TestDatabase::exec("DELETE FROM CSOPRN");
        ASSERT_TRUE(LoadMonitorOptions());
        MonitorData::row(34).SpecNominal.Current = num(10);
        MonitorData::row(34).SpecLower.Current = num(9);
        EXPECT_FALSE(SaveMonitorOptions());
        ASSERT_EQ(ui.shown.size(), 1);
        EXPECT_EQ(ui.shown[0].text, catalogText(111));
        EXPECT_EQ(TestDatabase::scalar("SELECT COUNT(*) FROM CSMDAT").toInt(), 0);
    }
}

TEST_F(SaveWalkTest, FailedTypeReadStopsTheWalkWithTheDriverText) {
    for (const char* typeName : {"ProcCapSpecType", "RTypeOfLCLandUCL"}) {
        SCOPED_TRACE(typeName);
        ui.shown.clear();
        MonitorData data({34, 35});
        ASSERT_TRUE(LoadMonitorOptions());
        MonitorData::row(34).XLcl.Current = num(1);
        MonitorData::row(34).XUcl.Current = num(2);
        MonitorData::row(35).SpecNominal.Current = num(10);
        MonitorData::row(35).SpecUpper.Current = num(11);
        MonitorData::row(35).RLcl.Current = num(0);
        MonitorData::row(35).RUcl.Current = num(1);
        const QString typeRead =
            QStringLiteral(
                "SELECT TVAL FROM CSMDAT WHERE MONID = 12 AND CHRTID = 35 AND OPTID IN "
                "(SELECT OPTID FROM CSOPT WHERE NAME = '%1')")
                .arg(typeName);
        // The table disappears just before the type of the second chart is read.
        StatementTrap trap(typeRead,
                           [] { TestDatabase::exec("ALTER TABLE CSMDAT RENAME TO CSMDAT_AWAY"); });
        StatementLog log;
        EXPECT_FALSE(SaveMonitorOptions());
        EXPECT_EQ(trap.fired(), 1);
        EXPECT_EQ(log.statements().last(), typeRead);
        ASSERT_EQ(ui.shown.size(), 1);
        EXPECT_TRUE(ui.shown[0].text.contains("csmdat", Qt::CaseInsensitive))
            << ui.shown[0].text.toStdString();
        EXPECT_EQ(ui.shown[0].icon, UiPort::Icon::Critical);
        EXPECT_EQ(ui.shown[0].title, "TOLVA Editor");
        EXPECT_FALSE(ui.busy);
        TestDatabase::exec("ALTER TABLE CSMDAT_AWAY RENAME TO CSMDAT");
        EXPECT_EQ(MonitorData::value(34, "XChartUCLConstant"), "2");
    }
}

}  // namespace
}  // namespace tolva::test
