#include <gtest/gtest.h>

#include "CoreTestSupport.h"
#include "core/ViewState.h"
#include "core/modCfg.h"

using namespace tolva;

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
        RememberMonitor(appState());
        EXPECT_EQ(test::lastMonitors(), expected);
    }
    s.reset();
}
