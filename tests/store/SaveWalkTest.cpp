#include <gtest/gtest.h>

#include "StoreTestSupport.h"
#include "core/Catalog.h"
#include "core/OptionReader.h"
#include "core/SaveWalk.h"

namespace tolva::test {
namespace {

const OptionGroup Spec = OptionGroup::Spec, X = OptionGroup::X, R = OptionGroup::R;
const TaggedValue o;

using SaveWalkTest = StoreTest;

TEST_F(SaveWalkTest, ClearedGroupsDeleteTheirOptionsInOrderAndAnUneditedSaveRunsNothing) {
    const QString clearOrder =
        "ProcCapSpecType ProcCapDelta ProcCapLower ProcCapUpper ProcCapNominal "
        "XTypeOfLCLandUCL XChartCenterLine XChartCenterLineValue XChartUCL XChartUCLp "
        "XChartUCLConstant XChartLCL XChartLCLp XChartLCLConstant XChartSigma "
        "XChartSigmaValue RTypeOfLCLandUCL RChartCenterLine RChartCenterLineValue "
        "RChartSigma RChartSigmaValue RChartUCL RChartUCLp RChartUCLConstant RChartLCL "
        "RChartLCLp RChartLCLConstant";
    MonitorData data({34, 35});
    for (const QString& name : QStringList(clearOrder.split(' ')).mid(5, 8))
        data.define(name);  // defined in another order than the deletes run
    for (qint32 c : {34, 35})
        data.setAll(c,
                    "ProcCapSpecType=1 ProcCapLower=9 XTypeOfLCLandUCL=2 XChartUCLConstant=3 "
                    "RTypeOfLCLandUCL=2 RChartLCLConstant=1");
    for (const QString& name : clearOrder.split(' '))
        data.define(name);
    ASSERT_TRUE(LoadMonitorOptions(appState()));
    // Zero and an empty text count as cleared as much as an empty cell does.
    setGroup(34, Spec, num(0), o, TaggedValue::text(QString()));
    setGroup(34, X, o, o, num(0));
    setGroup(34, R, o, o, o);
    StatementLog log;
    ASSERT_TRUE(SaveMonitorOptions(appState()));
    // The names of the options deleted, in the order the deletes ran.
    const QString del = "DELETE FROM CSMDAT WHERE MONID = 12 AND CHRTID = 34 AND OPTID = ";
    QStringList deleted;
    for (const QString& sql : log.statements().filter(del))
        deleted << TestDatabase::scalar("SELECT NAME FROM CSOPT WHERE OPTID = " +
                                        sql.mid(del.size()))
                       .toString();
    EXPECT_EQ(deleted.join(' '), clearOrder);
    // What exists is read once, before the deletes (a server's monitor row locked
    // first, and whether it keeps a journal asked along).
    const int reads = TestDatabase::backend() == QLatin1String("sqlite") ? 2 : 4;
    EXPECT_EQ(log.statements().size(), reads + 27);
    EXPECT_EQ(MonitorData::count("SELECT COUNT(*) FROM CSMDAT WHERE CHRTID = 34"), 0);
    EXPECT_EQ(MonitorData::count("SELECT COUNT(*) FROM CSMDAT WHERE CHRTID = 35"), 6);

    ASSERT_TRUE(
        LoadMonitorOptions(appState()));  // nothing edited: no statement, not even a connection
    StatementLog unedited;
    EXPECT_TRUE(SaveMonitorOptions(appState()));
    EXPECT_EQ(unedited.statements(), QStringList());
    EXPECT_EQ(unedited.connectionsOpened(), 0);
}

TEST_F(SaveWalkTest, RefusedWriteShows112WithTheDriverText) {
    MonitorData data({34});
    data.setAll(34, "XTypeOfLCLandUCL=1");
    ASSERT_TRUE(LoadMonitorOptions(appState()));
    setGroup(34, X, num(7.5), o, num(9));
    refuseInserts("CSMDAT");
    const StoreOutcome outcome = SaveMonitorOptions(appState());
    const QString head =
        catalogText(112) + " 'XChartLCLConstant' " + catalogText(113) + " '7,5'\r\n\r\n";
    expectFailure(outcome, head);
    EXPECT_TRUE(outcome.driverText.contains("refusee") || outcome.driverText.contains("permission"))
        << outcome.driverText.toStdString();
    EXPECT_TRUE(outcome.text().endsWith("\r\n0 caractéristique(s) enregistrée(s) avant l'erreur."));
    // The type written just before belongs to the same group: undone with it.
    EXPECT_EQ(MonitorData::value(34, "XTypeOfLCLandUCL"), "1");
}

// A refused group after an unchanged chart: what was written before is counted
// and listed, the unchanged chart is not.
TEST_F(SaveWalkTest, RefusalCountsTheCharacteristicsWrittenBeforeIt) {
    MonitorData data({34, 35, 36});
    ASSERT_TRUE(LoadMonitorOptions(appState()));
    OptionTable& rows = appState().gOptionRows;
    for (int i : {0, 2}) {
        rows.setCurrent(i, &OptionRow::XLcl, num(1));
        rows.setCurrent(i, &OptionRow::XUcl, num(i == 0 ? 2 : 0));  // the last one refused
    }
    const StoreOutcome outcome = SaveMonitorOptions(appState());
    EXPECT_EQ(outcome.message, 120);
    EXPECT_EQ(outcome.savedCharacteristics, 1);
    EXPECT_EQ(outcome.writtenGroups, QVector<GroupRef>({GroupRef{0, X}}));
    EXPECT_EQ(MonitorData::count("SELECT COUNT(*) FROM CSMDAT"), 3);
}

// Which CSOPT row holds an option name is the database's decision, as in
// "NAME = '...'": blank-padded CHAR names (PostgreSQL), names in another case
// under a case-blind collation (MariaDB), trailing blanks under RTRIM (SQLite).
// Matched by exact text instead, the grid showed nothing and a save created
// second definitions of names that exist.
TEST_F(SaveWalkTest, OptionNamesMatchAsTheDatabaseComparesThem) {
    MonitorData data({1});
    data.setAll(1,
                "ProcCapSpecType=1 ProcCapLower=9 ProcCapNominal=10 ProcCapUpper=11 "
                "XTypeOfLCLandUCL=2 XChartLCLConstant=1 XChartUCLConstant=3");
    const QString backend = TestDatabase::backend();
    if (backend == "postgres") {
        TestDatabase::exec("ALTER TABLE CSOPT ALTER COLUMN NAME TYPE CHAR(64)");
    } else if (backend == "mariadb") {
        TestDatabase::exec("UPDATE CSOPT SET NAME = UPPER(NAME)");
    } else {
        TestDatabase::execAll(
            {"CREATE TABLE CSOPT2 (OPTID INTEGER NOT NULL PRIMARY KEY, "
             "NAME VARCHAR(64) COLLATE RTRIM NOT NULL, OTYPE VARCHAR(8))",
             "INSERT INTO CSOPT2 SELECT OPTID, NAME || '   ', OTYPE FROM CSOPT", "DROP TABLE CSOPT",
             "ALTER TABLE CSOPT2 RENAME TO CSOPT"});
    }
    ASSERT_TRUE(LoadMonitorOptions(appState()));
    const OptionRow& r = MonitorData::row(1);
    EXPECT_EQ(valueText(r.SpecLower.Current) + " " + valueText(r.SpecUpper.Current) + " " +
                  valueText(r.XUcl.Current),
              "9 11 3");
    setGroup(1, X, num(1), o, num(4));
    setGroup(1, Spec, num(9), num(10), o);
    ASSERT_TRUE(SaveMonitorOptions(appState()));
    EXPECT_EQ(MonitorData::value(1, "XChartUCLConstant"), "4");
    EXPECT_EQ(MonitorData::value(1, "ProcCapSpecType"), "2");
    EXPECT_EQ(MonitorData::count("SELECT COUNT(*) FROM CSOPT"), 7);
    EXPECT_EQ(MonitorData::count("SELECT MAXNO FROM CSOPRN"), 140);
}

}  // namespace
}  // namespace tolva::test
