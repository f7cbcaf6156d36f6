// The window's commands: save and its question, exit, close, F1, and the
// change of monitor or data source with their roll-back.
#include <QComboBox>
#include <QFile>
#include <QPushButton>
#include <QTimer>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>
#include <functional>

#include "EditorWindowFixture.h"
#include "Version.h"
#include "app/Catalog.h"
#include "select/frmMonitor.h"
#include "settings/modCfg.h"

namespace tolva::test {
namespace {

constexpr qint32 kGrinder = 103;  // Rectifieuse R3: charts 1101 to 1104

// Runs fn on the modal dialog with the given object name once it is up; the
// attempts are few, so a dialog that never comes cannot leak into later tests.
void onNextDialog(const QString& name, std::function<void(QWidget*)> fn, int attempts = 50) {
    QTimer::singleShot(10, [=] {
        QWidget* dialog = QApplication::activeModalWidget();
        if (dialog && dialog->objectName() == name)
            fn(dialog);
        else if (attempts > 1)
            onNextDialog(name, fn, attempts - 1);
        else {
            ADD_FAILURE() << name.toStdString() << " never showed";
            if (dialog)
                dialog->close();  // no test may hang on a dialog left open
        }
    });
}

const QString kPicker = QStringLiteral("frmMonitor");
const QString kConnect = QStringLiteral("frmConnect");

// Chooses the monitor in the picker as the user does: select it, press Enter.
void pickMonitor(QWidget* picker, qint32 monId) {
    auto* tree = picker->findChild<QTreeWidget*>(QStringLiteral("TreeView1"));
    ASSERT_NE(tree, nullptr);
    const int index = EditorWindowTest::monitorIndex(monId);
    for (QTreeWidgetItemIterator it(tree); *it; ++it) {
        if ((*it)->data(0, frmMonitor::ImageKeyRole).toString() == QLatin1String("Monitor") &&
            (*it)->data(0, frmMonitor::MonitorIndexRole).toInt() == index) {
            tree->setCurrentItem(*it);
            tree->setFocus();
            QTest::keyClick(tree, Qt::Key_Return);
            return;
        }
    }
    ADD_FAILURE() << "monitor " << monId << " not in the picker";
}

// Fills the connection dialog with the test data source and its login.
void connectTo(QWidget* dialog) {
    auto* dsn = dialog->findChild<QComboBox*>(QStringLiteral("cmbDSN"));
    ASSERT_NE(dsn, nullptr);
    dsn->setCurrentIndex(dsn->findText(TestDatabase::dsn()));
    QString user, password;
    for (const QString& part : TestDatabase::connectionString().split(u';')) {
        if (part.startsWith(QLatin1String("UID=")))
            user = part.mid(4);
        else if (part.startsWith(QLatin1String("PWD=")))
            password = part.mid(4);
    }
    dialog->findChild<QLineEdit*>(QStringLiteral("txtUser"))->setText(user);
    dialog->findChild<QLineEdit*>(QStringLiteral("txtPWD"))->setText(password);
    QTest::mouseClick(dialog->findChild<QPushButton*>(QStringLiteral("cmdOK")), Qt::LeftButton);
}

void expectSameRows(const QVector<OptionRow>& actual, const QVector<OptionRow>& expected) {
    ASSERT_EQ(actual.size(), expected.size());
    for (int i = 0; i < actual.size(); ++i) {
        const OptionRow& a = actual[i];
        const OptionRow& e = expected[i];
        EXPECT_EQ(a.ChartId, e.ChartId);
        EXPECT_EQ(a.ChartName, e.ChartName);
        const OptionCell OptionRow::*cells[] = {
            &OptionRow::SpecUpper, &OptionRow::SpecLower, &OptionRow::SpecNominal,
            &OptionRow::XUcl,      &OptionRow::XLcl,      &OptionRow::XCl,
            &OptionRow::RUcl,      &OptionRow::RLcl,      &OptionRow::RCl};
        for (auto cell : cells) {
            EXPECT_EQ((a.*cell).Loaded, (e.*cell).Loaded) << "row " << i;
            EXPECT_EQ((a.*cell).Current, (e.*cell).Current) << "row " << i;
        }
    }
}

class CommandsTest : public EditorWindowTest {
protected:
    void SetUp() override {
        EditorWindowTest::SetUp();
        openOn(kGrinder);
        row = rowOf(1101);
        nominal = appState().gColSpecNominal;
    }
    // A stored change of the nominal value of chart 1101 (loaded 35).
    void changeNominal(const QString& typed = QStringLiteral("35,002")) {
        enterValue(row, nominal, typed);
        ASSERT_TRUE(window->m_changed);
    }
    QString dbNominal() const { return tval(kGrinder, 1101, QStringLiteral("ProcCapNominal")); }
    bool settingsWritten() const { return QFile::exists(SettingsFilePath()); }
    int questions() const { return shownCount(catalogText(140)); }

    int row = 0;
    int nominal = 0;
};

TEST_F(CommandsTest, SaveWithoutChangeRereadsWithoutAsking) {
    TestDatabase::exec(QStringLiteral(
        "UPDATE CSMDAT SET TVAL = '35.02' WHERE MONID = 103 AND CHRTID = 1101 AND OPTID = 105"));
    goTo(2, appState().gColXUcl);
    // The menu entry is disabled while nothing changed (Ctrl+S does nothing);
    // the command itself still re-reads.
    EXPECT_FALSE(menuSave()->isEnabled());
    window->mnuCommit_Click();
    EXPECT_TRUE(ui.shown.isEmpty());
    EXPECT_EQ(optionRow(row).SpecUpper.Loaded, TaggedValue::number(35.02));
    EXPECT_EQ(grid()->cellText(row, appState().gColSpecUpper), QStringLiteral("35,02"));
    EXPECT_EQ(grid()->currentGridRow(), 1);
    EXPECT_EQ(grid()->currentGridColumn(), 1);
    // A refill that ends on the marked cell again shows its heading marks again.
    window->mnuCommit_Click();
    EXPECT_TRUE(grid()->cellBackground(0, 1).isValid());
    EXPECT_TRUE(grid()->cellBackground(1, 0).isValid());
}

TEST_F(CommandsTest, AnswerNoDiscardsTheEditsByReloadAndCancelKeepsThem) {
    changeNominal();
    ui.answers = {UiPort::Answer::Cancel};
    press(Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(questions(), 1);
    EXPECT_TRUE(window->m_changed);
    EXPECT_TRUE(menuSave()->isEnabled());
    EXPECT_EQ(grid()->cellText(row, nominal), QStringLiteral("35,002"));

    ui.answers = {UiPort::Answer::No};
    press(Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(questions(), 2);
    EXPECT_EQ(dbNominal(), QStringLiteral("35"));
    EXPECT_EQ(grid()->cellText(row, nominal), QStringLiteral("35"));
    EXPECT_EQ(optionRow(row).SpecNominal.Current, TaggedValue::number(35));
    EXPECT_FALSE(window->m_changed);
    EXPECT_FALSE(menuSave()->isEnabled());
    EXPECT_FALSE(toolbarButton(QStringLiteral("Save"))->isEnabled());
}

TEST_F(CommandsTest, ToolbarSaveReloadsLikeTheMenuEntry) {
    changeNominal();
    ui.answers = {UiPort::Answer::No};
    clickToolbar(QStringLiteral("Save"));
    EXPECT_EQ(questions(), 1);
    // The edit is gone from grid and table: closing now loses nothing unasked.
    EXPECT_EQ(grid()->cellText(row, nominal), QStringLiteral("35"));
    EXPECT_EQ(optionRow(row).SpecNominal.Current, optionRow(row).SpecNominal.Loaded);
    EXPECT_FALSE(toolbarButton(QStringLiteral("Save"))->isEnabled());

    changeNominal();
    ui.answers = {UiPort::Answer::Yes};
    clickToolbar(QStringLiteral("Save"));
    EXPECT_EQ(dbNominal(), QStringLiteral("35.002"));
    // Loaded is what was written, so the next save has nothing to write again.
    EXPECT_EQ(optionRow(row).SpecNominal.Loaded, TaggedValue::number(35.002));
    EXPECT_EQ(grid()->cellText(row, nominal), QStringLiteral("35,002"));
    EXPECT_FALSE(window->m_changed);
}

TEST_F(CommandsTest, ShortcutsRunTheirCommandFromTheOpenEditor) {
    changeNominal();
    // A second value, still being typed, is stored and saved with the first.
    goTo(row, appState().gColSpecUpper);
    type(QStringLiteral("36"));
    ASSERT_EQ(QApplication::focusWidget(), editor());
    ui.answers = {UiPort::Answer::Yes};
    press(Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(questions(), 1);
    EXPECT_FALSE(editor()->isVisible());
    EXPECT_EQ(dbNominal(), QStringLiteral("35.002"));
    EXPECT_EQ(tval(kGrinder, 1101, QStringLiteral("ProcCapUpper")), QStringLiteral("36"));

    // Ctrl+X is Exit here, not the editor's cut: the text is no number, so
    // message 141 and the window stays, without any question.
    goTo(row, nominal);
    press(Qt::Key_Delete);
    type(QStringLiteral("abc"));
    press(Qt::Key_X, Qt::ControlModifier);
    EXPECT_EQ(shownCount(catalogText(141)), 1);
    EXPECT_EQ(questions(), 1);
    EXPECT_TRUE(window->isVisible());
    EXPECT_FALSE(window->isClosedForGood());
    EXPECT_EQ(editor()->text(), QStringLiteral("abc"));
}

TEST_F(CommandsTest, F1ShowsTheShortcutsAndLeavesTheEditAlone) {
    goTo(row, nominal);
    type(QStringLiteral("12,"));
    press(Qt::Key_F1);

    ASSERT_EQ(ui.shown.size(), 1);
    const QString expected = catalogText(133) + QStringLiteral("\r\n\r\n") + catalogText(134) +
                             QStringLiteral("\r\n") + catalogText(135) + QStringLiteral("\r\n") +
                             catalogText(136) + QStringLiteral("\r\n") + catalogText(137) +
                             QStringLiteral("\r\n") + catalogText(138);
    EXPECT_EQ(ui.shown[0].text, expected);
    EXPECT_EQ(ui.shown[0].icon, UiPort::Icon::Information);
    EXPECT_EQ(ui.shown[0].title, QStringLiteral("TOLVA Editor ") + QLatin1String(kVersionText));
    EXPECT_EQ(ui.shown[0].buttons, UiPort::Buttons::Ok);
    EXPECT_TRUE(editor()->isVisible());
    EXPECT_EQ(editor()->text(), QStringLiteral("12,"));
    EXPECT_EQ(optionRow(row).SpecNominal.Current, TaggedValue::number(35));
    EXPECT_FALSE(window->m_changed);
}

TEST_F(CommandsTest, CloseAnsweredCancelStaysOpenWithTheSettingsWritten) {
    changeNominal();
    ASSERT_FALSE(settingsWritten());
    ui.answers = {UiPort::Answer::Cancel};
    EXPECT_FALSE(window->close());
    EXPECT_EQ(questions(), 1);
    EXPECT_TRUE(window->isVisible());
    EXPECT_FALSE(window->isClosedForGood());
    EXPECT_TRUE(settingsWritten());
    EXPECT_TRUE(window->m_changed);

    ui.answers = {UiPort::Answer::No};
    EXPECT_TRUE(window->close());
    EXPECT_TRUE(window->isClosedForGood());
    EXPECT_EQ(dbNominal(), QStringLiteral("35"));
}

TEST_F(CommandsTest, CloseBoxCommitsTheOpenEditFirst) {
    goTo(row, nominal);
    press(Qt::Key_Delete);
    type(QStringLiteral("abc"));
    EXPECT_FALSE(window->close());
    EXPECT_EQ(shownCount(catalogText(141)), 1);
    EXPECT_EQ(questions(), 0);
    EXPECT_TRUE(window->isVisible());
    EXPECT_TRUE(editor()->isVisible());
    EXPECT_EQ(editor()->text(), QStringLiteral("abc"));

    // A number still being typed is not lost: it is stored, and saved on Yes.
    editor()->clear();
    type(QStringLiteral("35,005"));
    ui.answers = {UiPort::Answer::Yes};
    EXPECT_TRUE(window->close());
    EXPECT_EQ(questions(), 1);
    EXPECT_EQ(dbNominal(), QStringLiteral("35.005"));
    EXPECT_TRUE(settingsWritten());
}

TEST_F(CommandsTest, ChangeOfMonitorGivenUpAfterAFailedPickPutsTheTableBack) {
    // Monitor 106 then fails to load half-way, after its charts replaced the table.
    TestDatabase::exec(QStringLiteral("UPDATE CSCHRT SET NAME = NULL WHERE CHRTID = 1402"));
    changeNominal();
    const QVector<OptionRow> before = appState().gOptionRows;
    const int monitor = appState().gMonitorIndex;
    onNextDialog(kPicker, [](QWidget* picker) {
        pickMonitor(picker, 106);
        EXPECT_TRUE(picker->isVisible());
        picker->close();
    });
    ui.answers = {UiPort::Answer::No};
    press(Qt::Key_M, Qt::ControlModifier);

    EXPECT_EQ(shownCount(catalogText(132)), 1);
    EXPECT_FALSE(appState().gMonitorChosen);
    EXPECT_EQ(appState().gMonitorIndex, monitor);
    // "Non" wrote nothing and kept the edit in the table, as in the grid.
    expectSameRows(appState().gOptionRows, before);
    EXPECT_EQ(grid()->cellText(row, nominal), QStringLiteral("35,002"));
    EXPECT_FALSE(window->m_changed);

    // Editing and saving go on against the former monitor.
    enterValue(row, appState().gColSpecUpper, QStringLiteral("35,02"));
    ui.answers = {UiPort::Answer::Yes};
    press(Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(dbNominal(), QStringLiteral("35.002"));
    EXPECT_EQ(tval(kGrinder, 1101, QStringLiteral("ProcCapUpper")), QStringLiteral("35.02"));
}

TEST_F(CommandsTest, ChangeOfMonitorFillsTheGridWithTheChosenOne) {
    onNextDialog(kPicker, [](QWidget* picker) { pickMonitor(picker, 109); });
    press(Qt::Key_M, Qt::ControlModifier);
    ASSERT_TRUE(appState().gMonitorChosen);
    EXPECT_EQ(appState().currentMonitor().MonId, 109);
    const int r = rowOf(1102);
    EXPECT_EQ(grid()->cellText(r, appState().gColSpecNominal), QStringLiteral("47"));
    EXPECT_EQ(grid()->rows(), appState().gOptionRows.size() + 1);
}

TEST_F(CommandsTest, CancelledChangeOfDataSourceKeepsTheEditorConnected) {
    const QString dsn = appState().gDsn, connStr = appState().gConnStr;
    const int monitors = appState().gMonitors.size(), monitor = appState().gMonitorIndex;
    onNextDialog(kConnect, [](QWidget* dialog) {
        QTest::mouseClick(dialog->findChild<QPushButton*>(QStringLiteral("cmdCancel")),
                          Qt::LeftButton);
    });
    press(Qt::Key_D, Qt::ControlModifier);

    EXPECT_TRUE(appState().gConnected);
    EXPECT_EQ(appState().gDsn, dsn);
    EXPECT_EQ(appState().gConnStr, connStr);
    EXPECT_EQ(appState().gMonitors.size(), monitors);
    EXPECT_EQ(appState().gMonitorIndex, monitor);
    EXPECT_EQ(grid()->cellText(row, nominal), QStringLiteral("35"));
    // Still a working editor on the same monitor.
    changeNominal();
    ui.answers = {UiPort::Answer::Yes};
    press(Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(dbNominal(), QStringLiteral("35.002"));
}

TEST_F(CommandsTest, ChangeOfDataSourceWithoutAMonitorPutsEverythingBack) {
    // After the new connection the monitor list lacks 112, and the user differs.
    TestDatabase::exec(QStringLiteral("UPDATE CSMON SET VFLG = 1 WHERE MONID = 112"));
    appState().gUserId = QStringLiteral("ancien");
    const QVector<OptionRow> rows = appState().gOptionRows;
    const int monitors = appState().gMonitors.size(), monitor = appState().gMonitorIndex;
    bool pickerShown = false;
    onNextDialog(kConnect, [&](QWidget* dialog) {
        onNextDialog(kPicker, [&](QWidget* picker) {
            pickerShown = true;
            picker->close();
        });
        connectTo(dialog);
    });
    press(Qt::Key_D, Qt::ControlModifier);

    EXPECT_TRUE(pickerShown);
    EXPECT_TRUE(appState().gConnected);
    EXPECT_EQ(appState().gUserId, QStringLiteral("ancien"));
    EXPECT_EQ(appState().gMonitors.size(), monitors);
    EXPECT_EQ(appState().gMonitorIndex, monitor);
    EXPECT_EQ(appState().currentMonitor().MonId, kGrinder);
    expectSameRows(appState().gOptionRows, rows);
}

}  // namespace
}  // namespace tolva::test
