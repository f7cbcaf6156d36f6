#pragma once

// The real editor window opened on a demo monitor, as the connection dialog and
// the monitor picker leave the shared state, with scripted message boxes.

#include <gtest/gtest.h>
#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QLocale>
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

// Readable values in failure messages.
QT_BEGIN_NAMESPACE
inline void PrintTo(const QString& text, std::ostream* os) {
    *os << '"' << text.toStdString() << '"';
}
QT_END_NAMESPACE

namespace tolva {
inline void PrintTo(const TaggedValue& value, std::ostream* os) {
    if (value.isEmpty())
        *os << "(empty)";
    else if (value.isNumber())
        *os << value.toNumber();
    else
        *os << "text \"" << value.toTextValue().toStdString() << '"';
}
}  // namespace tolva

namespace tolva::test {

inline QLocale french() {
    return QLocale(QLocale::French, QLocale::France);
}
inline QLocale english() {
    return QLocale(QLocale::English, QLocale::UnitedStates);
}

class EditorWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        appState().reset();
        QLocale::setDefault(french());
        ASSERT_TRUE(m_programFolder.isValid());
        PrepareStartup(m_programFolder.path());
        TestDatabase::resetDemo();
    }

    void TearDown() override {
        if (window) {
            window->hide();
            window.reset();
        }
        setEditorProvider(nullptr);
        QLocale::setDefault(english());
    }

    // Connects to the test data source and opens the window on monitor monId.
    void openOn(qint32 monId) {
        SharedState& s = appState();
        s.gDsn = TestDatabase::dsn();
        s.gConnStr = TestDatabase::connectionString();
        ASSERT_TRUE(LoadMonitorList());
        s.gConnected = true;
        s.gMonitorIndex = monitorIndex(monId);
        ASSERT_GE(s.gMonitorIndex, 0);

        window = std::make_unique<frmMain>();
        frmMain* w = window.get();
        setEditorProvider([w]() -> EditorPort* { return w; });
        window->ApplyCatalogTexts();
        ASSERT_TRUE(LoadMonitorOptions());
        s.gMonitorChosen = true;
        window->show();
        QApplication::setActiveWindow(window.get());
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
        window->FillGrid();
        grid()->setFocus();
        QApplication::processEvents();
    }

public:
    static int monitorIndex(qint32 monId) {
        const auto& monitors = appState().gMonitors;
        for (int i = 0; i < monitors.size(); ++i) {
            if (monitors[i].MonId == monId)
                return i;
        }
        return -1;
    }

protected:
    OptionGrid* grid() const { return window->findChild<OptionGrid*>(QStringLiteral("grdData")); }
    QLineEdit* editor() const { return window->findChild<QLineEdit*>(QStringLiteral("txtGrd")); }
    QAction* menuSave() const { return window->findChild<QAction*>(QStringLiteral("mnuCommit")); }
    // The toolbar button with the given key.
    QAction* toolbarButton(const QString& key) const {
        auto* bar = window->findChild<QToolBar*>(QStringLiteral("Toolbar1"));
        for (QAction* a : bar->actions()) {
            if (a->objectName() == key || a->data().toString() == key)
                return a;
        }
        ADD_FAILURE() << "no toolbar button " << key.toStdString();
        return nullptr;
    }
    void clickToolbar(const QString& key) {
        auto* bar = window->findChild<QToolBar*>(QStringLiteral("Toolbar1"));
        QWidget* button = bar->widgetForAction(toolbarButton(key));
        ASSERT_NE(button, nullptr);
        QTest::mouseClick(button, Qt::LeftButton);
    }

    // Grid row of the chart (row 0 is the heading row).
    static int rowOf(qint32 chartId) {
        const auto& rows = appState().gOptionRows;
        for (int i = 0; i < rows.size(); ++i) {
            if (rows[i].ChartId == chartId)
                return i + 1;
        }
        ADD_FAILURE() << "chart " << chartId << " not loaded";
        return -1;
    }
    static OptionRow& optionRow(int gridRow) { return appState().gOptionRows[gridRow - 1]; }

    // Keys go where the focus is, as they would for the user.
    QWidget* focused() {
        // A closed modal dialog leaves no active window on this platform, where
        // a desktop would give the activation back to the editor.
        if (!QApplication::activeWindow() && !QApplication::activeModalWidget())
            QApplication::setActiveWindow(window.get());
        QWidget* w = QApplication::focusWidget();
        EXPECT_NE(w, nullptr);
        return w;
    }
    void press(Qt::Key key, Qt::KeyboardModifiers mods = Qt::NoModifier) {
        QTest::keyClick(focused(), key, mods);
    }
    // One key at a time: the first character typed on the grid moves the focus
    // into the editor.
    void type(const QString& text) {
        for (QChar ch : text)
            QTest::keyClick(focused(), ch.toLatin1());
    }

    void goTo(int row, int col) {
        grid()->setCurrentGridCell(row, col);
        grid()->setFocus();
    }
    // Moves to the cell, types text from the grid (its first character opens
    // the editor) and presses Enter.
    void enterValue(int row, int col, const QString& text) {
        goTo(row, col);
        type(text);
        press(Qt::Key_Return);
    }
    void clickCell(int row, int col) {
        const QRect r = grid()->cellRect(row, col);
        QWidget* vp = grid()->viewport();
        QTest::mouseClick(vp, Qt::LeftButton, Qt::NoModifier, vp->mapFrom(grid(), r.center()));
    }

    static QString tval(qint32 monId, qint32 chartId, const QString& option) {
        return TestDatabase::scalar(QStringLiteral("SELECT TVAL FROM CSMDAT WHERE MONID = %1 AND "
                                                   "CHRTID = %2 AND OPTID IN (SELECT OPTID FROM "
                                                   "CSOPT WHERE NAME = '%3')")
                                        .arg(monId)
                                        .arg(chartId)
                                        .arg(option))
            .toString();
    }

    // Messages of the given catalog text shown so far.
    int shownCount(const QString& text) const {
        int n = 0;
        for (const auto& m : ui.shown)
            n += m.text == text ? 1 : 0;
        return n;
    }

    QTemporaryDir m_programFolder;
    FakeUiPort ui;
    std::unique_ptr<frmMain> window;
};

}  // namespace tolva::test
