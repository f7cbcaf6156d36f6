#pragma once

// The editor window built on its own, with the shared state set up either in
// memory (a monitor whose charts the test names) or from the test database.

#include <gtest/gtest.h>
#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QLocale>
#include <QMenu>
#include <QTemporaryDir>
#include <QTest>
#include <QToolBar>
#include <memory>
#include <ostream>

#include "app/EditorPort.h"
#include "app/SharedState.h"
#include "app/Startup.h"
#include "editor/OptionGrid.h"
#include "editor/frmMain.h"
#include "store/MonitorList.h"
#include "store/OptionReader.h"
#include "support/FakeUiPort.h"
#include "support/TestDatabase.h"

// Readable texts in failure messages.
inline void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}

namespace tolva::test {

class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        appState().reset();
        m_savedLocale = QLocale();
        QLocale::setDefault(QLocale(QLocale::French, QLocale::France));
        ASSERT_TRUE(m_programFolder.isValid());
        PrepareStartup(m_programFolder.path());
        window = std::make_unique<frmMain>();
        frmMain* w = window.get();
        setEditorProvider([w]() -> EditorPort* { return w; });
        window->ApplyCatalogTexts();
        window->show();
        QApplication::setActiveWindow(window.get());
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    }

    void TearDown() override {
        setEditorProvider(nullptr);
        window.reset();
        QLocale::setDefault(m_savedLocale);
    }

    // A monitor held in memory only, with these chart names and no value.
    static void useMonitor(const QStringList& chartNames, bool queryProfile = false) {
        SharedState& s = appState();
        s.gDsn = QStringLiteral("Qualite");
        s.gMonitors = {
            MonitorEntry{QStringLiteral("Presse P7 - Boîtier"), 7, queryProfile ? 1 : 0}};
        s.gMonitorIndex = 0;
        s.gMonitorChosen = true;
        s.gOptionRows.clear();
        for (const QString& name : chartNames) {
            OptionRow row;
            row.ChartName = name;
            row.ChartId = qint32(s.gOptionRows.size()) + 1;
            s.gOptionRows.append(row);
        }
    }

    // The demo database's monitor monId, read as the monitor picker reads it.
    static void loadDemoMonitor(qint32 monId) {
        TestDatabase::resetDemo();
        SharedState& s = appState();
        s.gDsn = TestDatabase::dsn();
        s.gConnStr = TestDatabase::connectionString();
        ASSERT_TRUE(LoadMonitorList());
        s.gConnected = true;
        s.gMonitorIndex = -1;
        for (int i = 0; i < s.gMonitors.size(); ++i) {
            if (s.gMonitors[i].MonId == monId)
                s.gMonitorIndex = i;
        }
        ASSERT_GE(s.gMonitorIndex, 0) << "monitor " << monId << " not listed";
        ASSERT_TRUE(LoadMonitorOptions());
        s.gMonitorChosen = true;
    }

    // Grid row of a chart of the loaded monitor.
    static int rowOf(qint32 chartId) {
        const auto& rows = appState().gOptionRows;
        for (int i = 0; i < rows.size(); ++i) {
            if (rows[i].ChartId == chartId)
                return i + 1;
        }
        ADD_FAILURE() << "chart " << chartId << " not loaded";
        return 1;
    }

    OptionGrid* grid() const { return window->findChild<OptionGrid*>(QStringLiteral("grdData")); }
    QAction* action(const char* name) const {
        QAction* found = window->findChild<QAction*>(QLatin1String(name));
        EXPECT_NE(found, nullptr) << name;
        return found;
    }
    QLabel* label(const char* name) const {
        return window->findChild<QLabel*>(QLatin1String(name));
    }
    // The image the toolbar button with this key shows.
    QString imageOf(const char* key) const { return action(key)->property("imageKey").toString(); }
    QStringList headings() const {
        QStringList texts;
        for (int c = 0; c < grid()->columns(); ++c)
            texts << grid()->cellText(0, c);
        return texts;
    }
    QStringList rowTexts(int row) const {
        QStringList texts;
        for (int c = 0; c < grid()->columns(); ++c)
            texts << grid()->cellText(row, c);
        return texts;
    }

    FakeUiPort ui;
    std::unique_ptr<frmMain> window;

private:
    QTemporaryDir m_programFolder;
    QLocale m_savedLocale;
};

}  // namespace tolva::test
