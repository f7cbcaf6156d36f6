#include <gtest/gtest.h>

#include "CoreTestSupport.h"
#include "core/ViewState.h"
#include "core/modCfg.h"

using namespace tolva;

TEST(ViewState, ColumnsFollowTheSwitchesAndTheCurrentMonitor) {
    SharedState s;
    // Shown groups take three columns each after the characteristic and query columns.
    const struct {
        bool proc, x, r;
        int query, count, specLower, xLcl, rUcl;
    } cases[] = {{false, false, false, 0, 1, -1, -1, -1},
                 {true, true, true, 1, 11, 2, 5, 10},
                 {false, true, true, 0, 7, -1, 1, 6}};
    for (const auto& c : cases) {
        s.gShowProc = c.proc;
        s.gShowX = c.x;
        s.gShowR = c.r;
        s.gMonitors = {{"Autre", 1, 0}, {"Choisi", 40, c.query}};
        s.gMonitorIndex = 1;
        ApplyViewState(s);
        EXPECT_EQ(s.gColQuery, c.query);
        EXPECT_EQ(s.gColCount, c.count);
        EXPECT_EQ((QVector<int>{s.gColSpecLower, s.gColXLcl, s.gColRUcl}),
                  (QVector<int>{c.specLower, c.xLcl, c.rUcl}));
    }
    EXPECT_EQ((QVector<int>{s.gColXCl, s.gColXUcl, s.gColRLcl, s.gColRCl}),
              (QVector<int>{2, 3, 4, 5}));
    // No monitor: no columns, and the numbers of the last layout stay.
    s.gMonitorIndex = -1;
    s.gShowX = false;
    ApplyViewState(s);
    EXPECT_EQ(s.gColCount, 0);
    EXPECT_EQ((QVector<int>{s.gColXLcl, s.gColRUcl}), (QVector<int>{1, 6}));
}

TEST(ViewState, RememberMonitorFillsTheStartEntryBeforeGrowing) {
    SharedState& s = appState();
    s.reset();
    s.gLastMonitors = {DsnMonitor{}};
    const std::tuple<const char*, qint32, const char*> steps[] = {
        {"Qualite", 12, "Qualite:12"},
        {"Essais", 3, "Qualite:12 Essais:3"},
        {"Qualite", 44, "Qualite:44 Essais:3"},
        {"qualite", 5, "Qualite:44 Essais:3 qualite:5"}};  // names keep their case
    for (const auto& [dsn, monId, expected] : steps) {
        s.gDsn = dsn;
        s.gMonitors = {{"Autre", 1, 0}, {"Choisi", monId, 0}};
        s.gMonitorIndex = 1;
        RememberMonitor();
        EXPECT_EQ(test::lastMonitors(), expected);
    }
    s.reset();
}
