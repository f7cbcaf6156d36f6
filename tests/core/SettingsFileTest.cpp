#include <gtest/gtest.h>
#include <QDir>
#include <QTemporaryDir>

#include <sys/resource.h>
#include <csignal>

#include "CoreTestSupport.h"
#include "core/Startup.h"
#include "core/Version.h"
#include "core/modCfg.h"

using namespace tolva;
using namespace tolva::test;

namespace {

// Start-up with the settings file (if any) in a folder of the test's own.
class SettingsFile : public ::testing::Test {
protected:
    void SetUp() override {
        appState().reset();
        PrepareStartup(appState(), m_dir.path());
    }
    void TearDown() override { appState().reset(); }
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

TEST_F(SettingsFile, WritesEveryKeyWithCrLfKeepsItOnAFailedWriteAndReadsItBack) {
    SharedState& s = appState();
    s.gDsn = "Qualite";
    s.gUserId = " jean";  // values are not trimmed
    s.gPassword = "motdepasse";
    s.gShowProc = false;
    s.gShowR = true;
    s.gLastMonitors = {{"Qualite", 12}, {"", 99}, {"Essais", -7}};
    ASSERT_TRUE(WriteSettings(appState()));
    EXPECT_EQ(readBytes(filePath()),
              "DSN=Qualite\r\nUID= jean\r\nPROCESS CAPABILITY=False\r\n"
              "AVERAGE/INDIVIDUAL CHART=True\r\nVARIABILITY CHART=True\r\n"
              "MONITOR=Qualite;12\r\nMONITOR=Essais;-7\r\n");
    // On a full disk (a file size limit here: permissions cannot stop a test run as
    // root) the previous file stays whole.
    const QByteArray before = readBytes(filePath());
    s.gDsn = QString::fromUtf8("Qualité usine");
    rlimit previous{};
    getrlimit(RLIMIT_FSIZE, &previous);
    const rlimit limit{16, previous.rlim_max};
    const auto handler = std::signal(SIGXFSZ, SIG_IGN);
    setrlimit(RLIMIT_FSIZE, &limit);
    const bool written = WriteSettings(appState());
    setrlimit(RLIMIT_FSIZE, &previous);
    std::signal(SIGXFSZ, handler);
    EXPECT_FALSE(written);
    EXPECT_EQ(readBytes(filePath()), before);
    EXPECT_EQ(QDir(m_dir.path()).entryList(QDir::Files), QStringList{"MEK_TOLVA.cfg"});
    ASSERT_TRUE(WriteSettings(appState()));
    appState().reset();
    PrepareStartup(appState(), m_dir.path());
    EXPECT_EQ(state(), QString::fromUtf8("Qualité usine| jean|011|Qualite:12 Essais:-7"));
    EXPECT_TRUE(s.gPassword.isEmpty());
}

TEST_F(SettingsFile, OddLinesAndBadValues) {
    const struct {
        const char* file;
        bool read;
        const char* state;
    } cases[] = {
        {"dsn=Qualite\r\n   UID=jean   \r\nDSN =x\r\nno equals sign\r\n"
         "Process Capability=false\r\n",
         true, "Qualite|jean|010|:0"},
        {"DSN=a=b\r\n", true, "a||110|:0"},
        // Only spaces are trimmed: a tab stays part of the key or the value.
        {"\tDSN=x\r\nUID=\tjean\t\r\n", true, "|\tjean\t|110|:0"},
        // Malformed entries are passed over; the first one taken replaces the start-up entry.
        {"MONITOR=Qualite\r\nMONITOR=Qualite;12;3\r\nMONITOR=Essais;3\r\nmonitor=Qualite;12\r\n",
         true, "||110|Essais:3 Qualite:12"},
        // A bad switch or monitor number ends the reading; earlier lines stay.
        {"DSN=before\r\nVARIABILITY CHART=Oui\r\nUID=after\r\n", false, "before||110|:0"},
        {"MONITOR=A;1\r\nMONITOR=B;2147483648\r\nDSN=after\r\n", false, "||110|A:1"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        QFile::remove(filePath());
        appState().reset();
        PrepareStartup(appState(), m_dir.path());
        writeBytes(filePath(), c.file);
        EXPECT_EQ(ReadSettings(appState()), c.read);
        EXPECT_EQ(state(), c.state);
    }
}

// A file from a machine with an 8-bit code page keeps its bytes; a name that
// code page cannot hold is written in UTF-8 rather than lost.
TEST_F(SettingsFile, KeepsTheEncodingItWasReadIn) {
    const QByteArray latin1 =
        "DSN=\x80uro\r\nUID=h\xe9l\xe8ne\r\nPROCESS CAPABILITY=True\r\n"
        "AVERAGE/INDIVIDUAL CHART=True\r\nVARIABILITY CHART=False\r\n";
    writeBytes(filePath(), latin1);
    ASSERT_TRUE(ReadSettings(appState()));
    EXPECT_EQ(appState().gUserId, QString::fromUtf8("hélène"));
    ASSERT_TRUE(WriteSettings(appState()));
    EXPECT_EQ(readBytes(filePath()), latin1);

    appState().gUserId = QString::fromUtf8("Łukasz");
    ASSERT_TRUE(WriteSettings(appState()));
    ASSERT_TRUE(ReadSettings(appState()));
    EXPECT_EQ(appState().gUserId, QString::fromUtf8("Łukasz"));
}

TEST(SettingsLocation, ProgramFolderWhileWritableElseTheUsersFile) {
    QTemporaryDir dir;
    const QString app = dir.path() + "/app/", user = dir.path() + "/user/MEK_TOLVA.cfg";
    const QString beside = app + "MEK_TOLVA.cfg";
    const auto where = [&](bool writable, const QString& folder) {
        const SettingsLocation l = settingsLocation(folder, writable, user);
        return l.read + " > " + l.write;
    };
    EXPECT_EQ(where(true, app), beside + " > " + beside);
    EXPECT_EQ(where(false, app), beside + " > " + user);  // the administrator's file, until...
    QDir().mkpath(dir.path() + "/user");
    writeBytes(user, "DSN=x\r\n");
    EXPECT_EQ(where(false, app), user + " > " + user);  // ...the user has one
    EXPECT_EQ(where(true, app), beside + " > " + beside);
    EXPECT_EQ(where(true, ""), user + " > " + user);  // no known program folder
}

TEST_F(SettingsFile, AnInstalledProgramKeepsItsSettingsPerUserEvenWhereItCouldWrite) {
    const QString bin = m_dir.path() + "/bin";
    ASSERT_TRUE(QDir().mkpath(bin) && QDir().mkpath(m_dir.path() + "/share/applications"));
    PrepareStartup(appState(), bin + "/");
    writeBytes(m_dir.path() + "/share/applications/" + kAppId + ".desktop", "[Desktop Entry]\n");
    const QString perUser = SettingsFilePath(appState());
    EXPECT_FALSE(perUser.startsWith(m_dir.path())) << perUser.toStdString();
    EXPECT_TRUE(perUser.endsWith("/MEK_TOLVA.cfg")) << perUser.toStdString();
}
