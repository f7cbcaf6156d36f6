// The connection dialog: its list of data sources, the data source it asks for,
// and the connection it makes through the driver.
#include "UiTest.h"
#include "support/StatementTrap.h"

namespace tolva::test {

static QString sections(const QStringList& names) {
    QString ini;
    for (const QString& name : names)
        ini += QStringLiteral("[%1]\nDriver=SQLite3\nDatabase=/none.db\nNoCreat=1\n\n").arg(name);
    return ini;
}
static QString passwordChange(const QString& user, const QString& password) {
    if (TestDatabase::backend() == QLatin1String("mariadb"))  // its own password, no privilege
        return QStringLiteral("SET PASSWORD = PASSWORD('%1')").arg(password);
    return QStringLiteral("ALTER ROLE %1 PASSWORD '%2'").arg(user, password);
}
static QStringList callerState() {
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
    static QComboBox* dsnList(frmConnect& d) { return d.findChild<QComboBox*>("cmbDSN"); }

    const QByteArray m_testIni = qgetenv("ODBCINI");
    QString m_restorePassword, m_restoreLogin;
};

TEST_F(ConnectDialogTest, OkWithoutADataSourceAsksForOneAndSaysHowToDefineOne) {
    // The list's own rules are the core's; here it reaches the box, "(Aucun)" first.
    useDataSources(sections({"novrax", "Atelier", "NoVrAx"}));
    appState().gConnected = true;  // the caller's value must survive a refusal
    const QString hint = catalogText(Msg::NoDataSourceHelp);
    {
        frmConnect dialog(appState());
        EXPECT_EQ(dsnList(dialog)->itemText(0), "(Aucun)");
        EXPECT_EQ(dsnList(dialog)->currentIndex(), 3);
        showActive(&dialog);
        dsnList(dialog)->setCurrentIndex(0);
        // Enter in a box presses OK; with "(Aucun)" chosen it asks for a data source.
        QTest::keyClick(dialog.findChild<QLineEdit*>("txtUser"), Qt::Key_Return);
        EXPECT_EQ(lastMessage(),
                  message(catalogText(110), catalogText(101), UiPort::Icon::Critical));
        EXPECT_EQ(QApplication::focusWidget(), dsnList(dialog));
        EXPECT_TRUE(appState().gConnected);
    }
    // With none defined, both refusals say how to define one.
    useDataSources(QString());
    {
        frmConnect dialog(appState());
        showActive(&dialog);
        dialog.findChild<QPushButton*>("cmdOK")->click();
        EXPECT_EQ(lastMessage(), message(catalogText(110) + "\r\n" + hint, catalogText(101),
                                         UiPort::Icon::Critical));
    }
    // The only data source disappears while the dialog is open. (A name of its
    // own: the driver manager remembers failed look-ups for a while.)
    useDataSources(sections({"Disparue"}));
    frmConnect dialog(appState());
    showActive(&dialog);
    useDataSources(QString());
    fillIn(&dialog, "Disparue", "jdupont", "pw");
    const QString text = lastMessage().value(0);
    EXPECT_TRUE(text.startsWith(catalogText(109) + "\r\n\r\n") && text.endsWith(hint))
        << text.toStdString();
}

// Refusals show the driver's text and change nothing; then the password reaches
// the driver whole, braces and all, and the caller's state is filled. The trace
// names the data source and the user, never a password.
TEST_F(ConnectDialogTest, RefusedConnectionsKeepEverythingThenTheRightOneFillsTheState) {
    // The test environment's data sources, and "Fantome" whose database is missing.
    useDataSources(QString::fromLocal8Bit(readBytes(QString::fromLocal8Bit(m_testIni))) + u'\n' +
                   sections({"Fantome"}));
    SharedState& s = appState();
    s.gConnected = true;
    s.gDsn = s.gUserId = s.gPassword = QStringLiteral("ancien");
    s.gConnStr = QStringLiteral("DSN=ancien;UID=ancien;PWD=ancien;");
    const QStringList kept = callerState();
    const QString dsn = TestDatabase::dsn(), password = QStringLiteral("PWD=se;cr}e{t");
    const bool server = TestDatabase::backend() != QLatin1String("sqlite");
    // SQLite takes any login; the servers need the real one and check the password.
    const QString user = server ? TestDatabase::setting("Username") : QStringLiteral("qualite");
    const QString quoted = QStringLiteral("DSN=%1;UID=%2;PWD={PWD=se;cr}}e{t};").arg(dsn, user);
    QVector<QStringList> attempts = {{"Fantome", "jdupont", "pw1"}};
    if (server) {  // the user has this password until the end
        attempts.append({dsn, user, "faux"});
        TestDatabase::exec(passwordChange(user, password));
        m_restorePassword = passwordChange(user, TestDatabase::setting("Password"));
        m_restoreLogin = quoted;
    }
    // The trace users send along with fault reports.
    const StatementTrap sql;
    frmConnect dialog(appState());
    showActive(&dialog);
    ui.onMessage = [this](const FakeUiPort::Shown&) { EXPECT_FALSE(ui.busy) << "pointer first"; };
    for (const QStringList& a : attempts) {
        QString reason;  // what the driver says to the same login
        try {
            DbConnection().open(QStringLiteral("DSN=%1;UID=%2;PWD=%3;").arg(a[0], a[1], a[2]));
        } catch (const DbError& error) {
            reason = error.description();
        }
        ASSERT_NE(reason, QString());
        ui.shown.clear();
        fillIn(&dialog, a[0], a[1], a[2]);
        EXPECT_EQ(lastMessage(), message(catalogText(109) + "\r\n\r\n" + reason, catalogText(101),
                                         UiPort::Icon::Exclamation));
        EXPECT_TRUE(dialog.isVisible());
        EXPECT_EQ(QStringList({dsnList(dialog)->currentText(),
                               dialog.findChild<QLineEdit*>("txtUser")->text(),
                               dialog.findChild<QLineEdit*>("txtPWD")->text()}),
                  a);
        EXPECT_EQ(callerState(), kept);
    }
    ui.shown.clear();
    fillIn(&dialog, dsn, user, password);
    EXPECT_TRUE(ui.shown.isEmpty()) << ui.shown.value(0).text.toStdString();
    EXPECT_FALSE(ui.busy);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(callerState(), QStringList({dsn, user, password, quoted, "connected"}));
    ASSERT_FALSE(sql.trace.isEmpty());
    EXPECT_TRUE(sql.trace.first().contains("UID=jdupont")) << sql.trace.first().toStdString();
    for (const QString& line : sql.trace)
        EXPECT_FALSE(line.contains("cr}") || line.contains("pw1") || line.contains("faux"))
            << line.toStdString();
}

}  // namespace tolva::test
