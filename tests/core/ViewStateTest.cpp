#include <gtest/gtest.h>

#include "CoreTestSupport.h"
#include "settings/modCfg.h"
#include "support/FakeEditorPort.h"

using namespace tolva;

namespace {

class ViewState : public ::testing::Test {
protected:
    void SetUp() override { appState().reset(); }
    void TearDown() override { appState().reset(); }
    static void chooseMonitor(qint32 monId, qint32 isQueryProfile) {
        appState().gMonitors = {{"Autre", 1, 0}, {"Choisi", monId, isQueryProfile}};
        appState().gMonitorIndex = 1;
    }
};

}  // namespace

TEST_F(ViewState, ColumnsForEverySwitchCombinationAndSwitchesToTheEditor) {
    SharedState& s = appState();
    test::FakeEditorPort editor;
    for (int query = 0; query <= 1; ++query) {
        for (int bits = 0; bits < 8; ++bits) {
            SCOPED_TRACE(testing::Message() << "query " << query << " switches " << bits);
            s.gShowProc = bits & 1;
            s.gShowX = bits & 2;
            s.gShowR = bits & 4;
            chooseMonitor(40, query);
            ApplyViewState();
            // Shown groups take three columns each after the characteristic and query
            // columns, in the order specification limits, Individual/Average, Range.
            const int* groups[3][3] = {{&s.gColSpecLower, &s.gColSpecNominal, &s.gColSpecUpper},
                                       {&s.gColXLcl, &s.gColXCl, &s.gColXUcl},
                                       {&s.gColRLcl, &s.gColRCl, &s.gColRUcl}};
            int next = 1 + query;
            for (int g = 0; g < 3; ++g) {
                const bool shown = bits & (1 << g);
                for (int k = 0; k < 3; ++k)
                    EXPECT_EQ(*groups[g][k], shown ? next + k : -1) << g << k;
                next += shown ? 3 : 0;
            }
            EXPECT_EQ(s.gColQuery, query);
            EXPECT_EQ(s.gColCount, next);
        }
    }
    EXPECT_EQ(s.gColCount, 11);  // everything shown with a query profile
    s.gShowProc = s.gShowX = s.gShowR = false;
    chooseMonitor(40, 0);
    ApplyViewState();
    EXPECT_EQ(s.gColCount, 1);  // the characteristic alone

    s.gMonitorIndex = -1;  // no monitor: no columns, the other numbers left alone
    s.gShowR = true;
    ApplyViewState();
    EXPECT_EQ(s.gColCount, 0);
    EXPECT_EQ(s.gColRUcl, -1);
    EXPECT_EQ(editor.switches.mid(14),  // one per call
              (QStringList{"011", "111", "000", "001"}));
}

TEST_F(ViewState, RememberMonitorFillsTheStartEntryBeforeGrowing) {
    SharedState& s = appState();
    s.gLastMonitors = {DsnMonitor{}};
    const std::tuple<const char*, qint32, const char*> steps[] = {
        {"Qualite", 12, "Qualite:12"},
        {"Essais", 3, "Qualite:12 Essais:3"},
        {"Qualite", 44, "Qualite:44 Essais:3"},
        {"qualite", 5, "Qualite:44 Essais:3 qualite:5"}};  // names keep their case
    for (const auto& [dsn, monId, expected] : steps) {
        s.gDsn = dsn;
        chooseMonitor(monId, 0);
        RememberMonitor();
        EXPECT_EQ(test::lastMonitors(), expected);
    }
    s.gLastMonitors = {{"Essais", 1}, {"Qualite", 2}, {"Qualite", 3}};
    s.gDsn = "Qualite";
    chooseMonitor(77, 0);
    RememberMonitor();
    EXPECT_EQ(test::lastMonitors(), "Essais:1 Qualite:77 Qualite:3");
}
