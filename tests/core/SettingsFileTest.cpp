#include <gtest/gtest.h>
#include <QDir>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <sys/resource.h>
#include <csignal>

#include "CoreTestSupport.h"
#include "app/SharedState.h"
#include "app/Startup.h"
#include "settings/modCfg.h"

using namespace tolva;
using tolva::test::readBytes;
using tolva::test::writeBytes;

namespace {

QString configCopyPath() {
    return QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation) +
           QStringLiteral("/MEK_TOLVA.cfg");
}

// Lets this process write at most `bytes` bytes into any file, the way a full
// disk would stop it. Permissions cannot do that here: the tests may run as root.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        getrlimit(RLIMIT_FSIZE, &m_previous);
        m_previousHandler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = m_previous;
        limit.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &m_previous);
        std::signal(SIGXFSZ, m_previousHandler);
    }

private:
    rlimit m_previous{};
    void (*m_previousHandler)(int) = nullptr;
};

class SettingsFile : public ::testing::Test {
protected:
    void SetUp() override {
        QStandardPaths::setTestModeEnabled(true);
        QFile::remove(configCopyPath());
        ASSERT_TRUE(m_dir.isValid());
        appState().reset();
        PrepareStartup(m_dir.path());  // defaults; the folder holds no file yet
    }
    void TearDown() override {
        QFile::remove(configCopyPath());
        appState().reset();
    }

    QString filePath() const { return m_dir.path() + QStringLiteral("/MEK_TOLVA.cfg"); }
    void givenFile(const char* utf8Text) { writeBytes(filePath(), QByteArray(utf8Text)); }

    QTemporaryDir m_dir;
};

}  // namespace

TEST_F(SettingsFile, WritesEveryKeyInOrderWithCrLf) {
    SharedState& s = appState();
    s.gDsn = QStringLiteral("Qualite");
    s.gUserId = QStringLiteral("operateur");
    s.gPassword = QStringLiteral("motdepasse");
    s.gShowR = false;
    s.gLastMonitors = {
        {QStringLiteral("Qualite"), 12}, {QString(), 99}, {QStringLiteral("Essais"), 3}};

    ASSERT_TRUE(WriteSettings());
    EXPECT_EQ(SettingsFilePath(), filePath());
    EXPECT_EQ(readBytes(filePath()), QByteArray("DSN=Qualite\r\n"
                                                "UID=operateur\r\n"
                                                "PROCESS CAPABILITY=True\r\n"
                                                "AVERAGE/INDIVIDUAL CHART=True\r\n"
                                                "VARIABILITY CHART=False\r\n"
                                                "MONITOR=Qualite;12\r\n"
                                                "MONITOR=Essais;3\r\n"));
}

TEST_F(SettingsFile, RoundTripKeepsEverythingButThePassword) {
    SharedState& s = appState();
    s.gDsn = QString::fromUtf8("Qualité usine");
    s.gUserId = QStringLiteral(" jean");  // values are not trimmed
    s.gPassword = QStringLiteral("s3cret;PWD");
    s.gShowProc = false;
    s.gShowX = true;
    s.gShowR = true;
    s.gLastMonitors = {{QStringLiteral("A"), -7}, {QString::fromUtf8("Qualité usine"), 2147483647}};
    ASSERT_TRUE(WriteSettings());
    EXPECT_FALSE(readBytes(filePath()).contains("s3cret"));

    appState().reset();
    PrepareStartup(m_dir.path());
    EXPECT_EQ(s.gDsn, QString::fromUtf8("Qualité usine"));
    EXPECT_EQ(s.gUserId, QStringLiteral(" jean"));
    EXPECT_TRUE(s.gPassword.isEmpty());
    EXPECT_FALSE(s.gShowProc);
    EXPECT_TRUE(s.gShowX);
    EXPECT_TRUE(s.gShowR);
    ASSERT_EQ(s.gLastMonitors.size(), 2);
    EXPECT_EQ(s.gLastMonitors[0].Dsn, QStringLiteral("A"));
    EXPECT_EQ(s.gLastMonitors[0].MonId, -7);
    EXPECT_EQ(s.gLastMonitors[1].Dsn, QString::fromUtf8("Qualité usine"));
    EXPECT_EQ(s.gLastMonitors[1].MonId, 2147483647);
}

TEST_F(SettingsFile, MissingFileChangesNothing) {
    appState().gDsn = QStringLiteral("kept");
    EXPECT_FALSE(ReadSettings());
    EXPECT_EQ(appState().gDsn, QStringLiteral("kept"));
    EXPECT_TRUE(appState().gShowProc);
    EXPECT_TRUE(appState().gShowX);
    EXPECT_FALSE(appState().gShowR);
    ASSERT_EQ(appState().gLastMonitors.size(), 1);
    EXPECT_TRUE(appState().gLastMonitors[0].Dsn.isEmpty());
}

TEST_F(SettingsFile, KeysMatchInAnyCaseAndLinesTrimSpacesOnly) {
    givenFile(
        "dsn=Qualite\r\n"
        "   UID=jean   \r\n"
        "UID = ignored\r\n"
        "\tUID=tab stays part of the key\r\n"
        "Process Capability=false\r\n"
        "\r\n"
        "      \r\n"
        "no equals sign here\r\n"
        "COLOUR=blue\r\n"
        "average/individual chart=FALSE\r\n");
    EXPECT_TRUE(ReadSettings());
    EXPECT_EQ(appState().gDsn, QStringLiteral("Qualite"));
    EXPECT_EQ(appState().gUserId, QStringLiteral("jean"));
    EXPECT_FALSE(appState().gShowProc);
    EXPECT_FALSE(appState().gShowX);
}

TEST_F(SettingsFile, ValuesAreTakenUntrimmedUpToASecondEquals) {
    givenFile(
        "DSN=a=b\r\n"
        "UID= x\r\n");
    EXPECT_TRUE(ReadSettings());
    EXPECT_EQ(appState().gDsn, QStringLiteral("a"));
    EXPECT_EQ(appState().gUserId, QStringLiteral(" x"));

    givenFile("DSN=first\r\nDSN=\r\n");  // a later line wins, even when empty
    EXPECT_TRUE(ReadSettings());
    EXPECT_TRUE(appState().gDsn.isEmpty());
}

TEST_F(SettingsFile, SwitchesAcceptTrueFalseAnyCaseOrNumbers) {
    givenFile(
        "PROCESS CAPABILITY=tRUE\r\n"
        "AVERAGE/INDIVIDUAL CHART=0\r\n"
        "VARIABILITY CHART=-1\r\n");
    EXPECT_TRUE(ReadSettings());
    EXPECT_TRUE(appState().gShowProc);
    EXPECT_FALSE(appState().gShowX);
    EXPECT_TRUE(appState().gShowR);

    givenFile("PROCESS CAPABILITY=0\r\nVARIABILITY CHART=False\r\n");
    EXPECT_TRUE(ReadSettings());
    EXPECT_FALSE(appState().gShowProc);
    EXPECT_FALSE(appState().gShowR);
}

TEST_F(SettingsFile, BadSwitchValueEndsReadingKeepingEarlierLines) {
    givenFile(
        "DSN=before\r\n"
        "PROCESS CAPABILITY=False\r\n"
        "VARIABILITY CHART=Oui\r\n"
        "UID=after\r\n"
        "AVERAGE/INDIVIDUAL CHART=False\r\n"
        "MONITOR=after;1\r\n");
    EXPECT_FALSE(ReadSettings());
    EXPECT_EQ(appState().gDsn, QStringLiteral("before"));
    EXPECT_FALSE(appState().gShowProc);
    EXPECT_FALSE(appState().gShowR);
    EXPECT_TRUE(appState().gUserId.isEmpty());
    EXPECT_TRUE(appState().gShowX);
    ASSERT_EQ(appState().gLastMonitors.size(), 1);
    EXPECT_TRUE(appState().gLastMonitors[0].Dsn.isEmpty());

    givenFile("AVERAGE/INDIVIDUAL CHART=\r\nDSN=after\r\n");  // empty is no boolean either
    EXPECT_FALSE(ReadSettings());
    EXPECT_EQ(appState().gDsn, QStringLiteral("before"));
}

TEST_F(SettingsFile, MonitorLinesNeedExactlyTwoParts) {
    givenFile(
        "MONITOR=Qualite\r\n"
        "MONITOR=Qualite;12;3\r\n"
        "MONITOR=Essais;3\r\n"
        "monitor=Qualite;12\r\n"
        "MONITOR=Essais;4\r\n");
    EXPECT_TRUE(ReadSettings());
    const auto& list = appState().gLastMonitors;
    // The first line taken replaces the start-up entry; same names both stay.
    ASSERT_EQ(list.size(), 3);
    EXPECT_EQ(list[0].Dsn, QStringLiteral("Essais"));
    EXPECT_EQ(list[0].MonId, 3);
    EXPECT_EQ(list[1].Dsn, QStringLiteral("Qualite"));
    EXPECT_EQ(list[1].MonId, 12);
    EXPECT_EQ(list[2].Dsn, QStringLiteral("Essais"));
    EXPECT_EQ(list[2].MonId, 4);
}

TEST_F(SettingsFile, BadMonitorNumberEndsReadingWithoutAHalfEntry) {
    for (const char* bad : {"MONITOR=B;douze\r\n", "MONITOR=B;2147483648\r\n", "MONITOR=B;1.5\r\n",
                            "MONITOR=B;\r\n"}) {
        appState().gDsn.clear();
        appState().gLastMonitors = {DsnMonitor{}};
        givenFile((QByteArray("MONITOR=A;1\r\n") + bad + "DSN=after\r\n").constData());
        EXPECT_FALSE(ReadSettings()) << bad;
        ASSERT_EQ(appState().gLastMonitors.size(), 1) << bad;
        EXPECT_EQ(appState().gLastMonitors[0].Dsn, QStringLiteral("A")) << bad;
        EXPECT_EQ(appState().gLastMonitors[0].MonId, 1) << bad;
        EXPECT_TRUE(appState().gDsn.isEmpty()) << bad;
    }
}

TEST_F(SettingsFile, LineFeedOnlyFileIsRead) {
    givenFile("DSN=unix\nUID=lf\nMONITOR=unix;5\n");
    EXPECT_TRUE(ReadSettings());
    EXPECT_EQ(appState().gDsn, QStringLiteral("unix"));
    EXPECT_EQ(appState().gUserId, QStringLiteral("lf"));
    ASSERT_EQ(appState().gLastMonitors.size(), 1);
    EXPECT_EQ(appState().gLastMonitors[0].MonId, 5);
}

TEST_F(SettingsFile, FailedWriteKeepsThePreviousFile) {
    appState().gDsn = QStringLiteral("Qualite");
    appState().gLastMonitors = {{QStringLiteral("Qualite"), 12}};
    ASSERT_TRUE(WriteSettings());
    const QByteArray before = readBytes(filePath());
    ASSERT_GT(before.size(), 16);

    appState().gDsn = QStringLiteral("Essais");
    appState().gUserId = QStringLiteral("quelqu'un");
    bool written = true;
    {
        FileSizeLimit full(16);
        written = WriteSettings();
    }
    EXPECT_FALSE(written);
    EXPECT_EQ(readBytes(filePath()), before);
    // No half-written copy is left beside it either.
    EXPECT_EQ(QDir(m_dir.path()).entryList(QDir::Files),
              QStringList{QStringLiteral("MEK_TOLVA.cfg")});

    ASSERT_TRUE(WriteSettings());  // room again: the new settings go through
    appState().gDsn.clear();
    ASSERT_TRUE(ReadSettings());
    EXPECT_EQ(appState().gDsn, QStringLiteral("Essais"));
}

TEST_F(SettingsFile, UnwritableProgramFolderUsesUserConfigFolder) {
    // A path below a plain file is no folder anyone can write into, root included.
    writeBytes(m_dir.path() + QStringLiteral("/plainfile"), "x");
    appState().gAppPath = m_dir.path() + QStringLiteral("/plainfile/");
    EXPECT_EQ(SettingsFilePath(), configCopyPath());

    appState().gDsn = QStringLiteral("ailleurs");
    ASSERT_TRUE(WriteSettings());
    EXPECT_TRUE(readBytes(configCopyPath()).startsWith("DSN=ailleurs\r\n"));
    appState().gDsn.clear();
    EXPECT_TRUE(ReadSettings());
    EXPECT_EQ(appState().gDsn, QStringLiteral("ailleurs"));
}

TEST_F(SettingsFile, ReadingLooksWhereWritingWrites) {
    // A copy in the user's folder is not used while the program folder is writable.
    QDir().mkpath(QFileInfo(configCopyPath()).absolutePath());
    writeBytes(configCopyPath(), "DSN=ailleurs\r\n");
    EXPECT_FALSE(ReadSettings());
    EXPECT_TRUE(appState().gDsn.isEmpty());
}
