#include <gtest/gtest.h>

#include "store/DbConnection.h"
#include "support/TestDatabase.h"

using tolva::sqlCounters;
using tolva::test::TestDatabase;

namespace {

const char* const kTables[] = {"CSMON",  "CSPROF", "CSCINP", "CSCHRT", "CSOPT",
                               "CSMDAT", "CSOPRN", "CSNODE", "CSMINN"};

int rowCount(const char* table) {
    return TestDatabase::scalar(QStringLiteral("SELECT COUNT(*) FROM %1").arg(table)).toInt();
}

TEST(TestDatabaseTest, ScriptSplitsAtLinesEndingWithSemicolon) {
    const QStringList statements = TestDatabase::splitSqlScript(
        "-- a comment;\nCREATE TABLE T (\n  A INTEGER\n);\n\nINSERT INTO T VALUES\n  (1),\n"
        "  (2);\nSELECT 'a;b' FROM T");
    ASSERT_EQ(statements.size(), 3);
    EXPECT_EQ(statements[0], "CREATE TABLE T (\nA INTEGER\n)");
    EXPECT_EQ(statements[1], "INSERT INTO T VALUES\n(1),\n(2)");
    EXPECT_EQ(statements[2], "SELECT 'a;b' FROM T");
}

TEST(TestDatabaseTest, ResetDemoRestoresTheDemoDataAfterChanges) {
    TestDatabase::resetDemo();
    TestDatabase::execAll({"DELETE FROM CSMDAT", "UPDATE CSOPRN SET MAXNO = 999",
                           "INSERT INTO CSMON (MONID, NAME, MTYPE, PROFID) VALUES "
                           "(900, 'Temporaire', 'SPC', 10)"});
    ASSERT_EQ(rowCount("CSMDAT"), 0);

    TestDatabase::resetDemo();
    EXPECT_GT(rowCount("CSMDAT"), 100);
    EXPECT_EQ(TestDatabase::scalar("SELECT MAXNO FROM CSOPRN").toInt(), 140);
    EXPECT_FALSE(TestDatabase::scalar("SELECT NAME FROM CSMON WHERE MONID = 900").isValid());
    // Accents and surrounding blanks survive the trip through the driver.
    EXPECT_EQ(TestDatabase::scalar("SELECT NAME FROM CSMON WHERE MONID = 103").toString(),
              QStringLiteral("Rectifieuse R3 - Bague extérieure"));
    EXPECT_EQ(TestDatabase::scalar("SELECT NAME FROM CSMON WHERE MONID = 111").toString(),
              QStringLiteral("  Banc de mesure M1 - Pistons  "));
}

TEST(TestDatabaseTest, DemoDataIsConsistent) {
    TestDatabase::resetDemo();
    EXPECT_EQ(rowCount("CSOPRN"), 1);
    EXPECT_GE(TestDatabase::scalar("SELECT MAXNO FROM CSOPRN").toInt(),
              TestDatabase::scalar("SELECT MAX(OPTID) FROM CSOPT").toInt());
    EXPECT_EQ(TestDatabase::scalar("SELECT COUNT(*) FROM CSMDAT WHERE OPTID NOT IN "
                                   "(SELECT OPTID FROM CSOPT)")
                  .toInt(),
              0);
    EXPECT_EQ(TestDatabase::scalar("SELECT COUNT(*) FROM CSMDAT WHERE MONID NOT IN "
                                   "(SELECT MONID FROM CSMON)")
                  .toInt(),
              0);
    // Every value belongs to a chart of its monitor's profile.
    EXPECT_EQ(TestDatabase::scalar("SELECT COUNT(*) FROM CSMDAT D WHERE NOT EXISTS (SELECT 1 "
                                   "FROM CSMON M, CSCINP C WHERE M.MONID = D.MONID AND "
                                   "C.PROFID = M.PROFID AND C.CHRTID = D.CHRTID)")
                  .toInt(),
              0);
    // The root folder is its own parent with no predecessor.
    const auto root = TestDatabase::rows(
        "SELECT PARENTID, PREVID, VFLG FROM CSNODE "
        "WHERE NODEID = 0");
    ASSERT_EQ(root.size(), 1);
    EXPECT_EQ(root[0], (QStringList{"0", "0", "<null>"}));
}

TEST(TestDatabaseTest, ResetEmptyLeavesEveryTableWithoutRows) {
    TestDatabase::resetDemo();
    TestDatabase::resetEmpty();
    for (const char* table : kTables)
        EXPECT_EQ(rowCount(table), 0) << table;
}

TEST(TestDatabaseTest, FixtureStatementsDoNotShowInTheCounters) {
    const tolva::SqlCounters before = sqlCounters();
    TestDatabase::resetDemo();
    TestDatabase::rows("SELECT NAME FROM CSMON");
    EXPECT_EQ(sqlCounters().statements, before.statements);
    EXPECT_EQ(sqlCounters().connectionsOpened, before.connectionsOpened);
    EXPECT_EQ(sqlCounters().connectionsClosed, before.connectionsClosed);
}

}  // namespace
