#include <gtest/gtest.h>
#include <QMap>

#include "app/SharedState.h"
#include "store/DbConnection.h"
#include "store/MonitorList.h"
#include "support/FakeUiPort.h"
#include "support/TestDatabase.h"

namespace tolva {
namespace {

using test::FakeUiPort;
using test::TestDatabase;

// Live SPC monitors of the demo database whose profile is live.
const QList<qint32> kDemoListed = {101, 102, 103, 104, 105, 106, 107, 108, 109, 110, 111, 112, 113};

class MonitorListTest : public ::testing::Test {
protected:
    void SetUp() override {
        appState().reset();
        TestDatabase::resetDemo();
    }
    void TearDown() override { appState().reset(); }

    // The list by monitor number (the query has no ordering clause).
    static QMap<qint32, MonitorEntry> byMonId() {
        QMap<qint32, MonitorEntry> map;
        for (const MonitorEntry& entry : appState().gMonitors) {
            EXPECT_FALSE(map.contains(entry.MonId)) << "listed twice: " << entry.MonId;
            map.insert(entry.MonId, entry);
        }
        return map;
    }

    static QVector<MonitorEntry> sentinelList() {
        return {MonitorEntry{QStringLiteral("Ancien A"), 7, 1},
                MonitorEntry{QStringLiteral("Ancien B"), 8, 0}};
    }

    static void expectSentinelList() {
        const auto& list = appState().gMonitors;
        ASSERT_EQ(list.size(), 2);
        EXPECT_EQ(list[0].Name, "Ancien A");
        EXPECT_EQ(list[0].MonId, 7);
        EXPECT_EQ(list[0].IsQueryProfile, 1);
        EXPECT_EQ(list[1].MonId, 8);
    }

    FakeUiPort ui;
};

TEST_F(MonitorListTest, ListsOnlyLiveSpcMonitorsOfLiveProfiles) {
    QString failure = QStringLiteral("old");
    ASSERT_TRUE(LoadMonitorList(TestDatabase::connectionString(), &failure));
    EXPECT_TRUE(failure.isEmpty());

    const auto listed = byMonId();
    // 201 is deleted, 202 uses a deleted profile, 203 and 204 are not SPC monitors.
    EXPECT_EQ(listed.keys(), kDemoListed);
    EXPECT_EQ(listed.value(103).Name, QStringLiteral("Rectifieuse R3 - Bague extérieure"));
    EXPECT_EQ(listed.value(111).Name, QStringLiteral("Banc de mesure M1 - Pistons"));

    EXPECT_FALSE(ui.busy);
    EXPECT_EQ(ui.eventPasses, 1);
}

TEST_F(MonitorListTest, OnlyProfileFlag17MarksAQueryProfile) {
    // Demo profiles: 13 has flag 17, 10 has 16, 14 has 18, 12 has none, 11 has 0.
    ASSERT_TRUE(LoadMonitorList(TestDatabase::connectionString()));
    const auto listed = byMonId();
    EXPECT_EQ(listed.value(105).IsQueryProfile, 1);
    EXPECT_EQ(listed.value(101).IsQueryProfile, 0);
    EXPECT_EQ(listed.value(106).IsQueryProfile, 0);
    EXPECT_EQ(listed.value(104).IsQueryProfile, 0);
    EXPECT_EQ(listed.value(103).IsQueryProfile, 0);
    for (auto it = listed.begin(); it != listed.end(); ++it) {
        if (it.key() != 105) {
            EXPECT_EQ(it->IsQueryProfile, 0) << it.key();
        }
    }
}

TEST_F(MonitorListTest, RunsTheMonitorQueryOnceOnOneConnection) {
    SqlCounters& counters = sqlCounters();
    const SqlCounters before = counters;
    counters.recording = true;
    counters.recent.clear();
    const bool loaded = LoadMonitorList(TestDatabase::connectionString());
    counters.recording = false;
    ASSERT_TRUE(loaded);

    ASSERT_EQ(counters.recent.size(), 1);
    EXPECT_EQ(counters.recent[0],
              "SELECT CSMON.MONID, CSMON.NAME, CSPROF.PROFFLG FROM CSMON, CSPROF WHERE "
              "(CSMON.MTYPE = 'SPC') AND (CSMON.VFLG IS NULL) AND (CSPROF.PROFID = "
              "CSMON.PROFID) AND (CSMON.PROFID IN (SELECT PROFID FROM CSPROF WHERE VFLG IS "
              "NULL))");
    EXPECT_EQ(counters.connectionsOpened - before.connectionsOpened, 1);
    EXPECT_EQ(counters.connectionsClosed - before.connectionsClosed, 1);
}

TEST_F(MonitorListTest, EmptyConnectionStringUsesTheSharedOne) {
    appState().gConnStr = TestDatabase::connectionString();
    ASSERT_TRUE(LoadMonitorList());
    EXPECT_EQ(appState().gMonitors.size(), kDemoListed.size());
}

TEST_F(MonitorListTest, ShorterSecondListKeepsExactlyTheNewRows) {
    ASSERT_TRUE(LoadMonitorList(TestDatabase::connectionString()));
    ASSERT_EQ(appState().gMonitors.size(), kDemoListed.size());

    TestDatabase::exec("UPDATE CSMON SET VFLG = 1 WHERE MONID NOT IN (105, 111)");
    ASSERT_TRUE(LoadMonitorList(TestDatabase::connectionString()));
    const auto listed = byMonId();
    EXPECT_EQ(listed.keys(), (QList<qint32>{105, 111}));
    EXPECT_EQ(listed.value(105).Name, QStringLiteral("Contrôle réception - Lots fournisseurs"));
    EXPECT_EQ(listed.value(105).IsQueryProfile, 1);
    EXPECT_EQ(listed.value(111).IsQueryProfile, 0);
}

TEST_F(MonitorListTest, NoMonitorLeftKeepsThePreviousListAndTheBusyPointer) {
    appState().gMonitors = sentinelList();
    TestDatabase::exec("UPDATE CSPROF SET VFLG = 1");

    QString failure = QStringLiteral("old");
    EXPECT_FALSE(LoadMonitorList(TestDatabase::connectionString(), &failure));
    expectSentinelList();
    EXPECT_TRUE(failure.isEmpty());
    // Restoring the pointer is the caller's business here.
    EXPECT_TRUE(ui.busy);
}

TEST_F(MonitorListTest, NullMonitorNameFailsTheWholeList) {
    TestDatabase::exec("UPDATE CSMON SET NAME = NULL WHERE MONID = 107");
    QString failure;
    EXPECT_FALSE(LoadMonitorList(TestDatabase::connectionString(), &failure));
    EXPECT_FALSE(failure.isEmpty());
    EXPECT_FALSE(ui.busy);
}

TEST_F(MonitorListTest, UnknownDataSourceReportsTheDriverText) {
    appState().gMonitors = sentinelList();
    QString failure;
    EXPECT_FALSE(
        LoadMonitorList(QStringLiteral("DSN=TOLVA_NO_SUCH_SOURCE;UID=x;PWD=y;"), &failure));
    EXPECT_TRUE(failure.contains(QLatin1String("Data source name not found")))
        << failure.toStdString();
    EXPECT_FALSE(failure.contains(QLatin1String("PWD"))) << failure.toStdString();
    expectSentinelList();
    EXPECT_FALSE(ui.busy);
}

TEST_F(MonitorListTest, MissingTableReportsTheDriverText) {
    TestDatabase::exec("DROP TABLE CSPROF");
    QString failure;
    EXPECT_FALSE(LoadMonitorList(TestDatabase::connectionString(), &failure));
    EXPECT_TRUE(failure.contains(QLatin1String("csprof"), Qt::CaseInsensitive))
        << failure.toStdString();
    EXPECT_FALSE(ui.busy);
}

TEST_F(MonitorListTest, ListsMoreThan32767Monitors) {
    // Written as WITH ... INSERT so that SQLite and PostgreSQL both take it.
    TestDatabase::exec(
        "WITH RECURSIVE seq(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM seq WHERE i < 33000) "
        "INSERT INTO CSMON (MONID, NAME, MTYPE, VFLG, PROFID) "
        "SELECT 100000 + i, 'Poste ' || i, 'SPC', NULL, 10 FROM seq");

    ASSERT_TRUE(LoadMonitorList(TestDatabase::connectionString()));
    const auto listed = byMonId();
    EXPECT_EQ(listed.size(), 33000 + kDemoListed.size());
    EXPECT_EQ(listed.value(133000).Name, "Poste 33000");
}

}  // namespace
}  // namespace tolva
