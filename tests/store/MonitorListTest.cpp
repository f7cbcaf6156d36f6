#include <gtest/gtest.h>
#include <QMap>

#include "StoreTestSupport.h"
#include "core/MonitorList.h"

namespace tolva::test {
namespace {

// Monitor number -> "name|IsQueryProfile" (the query has no order of its own).
QMap<qint32, QString> listed(const SharedState& s) {
    QMap<qint32, QString> map;
    for (const MonitorEntry& e : s.gMonitors)
        map.insert(e.MonId, e.Name + u'|' + QString::number(e.IsQueryProfile));
    EXPECT_EQ(map.size(), s.gMonitors.size());
    return map;
}

TEST(MonitorListTest, ListsLiveSpcMonitorsOfLiveProfilesAndKeepsThemOnFailure) {
    SharedState s;
    TestDatabase::resetDemo();
    s.gConnStr = TestDatabase::connectionString();
    ASSERT_TRUE(LoadMonitorList(s).ok());  // no string: the state's own
    // Demo: 201 deleted, 202 on a deleted profile, 203/204 not SPC; only profile 13
    // (monitor 105) has PROFFLG 17, others 16, 18, 0 or null.
    auto list = listed(s);
    EXPECT_EQ(list.keys(),
              (QList<qint32>{101, 102, 103, 104, 105, 106, 107, 108, 109, 110, 111, 112, 113}));
    for (auto it = list.begin(); it != list.end(); ++it)
        EXPECT_EQ(it->endsWith("|1"), it.key() == 105) << it.key();

    TestDatabase::exec("UPDATE CSMON SET VFLG = 1 WHERE MONID NOT IN (105, 111)");
    ASSERT_TRUE(LoadMonitorList(s, TestDatabase::connectionString()).ok());
    const QMap<qint32, QString> two = listed(s);  // replaced, not appended
    EXPECT_EQ(two.keys(), (QList<qint32>{105, 111}));

    TestDatabase::exec("UPDATE CSPROF SET VFLG = 1");  // no row at all
    StoreOutcome outcome = LoadMonitorList(s);
    EXPECT_EQ(outcome.message, Msg::MonitorsNotFound);
    EXPECT_TRUE(outcome.driverText.isEmpty());
    EXPECT_EQ(listed(s), two);
    TestDatabase::exec("UPDATE CSPROF SET VFLG = NULL");
    TestDatabase::exec("UPDATE CSMON SET NAME = NULL WHERE MONID = 111");
    outcome = LoadMonitorList(s);  // one nameless monitor fails them all
    EXPECT_EQ(outcome.message, Msg::MonitorsNotFound);
    EXPECT_FALSE(outcome.driverText.isEmpty());
    EXPECT_EQ(listed(s), two);  // and leaves the list in use untouched
}

}  // namespace
}  // namespace tolva::test
