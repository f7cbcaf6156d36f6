#include <gtest/gtest.h>
#include <QStandardPaths>
#include <QTemporaryDir>

#include "CoreTestSupport.h"
#include "app/SharedState.h"
#include "app/Startup.h"

using namespace tolva;

namespace {

class Startup : public ::testing::Test {
protected:
    void SetUp() override {
        QStandardPaths::setTestModeEnabled(true);
        ASSERT_TRUE(m_dir.isValid());
        appState().reset();
    }
    void TearDown() override { appState().reset(); }
    QTemporaryDir m_dir;
};

}  // namespace

TEST_F(Startup, HeadingsAreConvertedInCatalogOrder) {
    PrepareStartup(m_dir.path());
    const SharedState& s = appState();
    EXPECT_EQ(s.gCapSpecUpper, QString::fromUtf8("SPECS\r\nSupérieure"));
    EXPECT_EQ(s.gCapSpecNominal, QStringLiteral("SPECS\r\nNominal"));
    EXPECT_EQ(s.gCapSpecLower, QString::fromUtf8("SPECS\r\nInférieure"));
    EXPECT_EQ(s.gCapXUcl, QStringLiteral("Carte\r\nIND/MOY\r\nLCS"));
    EXPECT_EQ(s.gCapXLcl, QStringLiteral("Carte\r\nIND/MOY\r\nLCI"));
    EXPECT_EQ(s.gCapXCl, QStringLiteral("Carte\r\nIND/MOY\r\nLC"));
    EXPECT_EQ(s.gCapRUcl, QStringLiteral("Carte\r\nMR/R/S\r\nLCS"));
    EXPECT_EQ(s.gCapRLcl, QStringLiteral("Carte\r\nMR/R/S\r\nLCI"));
    EXPECT_EQ(s.gCapRCl, QStringLiteral("Carte\r\nMR/R/S\r\nLC"));
}

TEST_F(Startup, FirstRunWithoutSettingsFileUsesDefaults) {
    // Whatever an earlier run left in memory, start-up sets its own defaults.
    SharedState& s = appState();
    s.gShowProc = false;
    s.gShowR = true;
    s.gLastMonitors = {{QStringLiteral("a"), 1}, {QStringLiteral("b"), 2}};
    s.gMonitorIndex = 0;
    PrepareStartup(m_dir.path());
    EXPECT_TRUE(s.gShowProc);
    EXPECT_TRUE(s.gShowX);
    EXPECT_FALSE(s.gShowR);
    ASSERT_EQ(s.gLastMonitors.size(), 1);
    EXPECT_TRUE(s.gLastMonitors[0].Dsn.isEmpty());
    EXPECT_EQ(s.gLastMonitors[0].MonId, 0);
    EXPECT_EQ(s.gMonitorIndex, -1);
    EXPECT_TRUE(s.gDsn.isEmpty());
    EXPECT_TRUE(s.gUserId.isEmpty());
}

TEST_F(Startup, ProgramFolderGetsExactlyOneTrailingSeparator) {
    PrepareStartup(m_dir.path());
    EXPECT_EQ(appState().gAppPath, m_dir.path() + QStringLiteral("/"));
    PrepareStartup(m_dir.path() + QStringLiteral("/"));
    EXPECT_EQ(appState().gAppPath, m_dir.path() + QStringLiteral("/"));
    PrepareStartup(QStringLiteral("/"));
    EXPECT_EQ(appState().gAppPath, QStringLiteral("/"));
    // A folder already ending with the other separator keeps it, alone.
    PrepareStartup(QStringLiteral("C:\\Programmes\\TOLVA\\"));
    EXPECT_EQ(appState().gAppPath, QStringLiteral("C:\\Programmes\\TOLVA\\"));
}

TEST_F(Startup, ReadsTheSettingsFileBesideTheProgram) {
    test::writeBytes(m_dir.path() + QStringLiteral("/MEK_TOLVA.cfg"),
                     "DSN=Qualite\r\nUID=operateur\r\nVARIABILITY CHART=True\r\n"
                     "MONITOR=Qualite;12\r\nPROCESS CAPABILITY=peut-etre\r\nDSN=jamais\r\n");
    PrepareStartup(m_dir.path());
    const SharedState& s = appState();
    EXPECT_EQ(s.gDsn, QStringLiteral("Qualite"));
    EXPECT_EQ(s.gUserId, QStringLiteral("operateur"));
    EXPECT_TRUE(s.gShowR);
    EXPECT_TRUE(s.gShowProc);  // the bad line stopped the reading; the default stays
    ASSERT_EQ(s.gLastMonitors.size(), 1);
    EXPECT_EQ(s.gLastMonitors[0].MonId, 12);
    EXPECT_EQ(s.gMonitorIndex, -1);
}
