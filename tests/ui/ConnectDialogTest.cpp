#include <gtest/gtest.h>
#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <algorithm>

#include "app/Catalog.h"
#include "app/SharedState.h"
#include "app/ui/Twips.h"
#include "select/frmConnect.h"
#include "store/DbConnection.h"
#include "support/FakeUiPort.h"
#include "support/TestDatabase.h"

using namespace tolva;
using tolva::test::FakeUiPort;
using tolva::test::TestDatabase;

namespace {

const QString kBreaks = QStringLiteral("\r\n\r\n");

// Points the ODBC driver manager at data sources written by the test, for the
// lifetime of the object: `userIni` becomes the user's odbc.ini and the only
// file searched for data sources. (The driver manager reads ODBCSYSINI once per
// process, so the system file cannot be swapped; ODBCSEARCH hides it instead.)
class ScopedDataSources {
public:
    explicit ScopedDataSources(const QString& userIni)
        : m_savedUserIni(qgetenv("ODBCINI")),
          m_savedSearch(qgetenv("ODBCSEARCH")),
          m_searchWasSet(qEnvironmentVariableIsSet("ODBCSEARCH")) {
        const QString path = m_dir.filePath(QStringLiteral("odbc.ini"));
        QFile file(path);
        if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            file.write(userIni.toLocal8Bit());
        EXPECT_TRUE(file.exists());
        qputenv("ODBCINI", QFile::encodeName(path));
        qputenv("ODBCSEARCH", "ODBC_USER_DSN");
    }
    ~ScopedDataSources() {
        qputenv("ODBCINI", m_savedUserIni);
        if (m_searchWasSet)
            qputenv("ODBCSEARCH", m_savedSearch);
        else
            qunsetenv("ODBCSEARCH");
    }

    // The data sources of the test environment (the test database among them).
    static QString environmentDataSources() {
        QFile file(QString::fromLocal8Bit(qgetenv("ODBCINI")));
        return file.open(QIODevice::ReadOnly) ? QString::fromLocal8Bit(file.readAll()) : QString();
    }

private:
    QTemporaryDir m_dir;
    QByteArray m_savedUserIni;
    QByteArray m_savedSearch;
    bool m_searchWasSet;
};

QString section(const QString& name) {
    return QStringLiteral("[%1]\nDriver=SQLite3\nDatabase=/nonexistent/none.db\nNoCreat=1\n\n")
        .arg(name);
}

// One attribute of the test database's connection string (plain values only).
QString testCredential(const QString& key) {
    for (const QString& part : TestDatabase::connectionString().split(u';')) {
        if (part.startsWith(key + u'='))
            return part.mid(key.size() + 1);
    }
    return QString();
}

class ConnectDialogTest : public ::testing::Test {
protected:
    void SetUp() override { appState().reset(); }

    template <typename T>
    static T* control(frmConnect& dialog, const char* name) {
        T* widget = dialog.findChild<T*>(QLatin1String(name));
        EXPECT_NE(widget, nullptr) << name;
        return widget;
    }

    static QStringList entries(frmConnect& dialog) {
        auto* list = control<QComboBox>(dialog, "cmbDSN");
        QStringList texts;
        for (int i = 0; i < list->count(); ++i)
            texts.append(list->itemText(i));
        return texts;
    }

    static void showActive(frmConnect& dialog) {
        dialog.show();
        QApplication::setActiveWindow(&dialog);
        ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
    }

    static void setText(frmConnect& dialog, const char* box, const QString& text) {
        control<QLineEdit>(dialog, box)->setText(text);
    }

    static void pressOK(frmConnect& dialog) {
        QTest::mouseClick(control<QPushButton>(dialog, "cmdOK"), Qt::LeftButton);
    }

    FakeUiPort ui;
};

// ---- The data-source list -------------------------------------------------

TEST_F(ConnectDialogTest, ListStartsWithAucunAndPreselectsNovraxIgnoringCase) {
    ScopedDataSources sources(section("Usine Nord") + section("novrax") + section("Atelier"));
    frmConnect dialog;
    EXPECT_EQ(entries(dialog), QStringList({catalogText(108), "Usine Nord", "novrax", "Atelier"}));
    EXPECT_EQ(control<QComboBox>(dialog, "cmbDSN")->currentText(), "novrax");
}

TEST_F(ConnectDialogTest, LaterMatchWinsAndBlankNamesAreNotListed) {
    ScopedDataSources sources(section("novrax") + section("Atelier") + section("NoVrAx") +
                              section("   "));
    {
        frmConnect dialog;
        EXPECT_EQ(entries(dialog), QStringList({catalogText(108), "novrax", "Atelier", "NoVrAx"}));
        EXPECT_EQ(control<QComboBox>(dialog, "cmbDSN")->currentIndex(), 3);
    }
    // The saved data source wins over the NOVRAX preselection, again ignoring case.
    appState().gDsn = QStringLiteral("ATELIER");
    {
        frmConnect dialog;
        EXPECT_EQ(control<QComboBox>(dialog, "cmbDSN")->currentText(), "Atelier");
    }
    // A saved data source that is no longer defined leaves the preselection.
    appState().gDsn = QStringLiteral("Disparu");
    {
        frmConnect dialog;
        EXPECT_EQ(control<QComboBox>(dialog, "cmbDSN")->currentText(), "NoVrAx");
    }
}

TEST_F(ConnectDialogTest, NoDataSourceGivesAucunAloneAndOkAsksForOne) {
    ScopedDataSources sources{QString()};
    appState().gConnected = true;  // the caller's value must survive
    frmConnect dialog;
    showActive(dialog);
    EXPECT_EQ(entries(dialog), QStringList({catalogText(108)}));
    EXPECT_EQ(control<QComboBox>(dialog, "cmbDSN")->currentIndex(), 0);

    // Enter in a text box presses OK, the default button.
    QTest::keyClick(control<QLineEdit>(dialog, "txtUser"), Qt::Key_Return);
    ASSERT_EQ(ui.shown.size(), 1);
    EXPECT_EQ(ui.shown[0].text, catalogText(110));
    EXPECT_EQ(ui.shown[0].icon, UiPort::Icon::Critical);
    EXPECT_EQ(ui.shown[0].title, catalogText(101));
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(QApplication::focusWidget(), control<QComboBox>(dialog, "cmbDSN"));
    EXPECT_TRUE(appState().gConnected);
}

// ---- Look and keyboard ----------------------------------------------------

TEST_F(ConnectDialogTest, CaptionsFrameGeometryAndStarredPassword) {
    ScopedDataSources sources{QString()};
    appState().gUserId = QStringLiteral("jdupont");
    appState().gPassword = QStringLiteral("s3cret");
    frmConnect dialog;

    EXPECT_EQ(dialog.windowTitle(), catalogText(101));
    EXPECT_EQ(control<QLabel>(dialog, "lblMainLabel")->text(), catalogText(102));
    EXPECT_TRUE(control<QLabel>(dialog, "lblMainLabel")->font().bold());
    EXPECT_EQ(control<QLabel>(dialog, "lblDSNLabel")->text(), catalogText(103));
    EXPECT_EQ(control<QLabel>(dialog, "lblUserLabel")->text(), catalogText(104));
    EXPECT_EQ(control<QLabel>(dialog, "lblPassLabel")->text(), catalogText(105));
    EXPECT_EQ(control<QPushButton>(dialog, "cmdOK")->text(), catalogText(106));
    EXPECT_EQ(control<QPushButton>(dialog, "cmdCancel")->text(), catalogText(107));

    // Fixed inner size; the input controls sit inside the frame at (120, 0).
    EXPECT_EQ(dialog.minimumSize(), QSize(twipsToPixels(5280), twipsToPixels(3240)));
    EXPECT_EQ(dialog.maximumSize(), dialog.minimumSize());
    auto* combo = control<QComboBox>(dialog, "cmbDSN");
    EXPECT_EQ(combo->mapTo(&dialog, QPoint(0, 0)),
              QPoint(twipsToPixels(120) + twipsToPixels(2400), twipsToPixels(1080)));

    // The saved user and password are filled in; the password shows as stars.
    EXPECT_EQ(control<QLineEdit>(dialog, "txtUser")->text(), "jdupont");
    auto* password = control<QLineEdit>(dialog, "txtPWD");
    EXPECT_EQ(password->text(), "s3cret");
    EXPECT_EQ(password->displayText(), "******");
}

TEST_F(ConnectDialogTest, FocusOrderAccessKeysAndWholeTextSelection) {
    ScopedDataSources sources{QString()};
    appState().gUserId = QStringLiteral("jdupont");
    appState().gPassword = QStringLiteral("s3cret");
    frmConnect dialog;
    showActive(dialog);
    auto* combo = control<QComboBox>(dialog, "cmbDSN");
    auto* user = control<QLineEdit>(dialog, "txtUser");
    auto* password = control<QLineEdit>(dialog, "txtPWD");
    auto* ok = control<QPushButton>(dialog, "cmdOK");
    auto* cancel = control<QPushButton>(dialog, "cmdCancel");

    ASSERT_EQ(QApplication::focusWidget(), combo);
    const QList<QWidget*> order = {user, password, ok, cancel, combo};
    for (QWidget* expected : order) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        EXPECT_EQ(QApplication::focusWidget(), expected) << expected->objectName().toStdString();
    }

    // Tab into the user box selects all of it, so typing replaces it.
    QTest::keyClick(combo, Qt::Key_Tab);
    ASSERT_EQ(QApplication::focusWidget(), user);
    EXPECT_EQ(user->selectedText(), "jdupont");
    QTest::keyClicks(user, "mmartin");
    EXPECT_EQ(user->text(), "mmartin");

    // So does a click into the password box, past the middle of its text.
    QTest::mouseClick(password, Qt::LeftButton, {}, QPoint(password->width() / 2, 5));
    ASSERT_EQ(QApplication::focusWidget(), password);
    EXPECT_EQ(password->selectionStart(), 0);
    EXPECT_EQ(password->selectionLength(), 6);
    // Once inside, a click places the cursor as usual.
    QTest::mouseClick(password, Qt::LeftButton, {}, QPoint(3, 5));
    EXPECT_FALSE(password->hasSelectedText());

    // The access keys of the labels move the focus to their boxes.
    QTest::keyClick(&dialog, Qt::Key_U, Qt::AltModifier);
    EXPECT_EQ(QApplication::focusWidget(), user);
    EXPECT_EQ(user->selectedText(), "mmartin");
    QTest::keyClick(&dialog, Qt::Key_P, Qt::AltModifier);
    EXPECT_EQ(QApplication::focusWidget(), password);
    QTest::keyClick(&dialog, Qt::Key_D, Qt::AltModifier);
    EXPECT_EQ(QApplication::focusWidget(), combo);
}

TEST_F(ConnectDialogTest, CancelEscapeAndCloseBox) {
    ScopedDataSources sources(section("NOVRAX"));
    appState().gDsn = QStringLiteral("Usine");
    appState().gConnStr = QStringLiteral("DSN=Usine;UID=a;PWD=b;");

    // Escape during the modal run works as Cancel.
    appState().gConnected = true;
    {
        frmConnect dialog;
        QTimer::singleShot(0, &dialog, [&dialog] { QTest::keyClick(&dialog, Qt::Key_Escape); });
        EXPECT_EQ(dialog.exec(), QDialog::Rejected);
        EXPECT_FALSE(appState().gConnected);
    }
    // Enter on the focused Cancel button presses it, not OK.
    appState().gConnected = true;
    {
        frmConnect dialog;
        showActive(dialog);
        auto* cancel = control<QPushButton>(dialog, "cmdCancel");
        cancel->setFocus();
        QTest::keyClick(cancel, Qt::Key_Return);
        EXPECT_EQ(dialog.result(), QDialog::Rejected);
        EXPECT_FALSE(dialog.isVisible());
        EXPECT_FALSE(appState().gConnected);
        EXPECT_TRUE(ui.shown.isEmpty());
    }
    // The close box changes nothing.
    appState().gConnected = true;
    {
        frmConnect dialog;
        showActive(dialog);
        dialog.close();
        EXPECT_EQ(dialog.result(), QDialog::Rejected);
        EXPECT_TRUE(appState().gConnected);
    }
    EXPECT_EQ(appState().gDsn, "Usine");
    EXPECT_EQ(appState().gConnStr, "DSN=Usine;UID=a;PWD=b;");
}

// ---- Connecting -------------------------------------------------------------

class ConnectDatabaseTest : public ConnectDialogTest {
protected:
    void SetUp() override {
        ConnectDialogTest::SetUp();
        TestDatabase::resetDemo();
        m_user = testCredential(QStringLiteral("UID"));
        m_password = testCredential(QStringLiteral("PWD"));
    }

    // The test database and a data source whose database file is missing.
    static QString dataSources() {
        return ScopedDataSources::environmentDataSources() + QStringLiteral("\n") +
               section(QStringLiteral("Fantome"));
    }

    // A dialog on data source `dsn` with the given inputs typed in.
    static void fillIn(frmConnect& dialog, const QString& dsn, const QString& user,
                       const QString& password) {
        auto* combo = control<QComboBox>(dialog, "cmbDSN");
        combo->setCurrentIndex(combo->findText(dsn));
        ASSERT_EQ(combo->currentText(), dsn);
        setText(dialog, "txtUser", user);
        setText(dialog, "txtPWD", password);
    }

    // What the driver says when this connection string is opened.
    static QString driverFailure(const QString& connectionString) {
        try {
            DbConnection db;
            db.open(connectionString);
        } catch (const DbError& error) {
            return error.description();
        }
        return QString();
    }

    // State the dialog must leave alone when the connection fails.
    static void setCallerState() {
        SharedState& s = appState();
        s.gConnected = true;
        s.gDsn = QStringLiteral("Ancien");
        s.gUserId = QStringLiteral("ancien");
        s.gPassword = QStringLiteral("pw");
        s.gConnStr = QStringLiteral("DSN=Ancien;UID=ancien;PWD=pw;");
    }

    static void expectCallerStateKept() {
        const SharedState& s = appState();
        EXPECT_TRUE(s.gConnected);
        EXPECT_EQ(s.gDsn, "Ancien");
        EXPECT_EQ(s.gUserId, "ancien");
        EXPECT_EQ(s.gPassword, "pw");
        EXPECT_EQ(s.gConnStr, "DSN=Ancien;UID=ancien;PWD=pw;");
    }

    QString m_user;
    QString m_password;
};

TEST_F(ConnectDatabaseTest, SuccessFillsTheSharedStateAndCloses) {
    ScopedDataSources sources(dataSources());
    // SQLite takes any user; PostgreSQL needs the real one.
    const QString user = m_user.isEmpty() ? QStringLiteral("qualite") : m_user;
    const QString password = m_password.isEmpty() ? QStringLiteral("secret") : m_password;
    const auto before = sqlCounters();

    frmConnect dialog;
    showActive(dialog);
    fillIn(dialog, TestDatabase::dsn(), QString(), QString());
    QTest::keyClicks(control<QLineEdit>(dialog, "txtUser"), user);
    QTest::keyClicks(control<QLineEdit>(dialog, "txtPWD"), password);
    pressOK(dialog);

    EXPECT_TRUE(ui.shown.isEmpty()) << ui.shown.value(0).text.toStdString();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_FALSE(dialog.isVisible());
    const SharedState& s = appState();
    EXPECT_TRUE(s.gConnected);
    EXPECT_EQ(s.gDsn, TestDatabase::dsn());
    EXPECT_EQ(s.gUserId, user);
    EXPECT_EQ(s.gPassword, password);
    EXPECT_EQ(s.gConnStr,
              QStringLiteral("DSN=%1;UID=%2;PWD=%3;").arg(TestDatabase::dsn(), user, password));
    ASSERT_FALSE(s.gMonitors.isEmpty());
    EXPECT_TRUE(std::any_of(s.gMonitors.begin(), s.gMonitors.end(),
                            [](const MonitorEntry& m) { return m.MonId == 101; }));

    // The test connection and the list query each closed their connection.
    const auto& after = sqlCounters();
    EXPECT_GE(after.connectionsOpened - before.connectionsOpened, 2);
    EXPECT_EQ(after.connectionsOpened - before.connectionsOpened,
              after.connectionsClosed - before.connectionsClosed);
    EXPECT_FALSE(ui.busy);
    EXPECT_GE(ui.eventPasses, 1);
}

TEST_F(ConnectDatabaseTest, RefusedConnectionShowsTheDriversReasonAndKeepsInputs) {
    ScopedDataSources sources(dataSources());
    setCallerState();
    frmConnect dialog;
    showActive(dialog);

    // A data source whose database cannot be opened.
    fillIn(dialog, QStringLiteral("Fantome"), QStringLiteral("jdupont"), QStringLiteral("pw1"));
    const QString reason = driverFailure(QStringLiteral("DSN=Fantome;UID=jdupont;PWD=pw1;"));
    ASSERT_FALSE(reason.isEmpty());
    pressOK(dialog);
    ASSERT_EQ(ui.shown.size(), 1);
    EXPECT_EQ(ui.shown[0].text, catalogText(109) + kBreaks + reason);
    EXPECT_EQ(ui.shown[0].icon, UiPort::Icon::Exclamation);
    EXPECT_EQ(ui.shown[0].title, catalogText(101));
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(control<QComboBox>(dialog, "cmbDSN")->currentText(), "Fantome");
    EXPECT_EQ(control<QLineEdit>(dialog, "txtUser")->text(), "jdupont");
    EXPECT_EQ(control<QLineEdit>(dialog, "txtPWD")->text(), "pw1");
    EXPECT_FALSE(ui.busy);
    expectCallerStateKept();

    if (TestDatabase::backend() != QLatin1String("postgres"))
        return;
    // A wrong password on the real server.
    fillIn(dialog, TestDatabase::dsn(), m_user, QStringLiteral("faux"));
    const QString refused =
        driverFailure(QStringLiteral("DSN=%1;UID=%2;PWD=faux;").arg(TestDatabase::dsn(), m_user));
    ASSERT_TRUE(refused.contains(QLatin1String("password authentication failed")))
        << refused.toStdString();
    pressOK(dialog);
    ASSERT_EQ(ui.shown.size(), 2);
    EXPECT_EQ(ui.shown[1].text, catalogText(109) + kBreaks + refused);
    EXPECT_EQ(control<QLineEdit>(dialog, "txtPWD")->text(), "faux");
    EXPECT_TRUE(dialog.isVisible());
    expectCallerStateKept();
}

TEST_F(ConnectDatabaseTest, DatabaseWithoutMonitorsShowsTheBareMessage) {
    TestDatabase::resetEmpty();
    ScopedDataSources sources(dataSources());
    setCallerState();
    frmConnect dialog;
    showActive(dialog);
    fillIn(dialog, TestDatabase::dsn(), m_user, m_password);
    pressOK(dialog);
    ASSERT_EQ(ui.shown.size(), 1);
    EXPECT_EQ(ui.shown[0].text, catalogText(109) + kBreaks);
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_FALSE(ui.busy);
    expectCallerStateKept();
}

TEST_F(ConnectDatabaseTest, PasswordWithSemicolonAndBracesReachesTheDriverWhole) {
    const QString awkward = QStringLiteral("se;cr}e{t");
    const QString dsn = TestDatabase::dsn();
    const bool postgres = TestDatabase::backend() == QLatin1String("postgres");

    // On PostgreSQL the password really is checked: give the test user this
    // password for the duration of the test.
    struct PasswordGuard {
        QString restoreWith;  // connection string that works while the password is changed
        QString original;
        ~PasswordGuard() {
            if (restoreWith.isEmpty())
                return;
            try {
                DbConnection db;
                db.open(restoreWith);
                db.execute(QStringLiteral("ALTER ROLE %1 PASSWORD '%2'")
                               .arg(testCredential(QStringLiteral("UID")), original));
            } catch (const DbError& error) {
                ADD_FAILURE() << "password not restored: " << error.description().toStdString();
            }
        }
    } guard;
    if (postgres) {
        TestDatabase::exec(QStringLiteral("ALTER ROLE %1 PASSWORD 'se;cr}e{t'").arg(m_user));
        guard.original = m_password;
        guard.restoreWith = QStringLiteral("DSN=%1;UID=%2;PWD={se;cr}}e{t};").arg(dsn, m_user);
        // Written as is, the value is cut at the ";" and the login fails.
        EXPECT_FALSE(
            driverFailure(QStringLiteral("DSN=%1;UID=%2;PWD=%3;").arg(dsn, m_user, awkward))
                .isEmpty());
    }

    ScopedDataSources sources(dataSources());
    frmConnect dialog;
    showActive(dialog);
    fillIn(dialog, dsn, m_user, awkward);
    pressOK(dialog);

    EXPECT_TRUE(ui.shown.isEmpty()) << ui.shown.value(0).text.toStdString();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_TRUE(appState().gConnected);
    EXPECT_EQ(appState().gPassword, awkward);
    EXPECT_EQ(appState().gConnStr,
              QStringLiteral("DSN=%1;UID=%2;PWD={se;cr}}e{t};").arg(dsn, m_user));
    // The stored string opens again, as every later database procedure will.
    EXPECT_TRUE(driverFailure(appState().gConnStr).isEmpty());
}

}  // namespace
