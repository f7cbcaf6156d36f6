// The window's commands: save and its question, F1, the close, and the change
// of monitor or data source with what they put back when given up.
#include "DelayProxy.h"
#include "UiTest.h"
#include "core/modCfg.h"
#include "support/StatementTrap.h"
#include "ui/ConflictBox.h"

namespace tolva::test {

constexpr qint32 kGrinder = 103;  // Rectifieuse R3: charts 1101 to 1104

class CommandsTest : public UiTest {
protected:
    void SetUp() override {
        UiTest::SetUp();
        openOn(kGrinder);
        row = rowOf(1101);
        nominal = window->columnLayout().gColSpecNominal;
    }
    static QString db(const char* option) { return tval(kGrinder, 1101, option); }

    int row = 0;
    int nominal = 0;
};

TEST_F(CommandsTest, SaveRereadsNonDiscardsAndAValueSavedElsewhereIsAskedAbout) {
    TestDatabase::exec(QStringLiteral(
        "UPDATE CSMDAT SET TVAL = '35.02' WHERE MONID = 103 AND CHRTID = 1101 AND OPTID = 105"));
    window->mnuCommit_Click();
    EXPECT_TRUE(ui.shown.isEmpty());
    EXPECT_EQ(grid()->cellText(row, window->columnLayout().gColSpecUpper), "35,02");
    // "Non" discards the edit by reloading.
    ui.answers = {UiPort::Answer::No};
    enterValue(row, nominal, "35,002");
    press(Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(shown(140), 1);
    EXPECT_EQ(db("ProcCapNominal"), "35");
    EXPECT_EQ(grid()->cellText(row, nominal), "35");
    EXPECT_FALSE(window->hasUnsavedChanges() || action("Save")->isEnabled());

    // A value saved elsewhere since the load is put to the user; taking it leaves
    // the database as it was and the grid showing it, with nothing left unsaved.
    enterValue(row, nominal, "35,002");
    TestDatabase::exec(
        "UPDATE CSMDAT SET TVAL = '35.01' WHERE MONID = 103 AND CHRTID = 1101 AND OPTID IN "
        "(SELECT OPTID FROM CSOPT WHERE NAME = 'ProcCapNominal')");
    ui.answers = {UiPort::Answer::Yes};
    ui.conflictAnswers = {{ConflictAnswer::TakeStored, false}};
    press(Qt::Key_S, Qt::ControlModifier);
    ASSERT_EQ(ui.conflicts.size(), 1);
    EXPECT_EQ(ui.conflicts[0].yours[1], TaggedValue::number(35.002));
    EXPECT_EQ(db("ProcCapNominal"), "35.01");
    EXPECT_EQ(grid()->cellText(row, nominal), "35,01");
    EXPECT_FALSE(window->hasUnsavedChanges());
    EXPECT_EQ(panel("StatusBar1Panel3"), "Enregistré : 0 caractéristique(s)");
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
    EXPECT_FALSE(QFile::exists(SettingsFilePath(appState())));
    // A number still being typed is stored, so the question covers it.
    editor()->clear();
    type("35,005");
    ui.answers = {UiPort::Answer::Cancel};
    press(Qt::Key_X, Qt::ControlModifier);
    EXPECT_EQ(shown(140), 1);
    EXPECT_TRUE(window->isVisible() && !window->isClosedForGood() && window->hasUnsavedChanges());
    EXPECT_TRUE(QFile::exists(SettingsFilePath(appState())));  // written all the same
    EXPECT_EQ(db("ProcCapNominal"), "35");
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
    // Not "no options": the reason the read failed, as an error.
    EXPECT_TRUE(lastMessage().value(0).contains("NULL")) << lastMessage().value(0).toStdString();
    EXPECT_EQ(lastMessage().value(2), QString::number(int(UiPort::Icon::Critical)));
    // "Non" declined the edit: written nowhere, gone from the table and the grid,
    // so a later "Oui" or Ctrl+X cannot take it for the user's.
    EXPECT_EQ(sharedState(), QString(before).replace("3535,002", "3535"));
    EXPECT_EQ(grid()->cellText(row, nominal), "35");
    EXPECT_FALSE(window->hasUnsavedChanges() || action("Save")->isEnabled());

    // A monitor without options is told under its name; picks that failed,
    // then given up, keep the edit history of the table in use.
    enterValue(row, nominal, "36");
    enterValue(row, nominal, "35");  // as loaded: nothing to save, two steps
    onNextDialog<frmMonitor>([&](frmMonitor* picker) {
        pickMonitor(picker, 113);
        EXPECT_EQ(lastMessage(), message(catalogText(132), "Presse à injecter P9 - Couvercle",
                                         UiPort::Icon::Information));
        pickMonitor(picker, 106);
        picker->close();
    });
    press(Qt::Key_M, Qt::ControlModifier);
    press(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(grid()->cellText(row, nominal), "36");
    press(Qt::Key_Y, Qt::ControlModifier);

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
    EXPECT_TRUE(ui.shown.isEmpty() && QFile::exists(SettingsFilePath(appState())));
    // A typed number is kept and asked about when the session lets us ask.
    goTo(row, nominal);
    press(Qt::Key_Delete);
    type("35,005");
    ui.answers = {UiPort::Answer::Cancel, UiPort::Answer::Cancel, UiPort::Answer::No};
    EXPECT_FALSE(window->endSession(true));
    EXPECT_TRUE(window->hasUnsavedChanges());
    EXPECT_FALSE(window->close());  // logout cancelled: the ordinary close still asks
    EXPECT_TRUE(window->endSession(true));
    EXPECT_TRUE(window->close());
    EXPECT_EQ(shown(140), 3);
    EXPECT_EQ(shown(141), 0);
    EXPECT_EQ(db("ProcCapNominal"), "35");
}

// A refused group: the characteristics before it are written, nothing of it is;
// the pointer is back, the hidden group in sight and the editor open on the
// value by the time its message shows, with the count of those written.
TEST_F(CommandsTest, RefusedGroupIsInSightWithItsEditorOpenWhenItsMessageShows) {
    const int rangeRow = rowOf(1102);
    ASSERT_LT(row, rangeRow);
    enterValue(row, nominal, "35,002");
    press(Qt::Key_R, Qt::ControlModifier);
    enterValue(rangeRow, window->columnLayout().gColRLcl, "0,5");
    press(Qt::Key_R, Qt::ControlModifier);
    QString seen;
    ui.onMessage = [&](const FakeUiPort::Shown& box) {
        if (box.text.startsWith(catalogText(125)))
            seen = QStringLiteral("busy %1, shown %2, editor %3 at %4")
                       .arg(ui.busy)
                       .arg(appState().gShowR)
                       .arg(editText())
                       .arg(at() == QPoint(rangeRow, window->columnLayout().gColRLcl));
    };
    ui.answers = {UiPort::Answer::Yes};
    press(Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(seen, "busy 0, shown 1, editor 0,5 at 1");
    EXPECT_EQ(lastMessage(), message(catalogText(125) + "\r\n" + catalogText(216).arg(1),
                                     "TOLVA Editor", UiPort::Icon::Critical));
    EXPECT_EQ(db("ProcCapNominal"), "35.002");
    EXPECT_EQ(tval(kGrinder, 1102, "RChartLCLConstant"), "0.001");
    EXPECT_TRUE(window->hasUnsavedChanges());
    // The characteristic written before it is saved: unmarked, nothing to revert.
    press(Qt::Key_Escape);
    EXPECT_FALSE(grid()->gridIndex(row, nominal).data(Qt::BackgroundRole).isValid());
    goTo(row, nominal);
    action("mnuRevert")->trigger();
    EXPECT_EQ(grid()->cellText(row, nominal), "35,002");
}

// The save went through, the re-read after it failed: the reason is shown, the
// grid keeps the values just saved, and they are not written again.
TEST_F(CommandsTest, FailedRereadKeepsTheSavedValuesAndTheNextSaveReadsAgain) {
    enterValue(row, nominal, "35,002");
    ui.answers = {UiPort::Answer::Yes};
    {
        // The save's own read of the monitor fails too: it must not stop the save.
        StatementTrap trap(
            "begin", [] { TestDatabase::exec("ALTER TABLE CSCHRT RENAME TO CSCHRT_AWAY"); }, false);
        press(Qt::Key_S, Qt::ControlModifier);
        EXPECT_GT(trap.fired, 0);
    }
    TestDatabase::exec("ALTER TABLE CSCHRT_AWAY RENAME TO CSCHRT");
    EXPECT_TRUE(lastMessage().value(0).startsWith(catalogText(Msg::SavedButRereadFailed)));
    EXPECT_TRUE(lastMessage().value(0).contains("cschrt", Qt::CaseInsensitive));
    EXPECT_EQ(lastMessage().value(2), QString::number(int(UiPort::Icon::Critical)));
    EXPECT_EQ(db("ProcCapNominal"), "35.002");
    EXPECT_EQ(grid()->cellText(row, nominal), "35,002");
    // Marked saved: the next save does not write them again.
    EXPECT_FALSE(window->hasUnsavedChanges() || action("mnuCommit")->isEnabled());
}

// For every statement of a save of four groups on three characteristics (its
// re-read included), the link breaks as that statement starts. Each group in
// the database is then wholly old or wholly new, the box says how many
// characteristics were saved, and what was typed stays on screen.
TEST_F(CommandsTest, LinkCutAtAnyStatementLeavesEveryGroupWholeAndTheEditsOnScreen) {
    const QString backend = TestDatabase::backend();
    if (backend != QLatin1String("postgres") && backend != QLatin1String("mariadb"))
        GTEST_SKIP() << "needs a server at the other end of a TCP connection";
    // 1101: a new nominal and Individual/Average upper limit; 1102: from nominal and
    // tolerance to three limits; 1104: Individual/Average limits where there were none.
    const struct {
        qint32 chart;
        int ColumnLayout::*column;
        const char* text;
    } edits[] = {{1101, &ColumnLayout::gColSpecNominal, "35,002"},
                 {1101, &ColumnLayout::gColXUcl, "35,007"},
                 {1102, &ColumnLayout::gColSpecNominal, "62,001"},
                 {1104, &ColumnLayout::gColXLcl, "0,001"},
                 {1104, &ColumnLayout::gColXUcl, "0,01"}};
    // Each group as its stored options, by the names' common start.
    const std::pair<qint32, const char*> groups[] = {
        {1101, "ProcCap"}, {1101, "X"}, {1102, "ProcCap"}, {1104, "X"}};
    auto groupStates = [&] {
        QStringList states(4);
        for (const FieldRow& r : TestDatabase::fetch(
                 "SELECT CHRTID, NAME, TVAL FROM CSMDAT JOIN CSOPT ON CSOPT.OPTID = "
                 "CSMDAT.OPTID WHERE MONID = 103 ORDER BY NAME"))
            for (int g = 0; g < 4; ++g)
                if (r[0].toInt32() == groups[g].first && r[1].toText().startsWith(groups[g].second))
                    states[g] += r[1].toText() + u'=' + r[2].toText() + u' ';
        return states;
    };
    const QStringList before = groupStates();
    QStringList rows;
    for (const FieldRow& r :
         TestDatabase::fetch("SELECT MONID, CHRTID, OPTID, TVAL FROM CSMDAT WHERE MONID = 103"))
        rows << QStringLiteral("(%1, %2, %3, '%4')")
                    .arg(r[0].toText(), r[1].toText(), r[2].toText(), r[3].toText());
    const ColumnLayout& cols = window->columnLayout();
    // The database as it was, read again (edits left pending are declined),
    // then the edits typed again.
    auto prepare = [&] {
        TestDatabase::execAll(
            {"DELETE FROM CSMDAT WHERE MONID = 103",
             "INSERT INTO CSMDAT (MONID, CHRTID, OPTID, TVAL) VALUES " + rows.join(", ")});
        ui.answers = {UiPort::Answer::No};
        window->mnuCommit_Click();
        for (const auto& e : edits)
            enterValue(rowOf(e.chart), cols.*e.column, e.text);
    };
    auto onScreen = [&] {
        QStringList texts;
        for (const auto& e : edits)
            texts << grid()->cellText(rowOf(e.chart), cols.*e.column);
        return texts.join(' ');
    };

    netdelay::DelayProxy proxy(
        {quint16(TestDatabase::setting("Port").toUInt()), {}, 200, std::chrono::seconds(120)});
    appState().gConnStr = TestDatabase::connectionString() +
                          QStringLiteral("Server=127.0.0.1;Port=%1;").arg(proxy.port());
    prepare();
    const QString typed = onScreen();
    ASSERT_EQ(typed, "35,002 35,007 62,001 0,001 0,01");
    int statements = 0;
    {
        StatementTrap counter(1 << 20, [] {});
        ui.answers = {UiPort::Answer::Yes};
        press(Qt::Key_S, Qt::ControlModifier);
        statements = counter.seen;
    }
    const QStringList after = groupStates();
    for (int g = 0; g < 4; ++g)
        ASSERT_NE(after[g], before[g]) << "group " << g;
    ASSERT_GE(statements, 4);

    bool busyAtBox = false;
    int unknownFates = 0;
    ui.onMessage = [&](const FakeUiPort::Shown&) { busyAtBox = busyAtBox || ui.busy; };
    for (int k = 0; k < statements; ++k) {
        SCOPED_TRACE(testing::Message() << "cut at statement " << k);
        prepare();
        ui.shown.clear();
        ui.answers = {UiPort::Answer::Yes};
        StatementTrap trap(k, [&] { proxy.cutAll(); });
        press(Qt::Key_S, Qt::ControlModifier);
        ASSERT_EQ(trap.fired, 1);
        ASSERT_TRUE(window->isVisible());
        ASSERT_EQ(ui.shown.size(), 2);  // the question, then what went wrong
        EXPECT_EQ(ui.shown[1].icon, UiPort::Icon::Critical);
        const QStringList now = groupStates();
        QSet<qint32> partly;
        for (int g = 0; g < 4; ++g) {
            EXPECT_TRUE(now[g] == before[g] || now[g] == after[g]) << now[g].toStdString();
            if (now[g] != after[g])
                partly << groups[g].first;
        }
        EXPECT_EQ(onScreen(), typed);
        // Some driver gives no text for a lost link; the box always has one.
        QString text = ui.shown[1].text;
        const QString savedFirst = catalogText(Msg::SavedButRereadFailed) + "\r\n\r\n";
        EXPECT_EQ(text.startsWith(savedFirst), partly.isEmpty()) << text.toStdString();
        EXPECT_FALSE(text.remove(savedFirst).trimmed().isEmpty());
        if (partly.isEmpty()) {  // the save went through; the re-read after it broke
            EXPECT_FALSE(window->hasUnsavedChanges());
            continue;
        }
        EXPECT_TRUE(window->hasUnsavedChanges());
        // A link broken under the commit leaves its fate unknown, and the box says so.
        const QString counted =
            QStringLiteral("\r\n%1 caractéristique(s) enregistrée(s) avant l'erreur.")
                .arg(3 - partly.size());
        const QString unknown = "\r\n" + catalogText(Msg::CommitUnanswered);
        unknownFates += ui.shown[1].text.endsWith(counted + unknown);
        EXPECT_TRUE(ui.shown[1].text.endsWith(counted) ||
                    ui.shown[1].text.endsWith(counted + unknown))
            << ui.shown[1].text.toStdString();
    }
    // The cut at the commit (on PostgreSQL also at the request it ends) alone.
    EXPECT_GE(unknownFates, 1);
    EXPECT_LE(unknownFates, 2);
    EXPECT_FALSE(busyAtBox);
}

// The box of a group saved elsewhere: the three values side by side, each
// answer with its "for the rest" mark, and Escape or Enter never overwriting.
TEST_F(CommandsTest, ConflictBoxShowsTheValuesAndOnlyAButtonOverwrites) {
    const TaggedValue o, low = TaggedValue::number(1.5);
    const GroupConflict conflict{0,
                                 OptionGroup::X,
                                 "Cote A",
                                 {low, o, TaggedValue::number(4)},
                                 {low, o, TaggedValue::number(6)},
                                 {low, o, TaggedValue::number(5)}};
    using A = ConflictAnswer;
    const std::tuple<const char*, Qt::Key, A::Choice> cases[] = {
        {"cmdOverwrite", Qt::Key_unknown, A::Overwrite},
        {"cmdTakeStored", Qt::Key_unknown, A::TakeStored},
        {"cmdStop", Qt::Key_unknown, A::Stop},
        {nullptr, Qt::Key_Escape, A::Stop},
        {nullptr, Qt::Key_Return, A::Stop}};
    for (const auto& [button, key, choice] : cases) {
        ConflictBox box(conflict, window.get());
        box.show();
        auto* table = box.findChild<QTableWidget*>("tblConflict");
        QStringList cells;
        for (int r = 0; r < 9; ++r)
            cells << table->item(r / 3, r % 3)->text();
        EXPECT_EQ(cells.join(' '), "1,5 1,5 1,5    4 6 5");
        EXPECT_EQ(table->verticalHeaderItem(2)->text(), "Carte IND/MOY LCS");
        EXPECT_TRUE(box.findChild<QLabel*>("lblConflict")->text().contains("Cote A"));
        box.findChild<QCheckBox*>("chkForTheRest")->setChecked(true);
        if (button)
            box.findChild<QPushButton*>(button)->click();
        else
            QTest::keyClick(&box, key);
        EXPECT_FALSE(box.isVisible());
        EXPECT_EQ(box.answer().choice, choice);
        EXPECT_EQ(box.answer().forTheRest, key != Qt::Key_Escape);  // Enter presses "stop"
    }
}

}  // namespace tolva::test
