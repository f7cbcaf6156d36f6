#include <gtest/gtest.h>
#include <QVector>

#include "app/EditorPort.h"
#include "app/SharedState.h"
#include "settings/modCfg.h"

using namespace tolva;

namespace {

struct Switches {
    bool proc, x, r;
    bool operator==(const Switches& o) const { return proc == o.proc && x == o.x && r == o.r; }
};

class FakeEditor final : public EditorPort {
public:
    void beginOptionLoad() override {}
    void revealGroup(OptionGroup) override {}
    void EditGridCell(int, int, const QString&) override {}
    void showViewSwitches(bool proc, bool x, bool r) override { shown.append({proc, x, r}); }
    QVector<Switches> shown;
};

class ViewState : public ::testing::Test {
protected:
    void SetUp() override {
        appState().reset();
        setEditorProvider(nullptr);
    }
    void TearDown() override {
        setEditorProvider(nullptr);
        appState().reset();
    }
    static void chooseMonitor(qint32 monId, qint32 isQueryProfile) {
        appState().gMonitors = {{QStringLiteral("Autre"), 1, 0},
                                {QStringLiteral("Choisi"), monId, isQueryProfile}};
        appState().gMonitorIndex = 1;
    }
};

// The three columns of one group, lower / centre / upper.
struct Group {
    int lower, centre, upper;
};

}  // namespace

TEST_F(ViewState, ColumnsForEverySwitchCombination) {
    SharedState& s = appState();
    for (int query = 0; query <= 1; ++query) {
        for (int bits = 0; bits < 8; ++bits) {
            s.gShowProc = bits & 1;
            s.gShowX = bits & 2;
            s.gShowR = bits & 4;
            chooseMonitor(40, query);
            ApplyViewState();

            const Group groups[] = {{s.gColSpecLower, s.gColSpecNominal, s.gColSpecUpper},
                                    {s.gColXLcl, s.gColXCl, s.gColXUcl},
                                    {s.gColRLcl, s.gColRCl, s.gColRUcl}};
            const bool shown[] = {s.gShowProc, s.gShowX, s.gShowR};
            SCOPED_TRACE(testing::Message() << "query " << query << " switches " << bits);
            EXPECT_EQ(s.gColQuery, query);
            // Shown groups follow one another from the first free column, in
            // the order process capability, Individual/Average, Moving Range.
            int next = 1 + query;
            for (int g = 0; g < 3; ++g) {
                if (shown[g]) {
                    EXPECT_EQ(groups[g].lower, next);
                    EXPECT_EQ(groups[g].centre, next + 1);
                    EXPECT_EQ(groups[g].upper, next + 2);
                    next += 3;
                } else {
                    EXPECT_EQ(groups[g].lower, -1);
                    EXPECT_EQ(groups[g].centre, -1);
                    EXPECT_EQ(groups[g].upper, -1);
                }
            }
            EXPECT_EQ(s.gColCount, next);
        }
    }
}

TEST_F(ViewState, ColumnCountsAtTheExtremes) {
    SharedState& s = appState();
    s.gShowProc = s.gShowX = s.gShowR = false;
    chooseMonitor(40, 0);
    ApplyViewState();
    EXPECT_EQ(s.gColCount, 1);  // the characteristic column alone
    EXPECT_EQ(s.gColQuery, 0);

    s.gShowProc = s.gShowX = s.gShowR = true;
    chooseMonitor(40, 1);
    ApplyViewState();
    EXPECT_EQ(s.gColCount, 11);
    EXPECT_EQ(s.gColQuery, 1);
    EXPECT_EQ(s.gColSpecLower, 2);
    EXPECT_EQ(s.gColSpecUpper, 4);
    EXPECT_EQ(s.gColXLcl, 5);
    EXPECT_EQ(s.gColRCl, 9);
    EXPECT_EQ(s.gColRUcl, 10);
}

TEST_F(ViewState, NoMonitorLeavesNoColumnsAndOtherNumbersAlone) {
    SharedState& s = appState();
    s.gShowProc = s.gShowX = s.gShowR = true;
    chooseMonitor(40, 1);
    ApplyViewState();
    ASSERT_EQ(s.gColCount, 11);

    s.gMonitorIndex = -1;
    s.gShowR = false;
    ApplyViewState();
    EXPECT_EQ(s.gColCount, 0);
    EXPECT_EQ(s.gColQuery, 1);
    EXPECT_EQ(s.gColRUcl, 10);
}

TEST_F(ViewState, ReachesTheEditorWindowWithTheSwitches) {
    FakeEditor editor;
    setEditorProvider([&editor]() -> EditorPort* { return &editor; });
    appState().gShowProc = true;
    appState().gShowX = false;
    appState().gShowR = true;
    appState().gMonitorIndex = -1;
    ApplyViewState();
    ASSERT_EQ(editor.shown.size(), 1);
    EXPECT_EQ(editor.shown[0], (Switches{true, false, true}));

    appState().gShowProc = false;
    ApplyViewState();
    ASSERT_EQ(editor.shown.size(), 2);
    EXPECT_EQ(editor.shown[1], (Switches{false, false, true}));
}

TEST_F(ViewState, RememberMonitorFillsTheStartEntryBeforeGrowing) {
    SharedState& s = appState();
    s.gLastMonitors = {DsnMonitor{}};
    s.gDsn = QStringLiteral("Qualite");
    chooseMonitor(12, 0);
    RememberMonitor();
    ASSERT_EQ(s.gLastMonitors.size(), 1);
    EXPECT_EQ(s.gLastMonitors[0].Dsn, QStringLiteral("Qualite"));
    EXPECT_EQ(s.gLastMonitors[0].MonId, 12);

    s.gDsn = QStringLiteral("Essais");
    chooseMonitor(3, 0);
    RememberMonitor();
    ASSERT_EQ(s.gLastMonitors.size(), 2);
    EXPECT_EQ(s.gLastMonitors[1].Dsn, QStringLiteral("Essais"));
    EXPECT_EQ(s.gLastMonitors[1].MonId, 3);

    s.gDsn = QStringLiteral("Qualite");
    chooseMonitor(44, 0);
    RememberMonitor();
    ASSERT_EQ(s.gLastMonitors.size(), 2);
    EXPECT_EQ(s.gLastMonitors[0].MonId, 44);
    EXPECT_EQ(s.gLastMonitors[1].MonId, 3);

    // Names compare with their letter case.
    s.gDsn = QStringLiteral("qualite");
    RememberMonitor();
    ASSERT_EQ(s.gLastMonitors.size(), 3);
    EXPECT_EQ(s.gLastMonitors[0].MonId, 44);
    EXPECT_EQ(s.gLastMonitors[2].Dsn, QStringLiteral("qualite"));
}

TEST_F(ViewState, RememberMonitorUpdatesOnlyTheFirstOfTwoSameEntries) {
    SharedState& s = appState();
    s.gLastMonitors = {{QStringLiteral("Essais"), 1},
                       {QStringLiteral("Qualite"), 2},
                       {QStringLiteral("Qualite"), 3}};
    s.gDsn = QStringLiteral("Qualite");
    chooseMonitor(77, 0);
    RememberMonitor();
    ASSERT_EQ(s.gLastMonitors.size(), 3);
    EXPECT_EQ(s.gLastMonitors[0].MonId, 1);
    EXPECT_EQ(s.gLastMonitors[1].MonId, 77);
    EXPECT_EQ(s.gLastMonitors[2].MonId, 3);
}
