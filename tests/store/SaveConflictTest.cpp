#include <gtest/gtest.h>

#include "StoreTestSupport.h"
#include "core/Catalog.h"
#include "core/OptionReader.h"
#include "core/SaveWalk.h"

namespace tolva::test {
namespace {

const OptionGroup Spec = OptionGroup::Spec, X = OptionGroup::X;
const TaggedValue o;

// Answers conflicts from a script (none left: stop) and keeps what it was shown.
struct ScriptedResolver : ConflictResolver {
    ConflictAnswer resolve(const GroupConflict& c) override {
        seen.append(c);
        if (onAsk)
            onAsk();
        return answers.isEmpty() ? ConflictAnswer{} : answers.takeFirst();
    }
    QVector<GroupConflict> seen;
    QVector<ConflictAnswer> answers;
    std::function<void()> onAsk;
};

QString values(const std::array<TaggedValue, 3>& v) {
    return valueText(v[0]) + " " + valueText(v[1]) + " " + valueText(v[2]);
}

// Another workstation's save of chart 34's X upper limit, on a connection of its own.
void otherSetsUcl(const char* tval) {
    TestDatabase::exec(
        QStringLiteral("UPDATE CSMDAT SET TVAL = '%1' WHERE CHRTID = 34 AND OPTID IN "
                       "(SELECT OPTID FROM CSOPT WHERE NAME = 'XChartUCLConstant')")
            .arg(tval));
}

using SaveConflictTest = StoreTest;

// Both workstations change the X limits of chart 34; ours also changes its
// specification, which nobody else touched and which comes first.
TEST_F(SaveConflictTest, SameGroupChangedOnBothSidesFollowsTheAnswer) {
    const struct {
        ConflictAnswer::Choice choice;
        const char* ucl;    // in the database afterwards
        const char* shown;  // X cells afterwards, loaded and current alike for a take
        bool saved;
    } cases[] = {{ConflictAnswer::Overwrite, "5", "1 - 5", true},
                 {ConflictAnswer::TakeStored, "6", "1 - 6", true},
                 {ConflictAnswer::Stop, "6", "1 - 5", false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(int(c.choice));
        MonitorData data({34});
        data.setAll(34,
                    "ProcCapSpecType=1 ProcCapLower=9 ProcCapNominal=10 ProcCapUpper=11 "
                    "XTypeOfLCLandUCL=2 XChartLCLConstant=1 XChartUCLConstant=4");
        ASSERT_TRUE(LoadMonitorOptions(appState()));
        setGroup(34, Spec, num(8), num(10), num(11));
        setGroup(34, X, num(1), o, num(5));
        otherSetsUcl("6");
        ScriptedResolver user;
        user.answers = {{c.choice, false}};
        const StoreOutcome outcome = SaveMonitorOptions(appState(), &user);
        ASSERT_EQ(user.seen.size(), 1);
        EXPECT_EQ(user.seen[0].chartName, "Cote 34");
        EXPECT_EQ(user.seen[0].group, X);
        EXPECT_EQ(values(user.seen[0].loaded) + " / " + values(user.seen[0].stored) + " / " +
                      values(user.seen[0].yours),
                  "1 - 4 / 1 - 6 / 1 - 5");
        EXPECT_EQ(outcome.ok(), c.saved) << outcome.text().toStdString();
        EXPECT_EQ(MonitorData::value(34, "XChartUCLConstant"), c.ucl);
        EXPECT_EQ(MonitorData::value(34, "ProcCapLower"), "8");  // the group before: written
        const OptionRow& row = MonitorData::row(34);
        EXPECT_EQ(values({row.XLcl.Current, row.XCl.Current, row.XUcl.Current}), c.shown);
        if (c.choice == ConflictAnswer::TakeStored) {
            EXPECT_EQ(appState().gOptionRows.groupChange(MonitorData::rowIndex(34), X), 0);
        }
        if (!c.saved) {
            EXPECT_EQ(outcome.text(),
                      catalogText(300).arg("Cote 34") + "\r\n" + catalogText(216).arg(0));
        }
    }
}

// A stale screen: a value deleted elsewhere is neither brought back nor, when
// set elsewhere, deleted, without the user being asked; a group nobody else
// touched is saved beside another one's change of the same chart.
TEST_F(SaveConflictTest, DeletionsAndAdditionsElsewhereAreSeenAndOtherGroupsAreKept) {
    const char* setUp =
        "ProcCapSpecType=1 ProcCapLower=9 ProcCapNominal=10 ProcCapUpper=11 XTypeOfLCLandUCL=2 "
        "XChartLCLConstant=1 XChartUCLConstant=4 XChartCenterLine=1 XChartCenterLineValue=2";
    const struct {
        const char* other;  // what the other workstation runs (chart 34)
        TaggedValue low, centre, high;
        int conflicts;
        const char* centreAfter;  // XChartCenterLineValue in the end
        const char* nominalAfter;
    } cases[] = {
        // Our change of the upper limit against the centre line's deletion.
        {"DELETE FROM CSMDAT WHERE OPTID = 9", num(1), num(2), num(5), 1, "<none>", "10"},
        // Our clearing of the group against a new centre line value.
        {"UPDATE CSMDAT SET TVAL = '3' WHERE OPTID = 9", o, o, o, 1, "3", "10"},
        // Ours: X limits; theirs: the nominal. Both kept, nobody asked.
        {"UPDATE CSMDAT SET TVAL = '10.5' WHERE OPTID = 3", num(0), num(2), num(4), 0, "2", "10.5"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.other);
        MonitorData data({34});
        data.setAll(34, setUp);
        ASSERT_TRUE(LoadMonitorOptions(appState()));
        setGroup(34, X, c.low, c.centre, c.high);
        TestDatabase::exec(c.other);
        ScriptedResolver user;  // stops at any conflict
        const StoreOutcome outcome = SaveMonitorOptions(appState(), &user);
        EXPECT_EQ(user.seen.size(), c.conflicts);
        EXPECT_EQ(outcome.ok(), c.conflicts == 0);
        EXPECT_EQ(MonitorData::value(34, "XChartCenterLineValue"), c.centreAfter);
        EXPECT_EQ(MonitorData::value(34, "ProcCapNominal"), c.nominalAfter);
        if (c.conflicts == 0) {
            EXPECT_EQ(MonitorData::value(34, "XChartLCLConstant"), "0");
        }
    }
}

// A change committed just before the save's locked read is seen; one committed
// while the box waits is asked about again before anything is written.
TEST_F(SaveConflictTest, ChangesUpToTheLockedReadAreAllSeen) {
    MonitorData data({34});
    data.setAll(34, "XTypeOfLCLandUCL=2 XChartLCLConstant=1 XChartUCLConstant=4");
    ASSERT_TRUE(LoadMonitorOptions(appState()));
    setGroup(34, X, num(1), o, num(5));
    ScriptedResolver user;
    user.answers = {{ConflictAnswer::Overwrite, false}, {ConflictAnswer::Overwrite, true}};
    user.onAsk = [&] {
        if (user.seen.size() == 1)
            otherSetsUcl("7");
    };
    // Statement 0 opens the transaction; the locked read comes next.
    StatementTrap trap(1, [] { otherSetsUcl("6"); });
    const StoreOutcome outcome = SaveMonitorOptions(appState(), &user);
    ASSERT_TRUE(outcome.ok()) << outcome.text().toStdString();
    ASSERT_EQ(user.seen.size(), 2);
    EXPECT_EQ(values(user.seen[0].stored), "1 - 6");
    EXPECT_EQ(values(user.seen[1].stored), "1 - 7");
    EXPECT_EQ(MonitorData::value(34, "XChartUCLConstant"), "5");
}

}  // namespace
}  // namespace tolva::test
