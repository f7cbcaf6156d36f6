#include <gtest/gtest.h>
#include <QSysInfo>

#include "StoreTestSupport.h"
#include "core/JournalHistory.h"
#include "core/OptionReader.h"
#include "core/SaveWalk.h"

namespace tolva::test {
namespace {

const OptionGroup Spec = OptionGroup::Spec, X = OptionGroup::X;
const TaggedValue o;

using JournalTest = StoreTest;

// "chart option old>new" per journal row, NULL as "-".
QString journalRows() {
    QStringList rows;
    for (const FieldRow& r : TestDatabase::fetch("SELECT CHRTID, OPTNAME, OLD_TVAL, NEW_TVAL "
                                                 "FROM TOLVA_JOURNAL ORDER BY CHRTID, OPTNAME")) {
        auto text = [&](int i) { return r[i].isNull() ? QStringLiteral("-") : r[i].toText(); };
        rows << text(0) + ' ' + text(1) + ' ' + text(2) + '>' + text(3);
    }
    return rows.join(" | ");
}

// Chart 34: X limits not constant (type 1) over a stored LCL of 7.50 and a
// centre line; chart 35: a full specification group and constant R limits.
void loadCharts(MonitorData& data) {
    data.setAll(34,
                "XTypeOfLCLandUCL=1 XChartLCLConstant=7.50 XChartCenterLine=1 "
                "XChartCenterLineValue=8");
    data.setAll(35,
                "ProcCapSpecType=1 ProcCapLower=9 ProcCapNominal=10 ProcCapUpper=11 "
                "RTypeOfLCLandUCL=2 RChartLCLConstant=1 RChartUCLConstant=3");
    ASSERT_TRUE(LoadMonitorOptions(appState()));
}

// A server is asked along with the save's reads; SQLite's catalog costs nothing.
int catalogCallsPerSave() {
    return TestDatabase::backend() == QLatin1String("sqlite") ? 1 : 0;
}

TEST_F(JournalTest, EachStoredChangeIsRecordedWithItsExactTexts) {
    MonitorData data({34, 35});
    TestDatabase::createJournal();
    loadCharts(data);
    // Type written, centre line deleted, a limit updated and one inserted.
    setGroup(34, X, num(7), o, num(9.25));
    setGroup(35, Spec, o, o, o);  // five options deleted
    appState().gOptionRows.setCurrent(MonitorData::rowIndex(35), &OptionRow::RUcl,
                                      num(4));  // the LCL rewritten unchanged
    const qint64 catalogCalls = sqlCounters().catalogCalls;
    ASSERT_TRUE(SaveMonitorOptions(appState(), nullptr, "  Plan indice D "));
    EXPECT_EQ(sqlCounters().catalogCalls - catalogCalls, catalogCallsPerSave());
    EXPECT_EQ(
        journalRows(),
        "34 XChartCenterLine 1>- | 34 XChartCenterLineValue 8>- | "
        "34 XChartLCLConstant 7.50>7 | 34 XChartUCLConstant ->9.25 | 34 XTypeOfLCLandUCL 1>2 | "
        "35 ProcCapLower 9>- | 35 ProcCapNominal 10>- | 35 ProcCapSpecType 1>- | "
        "35 ProcCapUpper 11>- | 35 RChartUCLConstant 3>4");
    // Every row has the reason, and the texts as the server compares them
    // (nothing added by the driver).
    EXPECT_EQ(MonitorData::count("SELECT COUNT(*) FROM TOLVA_JOURNAL WHERE REASON = 'Plan "
                                 "indice D' AND (NEW_TVAL IS NULL OR NEW_TVAL IN ('7', "
                                 "'9.25', '2', '4'))"),
              10);
    const FieldRow who =
        TestDatabase::fetch("SELECT DB_USER, WORKSTATION, CHANGED_AT FROM TOLVA_JOURNAL").value(0);
    if (TestDatabase::backend() != QLatin1String("sqlite")) {
        EXPECT_EQ(who.value(0).toText(), TestDatabase::setting("Username"));
    }
    EXPECT_FALSE(who.value(0).toText().isEmpty());
    EXPECT_EQ(who.value(1).toText(), QSysInfo::machineHostName());
    EXPECT_FALSE(who.value(2).isNull());
    // The history holds this monitor's rows alone.
    TestDatabase::exec(
        "INSERT INTO TOLVA_JOURNAL VALUES ('2030-01-01 10:00:00', 'x', 'y', 99, "
        "34, 'ProcCapUpper', '1', '2', NULL)");
    QVector<JournalEntry> entries;
    bool exists = false;
    ASSERT_TRUE(ReadJournalHistory(appState(), entries, exists));
    EXPECT_TRUE(exists);
    EXPECT_EQ(entries.size(), 10);
}

TEST_F(JournalTest, AGroupRolledBackOrARefusedRecordLeavesNeitherValuesNorRecords) {
    for (const char* refused : {"CSMDAT", "TOLVA_JOURNAL"}) {
        MonitorData data({34});
        TestDatabase::createJournal();
        loadCharts(data);
        // The type and the LCL are updated (and recorded) before the UCL's new row.
        setGroup(34, X, num(7), o, num(9));
        refuseInserts(refused);
        const StoreOutcome outcome = SaveMonitorOptions(appState());
        EXPECT_FALSE(outcome.ok()) << refused;
        EXPECT_TRUE(outcome.driverText.contains("refusee") ||
                    outcome.driverText.contains("permission"))
            << outcome.driverText.toStdString();
        EXPECT_EQ(MonitorData::value(34, "XTypeOfLCLandUCL"), "1") << refused;
        EXPECT_EQ(MonitorData::value(34, "XChartLCLConstant"), "7.50") << refused;
        EXPECT_EQ(journalRows(), "") << refused;
    }
}

// Without the table a save looks for it once, not once per value.
TEST_F(JournalTest, WithoutTheTableASaveLooksForItOnce) {
    MonitorData data({34});
    loadCharts(data);
    setGroup(34, X, num(7), o, num(9));
    const qint64 catalogCalls = sqlCounters().catalogCalls;
    ASSERT_TRUE(SaveMonitorOptions(appState(), nullptr, "motif"));
    EXPECT_EQ(sqlCounters().catalogCalls - catalogCalls, catalogCallsPerSave());
}

}  // namespace
}  // namespace tolva::test
