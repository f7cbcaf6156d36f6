#include <gtest/gtest.h>
#include <QMap>

#include "StoreTestSupport.h"
#include "store/MonitorList.h"

namespace tolva::test {
namespace {

class MonitorListTest : public ::testing::Test {
protected:
    void SetUp() override {
        appState().reset();
        TestDatabase::resetDemo();
    }
    void TearDown() override { appState().reset(); }

    // Monitor number -> "name|IsQueryProfile" (the query has no order of its own).
    static QMap<qint32, QString> listed() {
        QMap<qint32, QString> map;
        for (const MonitorEntry& e : appState().gMonitors) {
            EXPECT_FALSE(map.contains(e.MonId)) << "listed twice: " << e.MonId;
            map.insert(e.MonId, e.Name + u'|' + QString::number(e.IsQueryProfile));
        }
        return map;
    }
    const QMap<qint32, QString> previous{{7, "Ancien|1"}};

    FakeUiPort ui;
};

TEST_F(MonitorListTest, ListsLiveSpcMonitorsOfLiveProfilesTrimmed) {
    appState().gConnStr = TestDatabase::connectionString();
    QString failure = QStringLiteral("old");
    const qint64 opened = sqlCounters().connectionsOpened;
    ASSERT_TRUE(LoadMonitorList(QString(), &failure));  // empty: the shared string
    EXPECT_TRUE(failure.isEmpty());
    EXPECT_EQ(sqlCounters().connectionsOpened - opened, 1);
    EXPECT_EQ(sqlCounters().connectionsOpened, sqlCounters().connectionsClosed);

    // Demo: 201 deleted, 202 on a deleted profile, 203/204 not SPC; only profile 13
    // (monitor 105) has PROFFLG 17, others 16, 18, 0 or null.
    const auto list = listed();
    EXPECT_EQ(list.keys(),
              (QList<qint32>{101, 102, 103, 104, 105, 106, 107, 108, 109, 110, 111, 112, 113}));
    for (auto it = list.begin(); it != list.end(); ++it)
        EXPECT_EQ(it->endsWith("|1"), it.key() == 105) << it.key();
    EXPECT_EQ(list.value(103), QString::fromUtf8("Rectifieuse R3 - Bague extérieure|0"));
    EXPECT_EQ(list.value(111), "Banc de mesure M1 - Pistons|0");
    EXPECT_FALSE(ui.busy);
    EXPECT_EQ(ui.eventPasses, 1);
    // The demo's counter is past every option number, or a new option would reuse one.
    EXPECT_GE(MonitorData::maxNo(), MonitorData::count("SELECT MAX(OPTID) FROM CSOPT"));

    // A shorter second list replaces the first one entirely.
    TestDatabase::exec("UPDATE CSMON SET VFLG = 1 WHERE MONID NOT IN (105, 111)");
    ASSERT_TRUE(LoadMonitorList(TestDatabase::connectionString()));
    EXPECT_EQ(listed().keys(), (QList<qint32>{105, 111}));
}

TEST_F(MonitorListTest, FailuresKeepThePreviousList) {
    // No row at all: false without a failure text, pointer left to the caller.
    appState().gMonitors = {{"Ancien", 7, 1}};
    TestDatabase::exec("UPDATE CSPROF SET VFLG = 1");
    QString failure = QStringLiteral("old");
    EXPECT_FALSE(LoadMonitorList(TestDatabase::connectionString(), &failure));
    EXPECT_EQ(listed(), previous);
    EXPECT_TRUE(failure.isEmpty());
    EXPECT_TRUE(ui.busy);

    // An unknown data source: the driver's text, never the password.
    EXPECT_FALSE(LoadMonitorList("DSN=TOLVA_NO_SUCH_SOURCE;UID=x;PWD=y;", &failure));
    EXPECT_TRUE(failure.contains("Data source name not found")) << failure.toStdString();
    EXPECT_FALSE(failure.contains("PWD"));
    EXPECT_EQ(listed(), previous);
    EXPECT_FALSE(ui.busy);

    // A monitor without a name fails the whole list.
    TestDatabase::exec("UPDATE CSPROF SET VFLG = NULL");
    TestDatabase::exec("UPDATE CSMON SET NAME = NULL WHERE MONID = 107");
    failure.clear();
    EXPECT_FALSE(LoadMonitorList(TestDatabase::connectionString(), &failure));
    EXPECT_FALSE(failure.isEmpty());
    EXPECT_FALSE(ui.busy);
}

TEST_F(MonitorListTest, ListsMoreThan32767Monitors) {
    TestDatabase::exec(
        "WITH RECURSIVE seq(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM seq WHERE i < 33000) "
        "INSERT INTO CSMON (MONID, NAME, MTYPE, VFLG, PROFID) "
        "SELECT 100000 + i, 'Poste ' || i, 'SPC', NULL, 10 FROM seq");
    ASSERT_TRUE(LoadMonitorList(TestDatabase::connectionString()));
    const auto list = listed();
    EXPECT_EQ(list.size(), 33013);
    EXPECT_EQ(list.value(133000), "Poste 33000|0");
}

}  // namespace
}  // namespace tolva::test
