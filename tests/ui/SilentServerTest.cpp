// A server that stops answering, the link held silent by the relay: the window
// keeps painting, asks whether to go on waiting, and either gets its answer or
// gives the operation up at once.
#include "DelayProxy.h"
#include "UiTest.h"
#include "core/DbWorker.h"
#include "support/StatementTrap.h"
#include "ui/QtUiPort.h"

namespace tolva::test {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

constexpr qint32 kGrinder = 103;

struct PaintCount : QObject {
    int paints = 0;
    bool eventFilter(QObject*, QEvent* e) override {
        return paints += e->type() == QEvent::Paint, false;
    }
};

// Answers "go on waiting?" from a script (wait, when it is empty) while the
// relay holds the link; a slow answer of a busy machine is waited for.
class SilentServerTest : public UiTest, public NoAnswerPolicy {
protected:
    void SetUp() override {
        UiTest::SetUp();
        const QString backend = TestDatabase::backend();
        if (backend != QLatin1String("postgres") && backend != QLatin1String("mariadb"))
            GTEST_SKIP() << "needs a server at the other end of a TCP connection";
        proxy.emplace(netdelay::DelayProxy::Options{
            quint16(TestDatabase::setting("Port").toUInt()), {}, 64, 120s});
        relayed = TestDatabase::connectionString() +
                  QStringLiteral("Server=127.0.0.1;Port=%1;").arg(proxy->port());
        openOn(kGrinder);
        appState().gConnStr = relayed;
        dbWaitTimes() = {300ms, 2};
        setNoAnswerPolicy(this);
    }
    void TearDown() override {
        setNoAnswerPolicy(nullptr);
        dbWaitTimes() = DbWaitTimes();
        UiTest::TearDown();
        proxy.reset();  // connections given up on end with it
    }
    bool keepWaiting(std::chrono::milliseconds, const std::function<bool()>&) override {
        if (!held)
            return true;
        ++asked;
        return script.isEmpty() || script.takeFirst()();
    }
    void hold(bool on) {
        held = on;
        proxy->hold(on);
    }
    void save() {
        ui.answers = {UiPort::Answer::Yes};
        press(Qt::Key_S, Qt::ControlModifier);
    }

    std::optional<netdelay::DelayProxy> proxy;
    QString relayed;
    bool held = false;
    int asked = 0;
    QVector<std::function<bool()>> script;
};

TEST_F(SilentServerTest, HeldSaveWaitsOrIsGivenUpAndTheNextSaveReadsFirst) {
    const int row = rowOf(1101), other = rowOf(1102);
    const int nominal = window->columnLayout().gColSpecNominal;
    PaintCount painted;
    grid()->viewport()->installEventFilter(&painted);
    QTimer repaint;
    QObject::connect(&repaint, &QTimer::timeout, [&] { grid()->viewport()->update(); });
    repaint.start(20);
    auto holdAtCommit = [&] {
        return std::make_unique<StatementTrap>(
            "commit", [&] { painted.paints = 0, hold(true); }, false);
    };

    // "Attendre", then the link comes back: the save goes through. A close
    // asked meanwhile is refused.
    enterValue(row, nominal, "35,002");
    int paintsWhileHeld = -1;
    bool closed = true, loggedOut = true;
    script = {[&] {
        paintsWhileHeld = painted.paints;
        ui.answers = {UiPort::Answer::No};  // would let the close go
        closed = window->close();
        loggedOut = window->endSession(true);  // no second save inside the wait
        ui.answers.clear();
        hold(false);
        return true;
    }};
    {
        auto trap = holdAtCommit();
        save();
    }
    EXPECT_EQ(asked, 1);
    EXPECT_GT(paintsWhileHeld, 0);
    EXPECT_FALSE(closed || loggedOut || window->isClosedForGood());
    EXPECT_EQ(ui.shown.size(), 1);  // the question alone
    EXPECT_EQ(tval(kGrinder, 1101, "ProcCapNominal"), "35.002");
    EXPECT_FALSE(window->hasUnsavedChanges());

    // "Abandonner" while the first group's commit is held: the window is back
    // at once, what was typed stays on screen, and the box says the group's
    // fate is unknown.
    enterValue(row, nominal, "35,003");
    enterValue(other, nominal, "62,001");
    Clock::time_point gaveUp;
    script = {[&] { return gaveUp = Clock::now(), false; }};
    {
        auto trap = holdAtCommit();
        save();
    }
    EXPECT_LT(Clock::now() - gaveUp, 1s);
    EXPECT_EQ(lastMessage().value(0),
              catalogText(253) + "\r\n" + catalogText(216).arg(0) + "\r\n" + catalogText(254));
    EXPECT_EQ(grid()->cellText(row, nominal), "35,003");
    EXPECT_EQ(grid()->cellText(other, nominal), "62,001");
    EXPECT_TRUE(window->hasUnsavedChanges());
    EXPECT_EQ(tval(kGrinder, 1101, "ProcCapNominal"), "35.002");

    // The held commit reaches the server after all; the next save reads the
    // monitor first and writes only what is not there.
    hold(false);
    for (int i = 0; i < 100 && tval(kGrinder, 1101, "ProcCapNominal") != "35.003"; ++i)
        QTest::qWait(50);
    ASSERT_EQ(tval(kGrinder, 1101, "ProcCapNominal"), "35.003");
    sqlCounters().recent.clear();
    sqlCounters().recording = true;
    save();
    sqlCounters().recording = false;
    const QStringList& sql = sqlCounters().recent;
    EXPECT_TRUE(sql.value(0).startsWith("SELECT PROFID FROM CSMON"));  // the re-read first
    EXPECT_TRUE(sql.filter("AND CHRTID = 1101").isEmpty()) << sql.join('\n').toStdString();
    EXPECT_EQ(tval(kGrinder, 1102, "ProcCapNominal"), "62.001");
    EXPECT_FALSE(window->hasUnsavedChanges());
}

// The journal's rows, read in blocks, are waited for like any statement.
TEST_F(SilentServerTest, HeldHistoryReadIsGivenUpAndTheWindowGoesOn) {
    script = {[] { return false; }};
    {
        StatementTrap trap("SELECT CHANGED_AT", [&] { hold(true); });
        action("mnuHistory")->trigger();
    }
    hold(false);
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(lastMessage().value(2), QString::number(int(UiPort::Icon::Critical)));
    EXPECT_TRUE(window->isVisible());
}

TEST_F(SilentServerTest, LoginToASilentServerGivesUpInBoundedTimeWithAText) {
    hold(true);
    const Clock::time_point start = Clock::now();
    QString text;
    try {
        DbConnection().open(relayed);
    } catch (const DbError& error) {
        text = error.description();
    }
    EXPECT_LT(Clock::now() - start, 6s);
    EXPECT_FALSE(text.isEmpty());
    EXPECT_GE(asked, 1);
}

// The desktop's box: "Abandonner" gives up; an answer that comes meanwhile
// closes it, and waiting goes on.
TEST_F(SilentServerTest, BoxGivesUpOnAbandonnerAndClosesWhenTheAnswerComes) {
    QtUiPort desktop;
    onNextDialog<QMessageBox>([](QMessageBox* box) {
        EXPECT_EQ(box->text(), catalogText(250).arg(7));
        for (QAbstractButton* button : box->buttons())
            if (button->text() == catalogText(252))
                button->click();
    });
    EXPECT_FALSE(desktop.keepWaiting(7s, [] { return false; }));
    bool answered = false;
    QTimer::singleShot(50, [&] { answered = true; });
    EXPECT_TRUE(desktop.keepWaiting(7s, [&] { return answered; }));
}

}  // namespace tolva::test
