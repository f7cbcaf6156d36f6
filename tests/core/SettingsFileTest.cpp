#include <gtest/gtest.h>
#include <QDir>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <sys/resource.h>
#include <csignal>

#include "CoreTestSupport.h"
#include "app/Catalog.h"
#include "app/Startup.h"
#include "settings/modCfg.h"

using namespace tolva;
using namespace tolva::test;

namespace {

QString userCopyPath() {
    return QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation) + "/MEK_TOLVA.cfg";
}

// WriteSettings with room for `bytes` bytes in any file, as on a full disk
// (permissions cannot stop the tests when they run as root).
bool writeWithRoomFor(rlim_t bytes) {
    rlimit previous{};
    getrlimit(RLIMIT_FSIZE, &previous);
    rlimit limit = previous;
    limit.rlim_cur = bytes;
    const auto handler = std::signal(SIGXFSZ, SIG_IGN);
    setrlimit(RLIMIT_FSIZE, &limit);
    const bool written = WriteSettings();
    setrlimit(RLIMIT_FSIZE, &previous);
    std::signal(SIGXFSZ, handler);
    return written;
}

// Start-up with the settings file (if any) in a folder of the test's own.
class SettingsFile : public ::testing::Test {
protected:
    void SetUp() override {
        QStandardPaths::setTestModeEnabled(true);
        QFile::remove(userCopyPath());
        appState().reset();
        PrepareStartup(m_dir.path());
    }
    void TearDown() override {
        QFile::remove(userCopyPath());
        appState().reset();
    }
    QString filePath() const { return m_dir.path() + "/MEK_TOLVA.cfg"; }
    // DSN|UID|switches as 0/1|last monitors
    static QString state() {
        const SharedState& s = appState();
        const QString switches =
            QStringLiteral("%1%2%3").arg(s.gShowProc).arg(s.gShowX).arg(s.gShowR);
        return QStringList{s.gDsn, s.gUserId, switches, lastMonitors()}.join(u'|');
    }

    QTemporaryDir m_dir;
};

}  // namespace

TEST_F(SettingsFile, StartupSetsHeadingsDefaultsAndProgramFolder) {
    SharedState& s = appState();
    const QString* headings[] = {&s.gCapSpecUpper, &s.gCapSpecNominal, &s.gCapSpecLower,
                                 &s.gCapXUcl,      &s.gCapXLcl,        &s.gCapXCl,
                                 &s.gCapRUcl,      &s.gCapRLcl,        &s.gCapRCl};
    for (int i = 0; i < 9; ++i)
        EXPECT_EQ(*headings[i], catalogHeading(153 + i)) << i;

    // Whatever an earlier run left in memory, start-up without a file sets the defaults.
    s.gShowProc = false;
    s.gShowR = true;
    s.gLastMonitors = {{"a", 1}, {"b", 2}};
    s.gMonitorIndex = 0;
    PrepareStartup(m_dir.path() + "/");
    EXPECT_EQ(state(), "||110|:0");
    EXPECT_EQ(s.gMonitorIndex, -1);
    EXPECT_EQ(s.gAppPath, m_dir.path() + "/");  // one trailing separator, never two
    PrepareStartup("/");
    EXPECT_EQ(s.gAppPath, "/");
    PrepareStartup("C:\\Programmes\\TOLVA\\");
    EXPECT_EQ(s.gAppPath, "C:\\Programmes\\TOLVA\\");
}

TEST_F(SettingsFile, WritesEveryKeyWithCrLfAndReadsItBackWithoutThePassword) {
    SharedState& s = appState();
    s.gDsn = "Qualite";
    s.gUserId = " jean";  // values are not trimmed
    s.gPassword = "motdepasse";
    s.gShowProc = false;
    s.gShowR = true;
    s.gLastMonitors = {{"Qualite", 12}, {"", 99}, {"Essais", -7}, {"Essais", 2147483647}};
    ASSERT_TRUE(WriteSettings());
    EXPECT_EQ(SettingsFilePath(), filePath());
    EXPECT_EQ(readBytes(filePath()),
              "DSN=Qualite\r\nUID= jean\r\nPROCESS CAPABILITY=False\r\n"
              "AVERAGE/INDIVIDUAL CHART=True\r\nVARIABILITY CHART=True\r\n"
              "MONITOR=Qualite;12\r\nMONITOR=Essais;-7\r\nMONITOR=Essais;2147483647\r\n");

    s.gDsn = QString::fromUtf8("Qualité usine");
    ASSERT_TRUE(WriteSettings());
    appState().reset();
    PrepareStartup(m_dir.path());
    EXPECT_EQ(state(),
              QString::fromUtf8("Qualité usine| jean|011|Qualite:12 Essais:-7 Essais:2147483647"));
    EXPECT_TRUE(s.gPassword.isEmpty());
}

TEST_F(SettingsFile, OddLinesAndBadValues) {
    const struct {
        const char* file;
        bool read;
        const char* state;
    } cases[] = {
        {"dsn=Qualite\r\n   UID=jean   \r\nUID = ignored\r\nDSN =x\r\n\tUID=tab in the key\r\n"
         "Process Capability=false\r\n\r\n  \r\nno equals sign\r\nCOLOUR=blue\r\n"
         "average/individual chart=FALSE\r\n",
         true, "Qualite|jean|000|:0"},
        {"DSN=a=b\r\nUID= x\r\n", true, "a| x|110|:0"},
        {"DSN=first\r\nDSN=\r\n", true, "||110|:0"},  // a later line wins, even empty
        {"PROCESS CAPABILITY=tRUE\r\nAVERAGE/INDIVIDUAL CHART=0\r\nVARIABILITY CHART=-1\r\n", true,
         "||101|:0"},
        {"DSN=unix\nUID=lf\nMONITOR=unix;5\n", true, "unix|lf|110|unix:5"},
        // The first MONITOR taken replaces the start-up entry; the same name may come twice.
        {"MONITOR=Qualite\r\nMONITOR=Qualite;12;3\r\nMONITOR=Essais;3\r\nmonitor=Qualite;12\r\n"
         "MONITOR=Essais;4\r\n",
         true, "||110|Essais:3 Qualite:12 Essais:4"},
        // A bad switch or monitor number ends the reading; earlier lines stay.
        {"DSN=before\r\nPROCESS CAPABILITY=False\r\nVARIABILITY CHART=Oui\r\nUID=after\r\n"
         "MONITOR=after;1\r\n",
         false, "before||010|:0"},
        {"AVERAGE/INDIVIDUAL CHART=\r\nDSN=after\r\n", false, "||110|:0"},
        {"MONITOR=A;1\r\nMONITOR=B;douze\r\nDSN=after\r\n", false, "||110|A:1"},
        {"MONITOR=A;1\r\nMONITOR=B;2147483648\r\nDSN=after\r\n", false, "||110|A:1"},
        {"MONITOR=A;1\r\nMONITOR=B;1.5\r\nDSN=after\r\n", false, "||110|A:1"},
        {"MONITOR=A;1\r\nMONITOR=B;\r\nDSN=after\r\n", false, "||110|A:1"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        QFile::remove(filePath());
        appState().reset();
        PrepareStartup(m_dir.path());
        writeBytes(filePath(), c.file);
        EXPECT_EQ(ReadSettings(), c.read);
        EXPECT_EQ(state(), c.state);
    }
    QFile::remove(filePath());
    const QString before = state();
    EXPECT_FALSE(ReadSettings());  // no file: nothing changes
    EXPECT_EQ(state(), before);
}

TEST_F(SettingsFile, FailedWriteKeepsThePreviousFile) {
    appState().gDsn = "Qualite";
    ASSERT_TRUE(WriteSettings());
    const QByteArray before = readBytes(filePath());
    appState().gDsn = "Essais";
    EXPECT_FALSE(writeWithRoomFor(16));
    EXPECT_EQ(readBytes(filePath()), before);
    EXPECT_EQ(QDir(m_dir.path()).entryList(QDir::Files), QStringList{"MEK_TOLVA.cfg"});
}

TEST_F(SettingsFile, UserFolderServesOnlyWhenTheProgramFolderIsNotWritable) {
    QDir().mkpath(QFileInfo(userCopyPath()).absolutePath());
    writeBytes(userCopyPath(), "DSN=ailleurs\r\n");
    EXPECT_FALSE(ReadSettings());
    // A path below a plain file is no folder anyone can write into, root included.
    writeBytes(m_dir.path() + "/plainfile", "x");
    appState().gAppPath = m_dir.path() + "/plainfile/";
    EXPECT_EQ(SettingsFilePath(), userCopyPath());
    EXPECT_TRUE(ReadSettings());
    EXPECT_EQ(appState().gDsn, "ailleurs");
    appState().gDsn = "Essais";
    ASSERT_TRUE(WriteSettings());
    EXPECT_TRUE(readBytes(userCopyPath()).startsWith("DSN=Essais\r\n"));
}
