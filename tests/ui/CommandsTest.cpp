// The window's commands: save and its question, F1, the close, and the change
// of monitor or data source with what they put back when given up.
#include "UiTest.h"
#include "core/modCfg.h"

namespace tolva::test {

constexpr qint32 kGrinder = 103;  // Rectifieuse R3: charts 1101 to 1104

class CommandsTest : public UiTest {
protected:
    void SetUp() override {
        UiTest::SetUp();
        openOn(kGrinder);
        row = rowOf(1101);
        nominal = appState().gColSpecNominal;
    }
    static QString db(const char* option) { return tval(kGrinder, 1101, option); }

    int row = 0;
    int nominal = 0;
};

TEST_F(CommandsTest, SaveWithoutChangeRereadsAndNonDiscardsByReloading) {
    TestDatabase::exec(QStringLiteral(
        "UPDATE CSMDAT SET TVAL = '35.02' WHERE MONID = 103 AND CHRTID = 1101 AND OPTID = 105"));
    window->mnuCommit_Click();
    EXPECT_TRUE(ui.shown.isEmpty());
    EXPECT_EQ(grid()->cellText(row, appState().gColSpecUpper), "35,02");
    // "Non" discards the edit by reloading, from the menu's shortcut as from the toolbar.
    ui.answers = {UiPort::Answer::No, UiPort::Answer::No};
    enterValue(row, nominal, "35,002");
    press(Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(grid()->cellText(row, nominal), "35");
    enterValue(row, nominal, "35,002");
    QTest::mouseClick(window->findChild<QToolBar*>("Toolbar1")->widgetForAction(action("Save")),
                      Qt::LeftButton);
    EXPECT_EQ(shown(140), 2);
    EXPECT_EQ(db("ProcCapNominal"), "35");
    EXPECT_EQ(grid()->cellText(row, nominal), "35");
    EXPECT_FALSE(window->m_changed || action("Save")->isEnabled());
}

TEST_F(CommandsTest, F1AndCloseLeaveAnOpenEditAloneUntilItIsANumber) {
    goTo(row, nominal);
    press(Qt::Key_Delete);  // letters do not open the editor
    type("abc");
    press(Qt::Key_F1);
    const QString help = ui.shown.value(0).text;
    EXPECT_TRUE(
        help.startsWith("Touches de Raccourci :\r\n\r\nCtrl+M  -  Changer de Moniteur\r\n"));
    EXPECT_TRUE(help.endsWith("\r\nCtrl+X  -  Quitter le Programme")) << help.toStdString();
    EXPECT_EQ(ui.shown.value(0).title, "TOLVA Editor 1.0.1");
    EXPECT_EQ(editText(), "abc");
    // Ctrl+X, which the editor would take as Cut, asks for the close.
    press(Qt::Key_X, Qt::ControlModifier);
    EXPECT_EQ(shown(141), 1);
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(editText(), "abc");
    EXPECT_FALSE(QFile::exists(SettingsFilePath()));
    // A number still being typed is stored, so the question covers it.
    editor()->clear();
    type("35,005");
    ui.answers = {UiPort::Answer::Cancel};
    press(Qt::Key_X, Qt::ControlModifier);
    EXPECT_EQ(shown(140), 1);
    EXPECT_TRUE(window->isVisible() && !window->isClosedForGood() && window->m_changed);
    EXPECT_TRUE(QFile::exists(SettingsFilePath()));  // written all the same
    EXPECT_EQ(db("ProcCapNominal"), "35");
}

TEST_F(CommandsTest, ToolbarButtonsRunTheirCommandsByKey) {
    auto click = [&](const char* key) {
        QTest::mouseClick(window->findChild<QToolBar*>("Toolbar1")->widgetForAction(action(key)),
                          Qt::LeftButton);
    };
    const SharedState& s = appState();
    const struct {
        const char* key;
        const bool& shown;
    } toggles[] = {{"PC", s.gShowProc}, {"IND", s.gShowX}, {"MR", s.gShowR}};
    for (const auto& t : toggles) {
        const bool before = t.shown;
        click(t.key);
        EXPECT_NE(t.shown, before) << t.key;
        click(t.key);
    }
    onNextDialog<frmMonitor>([](frmMonitor* picker) { picker->close(); });
    click("Monitor");
    onNextDialog<frmConnect>([](frmConnect* dialog) { dialog->close(); });
    click("DSN");
    enterValue(row, nominal, "35,002");
    ui.answers = {UiPort::Answer::Cancel};
    click("Save");
    EXPECT_EQ(shown(140), 1);
}

// What a change given up must leave as it was.
static QString sharedState() {
    const SharedState& s = appState();
    QString text = QStringLiteral("%1|%2|%3|%4|%5|%6")
                       .arg(s.gDsn, s.gUserId, s.gConnStr)
                       .arg(s.gConnected)
                       .arg(s.gMonitors.size())
                       .arg(s.gMonitorIndex);
    for (const OptionRow& r : s.gOptionRows)
        text += r.ChartName + r.SpecNominal.Loaded.toDisplayText() +
                r.SpecNominal.Current.toDisplayText();
    return text;
}

TEST_F(CommandsTest, ChangesOfMonitorOrDataSourceGivenUpPutEverythingBack) {
    // Monitor 106 fails to load half-way, after its charts replaced the table.
    TestDatabase::exec(QStringLiteral("UPDATE CSCHRT SET NAME = NULL WHERE CHRTID = 1402"));
    enterValue(row, nominal, "35,002");  // loaded 35
    QString before = sharedState();
    onNextDialog<frmMonitor>([](frmMonitor* picker) {
        pickMonitor(picker, 106);
        EXPECT_TRUE(picker->isVisible());
        picker->close();
    });
    ui.answers = {UiPort::Answer::No};
    press(Qt::Key_M, Qt::ControlModifier);
    EXPECT_EQ(shown(132), 1);
    // "Non" declined the edit: written nowhere, gone from the table and the grid,
    // so a later "Oui" or Ctrl+X cannot take it for the user's.
    EXPECT_EQ(sharedState(), QString(before).replace("3535,002", "3535"));
    EXPECT_EQ(grid()->cellText(row, nominal), "35");
    EXPECT_EQ(db("ProcCapNominal"), "35");
    EXPECT_FALSE(window->m_changed || action("Save")->isEnabled());

    // After a new connection the monitor list lacks 112, and the user differs.
    TestDatabase::exec(QStringLiteral("UPDATE CSMON SET VFLG = 1 WHERE MONID = 112"));
    appState().gUserId = QStringLiteral("ancien");
    before = sharedState();
    for (const bool connect : {false, true}) {
        onNextDialog<frmConnect>([connect](frmConnect* dialog) {
            if (!connect)
                return dialog->findChild<QPushButton*>("cmdCancel")->click();
            onNextDialog<frmMonitor>([](frmMonitor* picker) { picker->close(); });
            connectTo(dialog);
        });
        press(Qt::Key_D, Qt::ControlModifier);
        EXPECT_EQ(sharedState(), before) << (connect ? "picker closed" : "connection cancelled");
        EXPECT_EQ(grid()->cellText(row, nominal), "35");
    }
}

// At logout no box may wait on a half-typed value; the settings are written and
// a close after a settled logout asks nothing more.
TEST_F(CommandsTest, SessionEndNeverWaitsOnAnEdit) {
    goTo(row, nominal);
    press(Qt::Key_Delete);
    type("abc");
    EXPECT_TRUE(window->endSession(false));
    EXPECT_EQ(editText(), "(closed)");
    EXPECT_TRUE(ui.shown.isEmpty() && QFile::exists(SettingsFilePath()));
    // A typed number is kept and asked about when the session lets us ask.
    goTo(row, nominal);
    press(Qt::Key_Delete);
    type("35,005");
    ui.answers = {UiPort::Answer::Cancel, UiPort::Answer::Cancel, UiPort::Answer::No};
    EXPECT_FALSE(window->endSession(true));
    EXPECT_TRUE(window->m_changed);
    EXPECT_FALSE(window->close());  // logout cancelled: the ordinary close still asks
    EXPECT_TRUE(window->endSession(true));
    EXPECT_TRUE(window->close());
    EXPECT_EQ(shown(140), 3);
    EXPECT_EQ(shown(141), 0);
    EXPECT_EQ(db("ProcCapNominal"), "35");
}

}  // namespace tolva::test
