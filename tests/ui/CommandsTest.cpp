// The window's commands: save and its question, F1, the close, and the change
// of monitor or data source with what they put back when given up.
#include "UiTest.h"
#include "settings/modCfg.h"

namespace tolva::test {
namespace {

constexpr qint32 kGrinder = 103;  // Rectifieuse R3: charts 1101 to 1104

class CommandsTest : public UiTest {
protected:
    void SetUp() override {
        UiTest::SetUp();
        openOn(kGrinder);
        row = rowOf(1101);
        nominal = appState().gColSpecNominal;
    }
    // A stored change of the nominal value of chart 1101 (loaded 35).
    void changeNominal() {
        enterValue(row, nominal, "35,002");
        ASSERT_TRUE(window->m_changed);
    }
    static QString db(const char* option) { return tval(kGrinder, 1101, option); }
    int questions() const { return shown(140); }
    // What a change given up must leave as it was.
    static QString state() {
        const SharedState& s = appState();
        QStringList parts = {s.gDsn,
                             s.gUserId,
                             s.gConnStr,
                             QString::number(s.gConnected),
                             QString::number(s.gMonitors.size()),
                             QString::number(s.gMonitorIndex)};
        for (const OptionRow& r : s.gOptionRows) {
            parts << QString::number(r.ChartId) << r.ChartName;
            for (const OptionCell* c : {&r.SpecLower, &r.SpecNominal, &r.SpecUpper, &r.XLcl, &r.XCl,
                                        &r.XUcl, &r.RLcl, &r.RCl, &r.RUcl})
                parts << c->Loaded.toDisplayText() << c->Current.toDisplayText();
        }
        return parts.join(u'|');
    }

    int row = 0;
    int nominal = 0;
};

TEST_F(CommandsTest, SaveWithoutChangeRereadsWithoutAsking) {
    TestDatabase::exec(QStringLiteral(
        "UPDATE CSMDAT SET TVAL = '35.02' WHERE MONID = 103 AND CHRTID = 1101 AND OPTID = 105"));
    goTo(2, appState().gColXUcl);
    // The entry and Ctrl+S wait for a change; the command itself still re-reads.
    EXPECT_FALSE(action("mnuCommit")->isEnabled());
    window->mnuCommit_Click();
    EXPECT_TRUE(ui.shown.isEmpty());
    EXPECT_EQ(optionRow(row).SpecUpper.Loaded, TaggedValue::number(35.02));
    EXPECT_EQ(grid()->cellText(row, appState().gColSpecUpper), "35,02");
    EXPECT_EQ(at(), QPoint(1, 1));
    // A refill that ends on the marked cell again shows its heading marks again.
    window->mnuCommit_Click();
    EXPECT_EQ(marks(1, 1), QVector<bool>({true, true}));
}

TEST_F(CommandsTest, SaveQuestionCancelKeepsNoReloadsYesWritesEvenFromAnOpenEdit) {
    changeNominal();
    ui.answers = {UiPort::Answer::Cancel};
    press(Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(questions(), 1);
    EXPECT_TRUE(window->m_changed);
    EXPECT_EQ(grid()->cellText(row, nominal), "35,002");
    for (const bool toolbar : {false, true}) {
        ui.answers = {UiPort::Answer::No};
        if (toolbar) {
            changeNominal();
            auto* bar = window->findChild<QToolBar*>("Toolbar1");
            QTest::mouseClick(bar->widgetForAction(action("Save")), Qt::LeftButton);
        } else {
            press(Qt::Key_S, Qt::ControlModifier);
        }
        // "Non" discards the edits by reloading: closing now loses nothing unasked.
        EXPECT_EQ(questions(), 2 + toolbar);
        EXPECT_EQ(db("ProcCapNominal"), "35");
        EXPECT_EQ(grid()->cellText(row, nominal), "35");
        EXPECT_EQ(optionRow(row).SpecNominal.Current, TaggedValue::number(35));
        EXPECT_FALSE(window->m_changed);
        EXPECT_FALSE(action("mnuCommit")->isEnabled() || action("Save")->isEnabled());
    }
    // A second value still being typed is stored and saved with the first.
    changeNominal();
    goTo(row, appState().gColSpecUpper);
    type("36");
    ui.answers = {UiPort::Answer::Yes};
    press(Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(questions(), 4);
    EXPECT_EQ(QStringList({db("ProcCapNominal"), db("ProcCapUpper")}),
              QStringList({"35.002", "36"}));
    EXPECT_EQ(optionRow(row).SpecNominal.Loaded, TaggedValue::number(35.002));
}

TEST_F(CommandsTest, F1ShowsTheShortcutsAndLeavesTheEditAlone) {
    goTo(row, nominal);
    type("12,");
    press(Qt::Key_F1);
    QStringList lines = {catalogText(133), ""};
    for (int n = 134; n <= 138; ++n)
        lines << catalogText(n);
    EXPECT_EQ(ui.shown.size(), 1);
    EXPECT_EQ(lastMessage(),
              message(lines.join("\r\n"), "TOLVA Editor 1.0.1", UiPort::Icon::Information));
    EXPECT_EQ(editText(), "12,");
    EXPECT_EQ(optionRow(row).SpecNominal.Current, TaggedValue::number(35));
    EXPECT_FALSE(window->m_changed);
}

TEST_F(CommandsTest, CloseStoresTheOpenEditFirstThenAsks) {
    goTo(row, nominal);
    press(Qt::Key_Delete);
    type("abc");
    // Neither the close box nor Ctrl+X (Exit, not the editor's cut) gets past it.
    EXPECT_FALSE(window->close());
    press(Qt::Key_X, Qt::ControlModifier);
    EXPECT_EQ(shown(141), 2);
    EXPECT_EQ(questions(), 0);
    EXPECT_TRUE(window->isVisible() && !window->isClosedForGood());
    EXPECT_EQ(editText(), "abc");
    EXPECT_FALSE(QFile::exists(SettingsFilePath()));
    // A number still being typed is stored, so the question covers it.
    editor()->clear();
    type("35,005");
    ui.answers = {UiPort::Answer::Cancel};
    EXPECT_FALSE(window->close());
    EXPECT_EQ(questions(), 1);
    EXPECT_TRUE(window->isVisible() && !window->isClosedForGood());
    EXPECT_TRUE(window->m_changed);
    EXPECT_TRUE(QFile::exists(SettingsFilePath()));  // written all the same
    ui.answers = {UiPort::Answer::Yes};
    EXPECT_TRUE(window->close());
    EXPECT_TRUE(window->isClosedForGood());
    EXPECT_EQ(db("ProcCapNominal"), "35.005");
}

TEST_F(CommandsTest, ChangesOfMonitorOrDataSourceGivenUpPutEverythingBack) {
    // Monitor 106 fails to load half-way, after its charts replaced the table.
    TestDatabase::exec(QStringLiteral("UPDATE CSCHRT SET NAME = NULL WHERE CHRTID = 1402"));
    changeNominal();
    QString before = state();
    onNextDialog<frmMonitor>([](frmMonitor* picker) {
        pickMonitor(picker, 106);
        EXPECT_TRUE(picker->isVisible());
        picker->close();
    });
    ui.answers = {UiPort::Answer::No};
    press(Qt::Key_M, Qt::ControlModifier);
    EXPECT_EQ(shown(132), 1);
    EXPECT_FALSE(appState().gMonitorChosen);
    // "Non" wrote nothing and kept the edit, in the table as in the grid.
    EXPECT_EQ(state(), before);
    EXPECT_EQ(grid()->cellText(row, nominal), "35,002");
    EXPECT_EQ(db("ProcCapNominal"), "35");

    // After a new connection the monitor list lacks 112, and the user differs.
    TestDatabase::exec(QStringLiteral("UPDATE CSMON SET VFLG = 1 WHERE MONID = 112"));
    appState().gUserId = QStringLiteral("ancien");
    before = state();
    for (const bool connect : {false, true}) {
        onNextDialog<frmConnect>([connect](frmConnect* dialog) {
            if (!connect)
                return dialog->findChild<QPushButton*>("cmdCancel")->click();
            onNextDialog<frmMonitor>([](frmMonitor* picker) { picker->close(); });
            connectTo(dialog);
        });
        press(Qt::Key_D, Qt::ControlModifier);
        EXPECT_EQ(state(), before) << (connect ? "picker closed" : "connection cancelled");
        EXPECT_EQ(grid()->cellText(row, nominal), "35,002");
    }
}

}  // namespace
}  // namespace tolva::test
