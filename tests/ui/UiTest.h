#pragma once

// What the widget tests share: a fresh shared state on French settings and the
// demo database, scripted message boxes, the real editor window, and the moves
// of a user at the keyboard and in the dialogs.

#include <QTest>
#include <QtWidgets>

#include "core/Catalog.h"
#include "core/CoreTestSupport.h"
#include "core/DbWorker.h"
#include "core/MonitorList.h"
#include "core/OptionReader.h"
#include "core/Startup.h"
#include "support/FakeUiPort.h"
#include "support/TestDatabase.h"
#include "ui/EditorStartup.h"
#include "ui/MonitorEditor.h"
#include "ui/OptionGrid.h"
#include "ui/Twips.h"
#include "ui/frmConnect.h"
#include "ui/frmMain.h"
#include "ui/frmMonitor.h"

namespace tolva::test {

inline const QLocale kFrench(QLocale::French, QLocale::France);
inline const QLocale kEnglish(QLocale::English, QLocale::UnitedStates);

inline int monitorIndex(qint32 monId) {
    const auto& m = appState().gMonitors;
    const auto it = std::find_if(m.begin(), m.end(), [=](auto& e) { return e.MonId == monId; });
    return it == m.end() ? -1 : int(it - m.begin());
}
inline void showActive(QWidget* widget) {
    widget->show();
    QApplication::setActiveWindow(widget);
    ASSERT_TRUE(QTest::qWaitForWindowActive(widget));
}
inline QStringList message(const QString& text, const QString& title, UiPort::Icon icon) {
    return {text, title, QString::number(int(icon))};
}

// Runs answer on the next modal dialog once its exec() is up, not while the
// database works (timers run then, user input does not). A dialog left open is
// closed, and a poll still waiting at the end fails the test.
template <typename T>
void onNextDialog(std::function<void(T*)> answer) {
    auto* poll = new QTimer(qApp);
    poll->setObjectName(QStringLiteral("dialogPoll"));
    QObject::connect(poll, &QTimer::timeout, [poll, answer] {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal || databaseWaitRunning())
            return;
        poll->stop();
        poll->deleteLater();
        if (auto* dialog = qobject_cast<T*>(modal))
            answer(dialog);
        else
            ADD_FAILURE() << "expected " << T::staticMetaObject.className();
        if (modal->isVisible()) {
            ADD_FAILURE() << modal->objectName().toStdString() << " stayed open";
            modal->close();
        }
    });
    poll->start(10);
}
inline void fillIn(frmConnect* d, const QString& dsn, const QString& user, const QString& pw) {
    auto* list = d->findChild<QComboBox*>(QStringLiteral("cmbDSN"));
    list->setCurrentIndex(list->findText(dsn));
    EXPECT_EQ(list->currentText(), dsn);
    d->findChild<QLineEdit*>(QStringLiteral("txtUser"))->setText(user);
    d->findChild<QLineEdit*>(QStringLiteral("txtPWD"))->setText(pw);
    QTest::mouseClick(d->findChild<QPushButton*>(QStringLiteral("cmdOK")), Qt::LeftButton);
}
inline void connectTo(frmConnect* dialog) {
    fillIn(dialog, TestDatabase::dsn(), TestDatabase::setting("Username"),
           TestDatabase::setting("Password"));
}
// Selects the monitor's first item and presses Enter.
inline void pickMonitor(frmMonitor* picker, qint32 monId) {
    auto* tree = picker->findChild<QTreeWidget*>(QStringLiteral("TreeView1"));
    const auto items = tree->findItems(appState().gMonitors.value(monitorIndex(monId)).Name,
                                       Qt::MatchExactly | Qt::MatchRecursive);
    ASSERT_FALSE(items.isEmpty()) << "monitor " << monId << " not in the picker";
    tree->setCurrentItem(items.first());
    tree->setFocus();
    QTest::keyClick(tree, Qt::Key_Return);
}

class UiTest : public ::testing::Test {
protected:
    void SetUp() override {
        appState().reset();
        QSettings().clear();  // no window size or place left by an earlier test
        QLocale::setDefault(kFrench);
        PrepareStartup(appState(), m_programFolder.path());
        TestDatabase::resetDemo();
    }
    void TearDown() override {
        for (QTimer* poll : qApp->findChildren<QTimer*>(QStringLiteral("dialogPoll"))) {
            EXPECT_FALSE(poll->isActive()) << "an awaited dialog never opened";
            delete poll;
        }
        CloseEditor();  // a window StartEditor made
        window.reset();
        QLocale::setDefault(kEnglish);
    }

    void openWindow() {
        window = std::make_unique<frmMain>(appState());
        window->ApplyCatalogTexts();
        showActive(window.get());
    }
    // The window on demo monitor monId, as the connection dialog and the picker leave it.
    void openOn(qint32 monId) {
        SharedState& s = appState();
        s.gDsn = TestDatabase::dsn();
        s.gConnStr = TestDatabase::connectionString();
        ASSERT_TRUE(LoadMonitorList(s).ok());
        s.gConnected = true;
        s.gMonitorIndex = monitorIndex(monId);
        openWindow();
        ASSERT_TRUE(LoadMonitorOptions(appState()));
        s.gMonitorChosen = true;
        window->FillGrid();
        grid()->setFocus();
        QApplication::processEvents();
    }
    // The window on a monitor held in memory only, with these charts and no value.
    void openOnCharts(const QStringList& chartNames) {
        if (!window)
            openWindow();
        SharedState& s = appState();
        s.gDsn = QStringLiteral("Qualite");
        s.gMonitors = {MonitorEntry{QStringLiteral("Presse P7 - Boîtier"), 7, false}};
        s.gMonitorIndex = 0;
        QVector<OptionRow> rows(chartNames.size());
        for (int i = 0; i < chartNames.size(); ++i)
            rows[i].ChartName = chartNames[i];
        s.gOptionRows = rows;
        window->FillGrid();
    }

    // Grid row of the chart (row 0 holds the headings).
    static int rowOf(qint32 chartId) {
        const auto& r = appState().gOptionRows;
        const auto it =
            std::find_if(r.begin(), r.end(), [=](auto& o) { return o.ChartId == chartId; });
        EXPECT_NE(it, r.end()) << "chart " << chartId << " not loaded";
        return int(it - r.begin()) + 1;
    }
    static const OptionRow& optionRow(int gridRow) { return appState().gOptionRows[gridRow - 1]; }
    static QString tval(qint32 monId, qint32 chartId, const char* option) {
        const char* sql =
            "SELECT TVAL FROM CSMDAT JOIN CSOPT ON CSOPT.OPTID = CSMDAT.OPTID "
            "WHERE MONID = %d AND CHRTID = %d AND CSOPT.NAME = '%s'";
        return TestDatabase::scalar(QString::asprintf(sql, monId, chartId, option)).toString();
    }
    OptionGrid* grid() const { return window->findChild<OptionGrid*>(QStringLiteral("grdData")); }
    QLineEdit* editor() const { return window->findChild<QLineEdit*>(QStringLiteral("txtGrd")); }
    QAction* action(const char* name) const { return window->findChild<QAction*>(name); }
    QString imageOf(const char* key) const { return action(key)->property("imageKey").toString(); }
    QString panel(const char* name) const { return window->findChild<QLabel*>(name)->text(); }
    QPoint at() const { return {grid()->currentGridRow(), grid()->currentGridColumn()}; }
    QString editText() const { return editor()->isVisible() ? editor()->text() : "(closed)"; }
    QStringList rowTexts(int row) const {
        QStringList texts;
        for (int c = 0; c < grid()->columns(); ++c)
            texts << grid()->cellText(row, c);
        return texts;
    }

    // Keys go where the focus is. A closed modal dialog leaves no active window
    // here, where a desktop gives the activation back to the editor.
    QWidget* focused() {
        if (!QApplication::activeWindow() && !QApplication::activeModalWidget())
            QApplication::setActiveWindow(window.get());
        return QApplication::focusWidget() ? QApplication::focusWidget() : window.get();
    }
    void press(Qt::Key key, Qt::KeyboardModifiers m = {}) { QTest::keyClick(focused(), key, m); }
    // One key at a time: the first character typed on the grid opens the editor.
    void type(const QString& text) {
        for (QChar ch : text)
            QTest::keyClick(focused(), ch.toLatin1());
    }
    void goTo(int row, int col) {
        grid()->setCurrentGridCell(row, col);
        grid()->setFocus();
    }
    // Delete opens the editor empty, for any text.
    void enterValue(int row, int col, const QString& text) {
        goTo(row, col);
        press(Qt::Key_Delete);
        type(text);
        press(Qt::Key_Return);
    }
    // Text, title and icon of the last message box, and how many showed catalog text n.
    QStringList lastMessage() const {
        const FakeUiPort::Shown m = ui.shown.value(ui.shown.size() - 1);
        return message(m.text, m.title, m.icon);
    }
    int shown(int n) const {
        return std::count_if(ui.shown.begin(), ui.shown.end(),
                             [n](const auto& m) { return m.text == catalogText(n); });
    }

    QTemporaryDir m_programFolder;
    FakeUiPort ui;
    std::unique_ptr<frmMain> window;
};

}  // namespace tolva::test
