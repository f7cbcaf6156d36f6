// The connection dialog: its list of data sources, its ways out, and the
// connection it makes through the driver.
#include "UiTest.h"

namespace tolva::test {
namespace {

QString sections(const QStringList& names) {
    QString ini;
    for (const QString& name : names)
        ini += QStringLiteral("[%1]\nDriver=SQLite3\nDatabase=/none.db\nNoCreat=1\n\n").arg(name);
    return ini;
}

QStringList callerState() {
    const SharedState& s = appState();
    return {s.gDsn, s.gUserId, s.gPassword, s.gConnStr, s.gConnected ? "connected" : "not"};
}

class ConnectDialogTest : public UiTest {
protected:
    void TearDown() override {
        if (!m_restorePassword.isEmpty()) {
            DbConnection db;  // logs in with the changed password
            db.open(m_restoreLogin);
            db.execute(m_restorePassword);
        }
        qputenv("ODBCINI", m_testIni);
        qunsetenv("ODBCSEARCH");
        UiTest::TearDown();
    }
    // Makes ini the user's odbc.ini and the only file searched for data sources.
    // (The driver manager reads ODBCSYSINI once per process; ODBCSEARCH hides it.)
    void useDataSources(const QString& ini) {
        QFile file(m_programFolder.filePath(QStringLiteral("odbc.ini")));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.write(ini.toLocal8Bit()) >= 0);
        qputenv("ODBCINI", QFile::encodeName(file.fileName()));
        qputenv("ODBCSEARCH", "ODBC_USER_DSN");
    }
    // The test environment's data sources, and "Fantome" whose database is missing.
    void useTestDataSources() {
        QFile file(QString::fromLocal8Bit(m_testIni));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        useDataSources(QString::fromLocal8Bit(file.readAll()) + u'\n' + sections({"Fantome"}));
    }
    static QComboBox* dsnList(frmConnect& d) { return d.findChild<QComboBox*>("cmbDSN"); }
    static QLineEdit* box(frmConnect& d, const char* name) { return d.findChild<QLineEdit*>(name); }
    static void pressOK(frmConnect& d) {
        QTest::mouseClick(d.findChild<QPushButton*>("cmdOK"), Qt::LeftButton);
    }

    const QByteArray m_testIni = qgetenv("ODBCINI");
    QString m_restorePassword, m_restoreLogin;
};

TEST_F(ConnectDialogTest, DataSourceListAndPreselection) {
    const QStringList three = {"novrax", "Atelier", "NoVrAx"};
    const struct {
        QStringList defined;
        const char* saved;
        QStringList listed;
        int selected;
    } cases[] = {
        // The later of two matches wins; blank names are not listed.
        {three + QStringList{"   "}, "", three, 3},
        // A saved data source wins, ignoring case; one no longer defined does not.
        {three, "ATELIER", three, 2},
        {three, "Disparu", three, 3},
        {{}, "", {}, 0},
    };
    for (const auto& c : cases) {
        useDataSources(sections(c.defined));
        appState().gDsn = QString::fromLatin1(c.saved);
        frmConnect dialog;
        QStringList listed;
        for (int i = 0; i < dsnList(dialog)->count(); ++i)
            listed << dsnList(dialog)->itemText(i);
        EXPECT_EQ(listed, QStringList{"(Aucun)"} + c.listed);
        EXPECT_EQ(dsnList(dialog)->currentIndex(), c.selected) << c.saved;
    }
}

TEST_F(ConnectDialogTest, OkWithoutDataSourceAndTheWaysOut) {
    useDataSources(QString());
    appState().gUserId = QStringLiteral("jdupont");
    appState().gPassword = QStringLiteral("s3cret");
    appState().gConnStr = QStringLiteral("DSN=Usine;UID=a;PWD=b;");
    appState().gConnected = true;  // the caller's value must survive a refusal
    {
        frmConnect dialog;
        showActive(&dialog);
        EXPECT_EQ(box(dialog, "txtPWD")->displayText(), "******");
        // Enter in a box presses OK; with "(Aucun)" chosen it asks for a data source.
        QTest::keyClick(box(dialog, "txtUser"), Qt::Key_Return);
        EXPECT_EQ(lastMessage(),
                  message(catalogText(110), catalogText(101), UiPort::Icon::Critical));
        EXPECT_TRUE(dialog.isVisible());
        EXPECT_EQ(QApplication::focusWidget(), dsnList(dialog));
        EXPECT_TRUE(appState().gConnected);
    }
    // 0: Escape, 1: Enter on the focused Cancel button (not OK), 2: the close box.
    for (int way = 0; way < 3; ++way) {
        appState().gConnected = true;
        frmConnect dialog;
        showActive(&dialog);
        dialog.findChild<QPushButton*>("cmdCancel")->setFocus();
        if (way < 2)
            QTest::keyClick(QApplication::focusWidget(), way ? Qt::Key_Return : Qt::Key_Escape);
        else
            dialog.close();
        EXPECT_EQ(dialog.result(), QDialog::Rejected) << way;
        EXPECT_EQ(appState().gConnected, way == 2) << way;
    }
    EXPECT_EQ(ui.shown.size(), 1);
    EXPECT_EQ(appState().gConnStr, "DSN=Usine;UID=a;PWD=b;");
}

TEST_F(ConnectDialogTest, SuccessFillsTheSharedStateAndThePasswordReachesTheDriverWhole) {
    const QString dsn = TestDatabase::dsn();
    const bool postgres = TestDatabase::backend() == QLatin1String("postgres");
    // SQLite takes any login; PostgreSQL needs the real one.
    const QString user = postgres ? credential("UID") : QStringLiteral("qualite");
    const QString plain = postgres ? credential("PWD") : QStringLiteral("secret");
    const QString awkward = QStringLiteral("se;cr}e{t");
    const QString quoted = QStringLiteral("DSN=%1;UID=%2;PWD={se;cr}}e{t};").arg(dsn, user);
    useTestDataSources();
    const auto before = sqlCounters();
    for (const QString& password : {plain, awkward}) {
        if (password == awkward && postgres) {
            // The server really checks it: the user gets this password until the end.
            TestDatabase::exec(QStringLiteral("ALTER ROLE %1 PASSWORD 'se;cr}e{t'").arg(user));
            m_restorePassword = QStringLiteral("ALTER ROLE %1 PASSWORD '%2'").arg(user, plain);
            m_restoreLogin = quoted;
            // Written as is, the value is cut at the ";" and the login fails.
            EXPECT_NE(dbError(QStringLiteral("DSN=%1;UID=%2;PWD=%3;").arg(dsn, user, password)),
                      QString());
        }
        frmConnect dialog;
        showActive(&dialog);
        fillIn(&dialog, dsn, user, password);
        pressOK(dialog);
        EXPECT_TRUE(ui.shown.isEmpty()) << ui.shown.value(0).text.toStdString();
        EXPECT_EQ(dialog.result(), QDialog::Accepted);
        EXPECT_FALSE(ui.busy);
    }
    EXPECT_EQ(callerState(), QStringList({dsn, user, awkward, quoted, "connected"}));
    EXPECT_EQ(dbError(appState().gConnStr), QString());  // as every later procedure opens it
    EXPECT_NE(monitorIndex(101), -1);
    // Each test connection and list query closed its connection.
    EXPECT_GE(sqlCounters().connectionsOpened - before.connectionsOpened, 4);
    EXPECT_EQ(sqlCounters().connectionsOpened - before.connectionsOpened,
              sqlCounters().connectionsClosed - before.connectionsClosed);
}

TEST_F(ConnectDialogTest, RefusedConnectionShowsTheDriversTextAndKeepsEverything) {
    useTestDataSources();
    SharedState& s = appState();
    s.gConnected = true;
    s.gDsn = s.gUserId = s.gPassword = QStringLiteral("ancien");
    s.gConnStr = QStringLiteral("DSN=ancien;UID=ancien;PWD=ancien;");
    const QStringList kept = callerState();
    QVector<QStringList> attempts = {{"Fantome", "jdupont", "pw1"}};
    if (TestDatabase::backend() == QLatin1String("postgres"))
        attempts.append({TestDatabase::dsn(), credential("UID"), "faux"});
    // Last, a database without monitors: the message has no driver text.
    attempts.append({TestDatabase::dsn(), credential("UID"), credential("PWD")});
    frmConnect dialog;
    showActive(&dialog);
    for (const QStringList& a : attempts) {
        QString reason = dbError(QStringLiteral("DSN=%1;UID=%2;PWD=%3;").arg(a[0], a[1], a[2]));
        if (&a == &attempts.last()) {
            ASSERT_EQ(reason, QString());
            TestDatabase::resetEmpty();
        }
        fillIn(&dialog, a[0], a[1], a[2]);
        ui.shown.clear();
        pressOK(dialog);
        EXPECT_EQ(ui.shown.size(), 1);
        EXPECT_EQ(lastMessage(), message(catalogText(109) + kBreaks + reason, catalogText(101),
                                         UiPort::Icon::Exclamation));
        EXPECT_TRUE(dialog.isVisible());
        EXPECT_EQ(QStringList({dsnList(dialog)->currentText(), box(dialog, "txtUser")->text(),
                               box(dialog, "txtPWD")->text()}),
                  a);
        EXPECT_FALSE(ui.busy);
        EXPECT_EQ(callerState(), kept);
    }
}

}  // namespace
}  // namespace tolva::test
