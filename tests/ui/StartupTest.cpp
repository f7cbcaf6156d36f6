// The program's start: the window comes up behind the connection dialog and the
// monitor picker, then shows the chosen monitor or closes and ends the program.
#include "UiTest.h"
#include "core/modCfg.h"

namespace tolva::test {

using StartupTest = UiTest;

TEST_F(StartupTest, ConnectionAndPickLeadToTheFilledGrid) {
    appState().gShowR = true;  // as a settings file may say
    onNextDialog<frmConnect>([](frmConnect* dialog) {
        // The window is up, without its grid, while the dialog asks.
        EXPECT_TRUE(startedEditor() && startedEditor()->isVisible());
        EXPECT_FALSE(startedEditor()->findChild<OptionGrid*>("grdData")->isVisible());
        onNextDialog<frmMonitor>([](frmMonitor* picker) { pickMonitor(picker, 105); });
        connectTo(dialog);
    });
    ASSERT_TRUE(StartEditor(appState()));
    frmMain* window = startedEditor();
    auto* grid = window->findChild<OptionGrid*>("grdData");
    EXPECT_TRUE(window->isVisible() && grid->isVisible());
    // A query profile with its query, and the chart group the settings asked for.
    EXPECT_EQ(window->findChild<QAction*>("MR")->property("imageKey").toString(), "R");
    EXPECT_TRUE(window->findChild<QAction*>("mnuR")->isChecked());
    EXPECT_EQ(QStringList({grid->cellText(0, 1), grid->cellText(1, 0), grid->cellText(1, 1)}),
              QStringList({"Requête", "Diamètre", "Lot A"}));
    EXPECT_EQ(window->findChild<QLabel*>("StatusBar1Panel2")->text(),
              "Moniteur : Contrôle réception - Lots fournisseurs ");
    EXPECT_TRUE(ui.shown.isEmpty());
}

TEST_F(StartupTest, EitherDialogGivenUpEndsTheProgramAndWritesTheSettings) {
    for (const bool atPicker : {false, true}) {
        SCOPED_TRACE(atPicker ? "picker closed" : "connection cancelled");
        appState().reset();
        PrepareStartup(appState(), m_programFolder.path());
        onNextDialog<frmConnect>([&](frmConnect* dialog) {
            if (!atPicker)
                return dialog->findChild<QPushButton*>("cmdCancel")->click();
            onNextDialog<frmMonitor>([](frmMonitor* picker) { picker->close(); });
            connectTo(dialog);
        });
        EXPECT_FALSE(StartEditor(appState()));
        ASSERT_NE(startedEditor(), nullptr);
        EXPECT_TRUE(startedEditor()->isClosedForGood() && !startedEditor()->isVisible());
        EXPECT_EQ(appState().gConnected, atPicker);
        const QString settings = SettingsFilePath(appState());
        EXPECT_TRUE(readBytes(settings).startsWith(
            (QStringLiteral("DSN=%1\r\n").arg(atPicker ? TestDatabase::dsn() : "")).toLatin1()));
        QFile::remove(settings);
        CloseEditor();
    }
}

}  // namespace tolva::test
