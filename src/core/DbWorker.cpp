#include "DbWorker.h"

#include <QAbstractEventDispatcher>
#include <QCoreApplication>
#include <QScopeGuard>
#include <QTimer>
#include <atomic>
#include <condition_variable>
#include <exception>
#include <mutex>

#include "Catalog.h"
#include "DbConnection.h"

namespace tolva {

namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

// A call that answers within this time costs no pass through the events.
constexpr milliseconds kQuietWait{20};
// How long the end of an idle thread is awaited before it is left to end alone.
constexpr milliseconds kFarewellWait{2000};

NoAnswerPolicy* g_policy = nullptr;
thread_local int t_waits = 0;
std::atomic<int> g_abandonedRunning{0};

}  // namespace

DbWaitTimes& dbWaitTimes() {
    static DbWaitTimes times;
    return times;
}

void setNoAnswerPolicy(NoAnswerPolicy* policy) {
    g_policy = policy;
}

bool databaseWaitRunning() {
    return t_waits > 0;
}

int abandonedCallsRunning() {
    return g_abandonedRunning;
}

struct DbWorker::Shared {
    std::mutex mutex;
    std::condition_variable work;  // the thread waits for a call
    std::condition_variable done;  // the caller waits for its end
    std::function<void()> call;
    bool pending = false;
    bool finished = false;  // the call returned
    bool quit = false;
    bool ended = false;  // past the farewell
    bool abandoned = false;
    std::exception_ptr failure;
    QObject* waiter = nullptr;  // on the caller's thread: told when the call returns
};

DbWorker::DbWorker(std::function<void()> farewell) : m_shared(std::make_shared<Shared>()) {
    m_thread = std::thread([s = m_shared, farewell = std::move(farewell)] {
        std::unique_lock<std::mutex> lock(s->mutex);
        for (;;) {
            s->work.wait(lock, [&] { return s->pending || s->quit; });
            if (!s->pending)
                break;
            std::function<void()> call = std::move(s->call);
            s->pending = false;
            lock.unlock();
            std::exception_ptr failure;
            try {
                call();
            } catch (...) {
                failure = std::current_exception();
            }
            call = nullptr;  // what it holds is let go on this thread
            lock.lock();
            s->failure = failure;
            s->finished = true;
            s->done.notify_all();
            if (s->waiter)
                QMetaObject::invokeMethod(
                    s->waiter, [] {}, Qt::QueuedConnection);
        }
        lock.unlock();
        try {
            farewell();
        } catch (...) {
        }
        lock.lock();
        s->ended = true;
        s->done.notify_all();
        if (s->abandoned)
            --g_abandonedRunning;
    });
}

DbWorker::~DbWorker() {
    if (m_abandoned)
        return;  // detached: it ends once the driver lets go
    std::unique_lock<std::mutex> lock(m_shared->mutex);
    m_shared->quit = true;
    m_shared->work.notify_all();
    const bool ended =
        m_shared->done.wait_for(lock, kFarewellWait, [&] { return m_shared->ended; });
    lock.unlock();
    if (ended)
        m_thread.join();
    else
        m_thread.detach();
}

void DbWorker::run(std::function<void()> call, milliseconds limit,
                   const std::function<QString()>& giveUp) {
    if (m_abandoned)
        throw DbError(catalogText(Msg::ConnectionClosed));
    {
        std::lock_guard<std::mutex> lock(m_shared->mutex);
        m_shared->call = std::move(call);
        m_shared->pending = true;
        m_shared->finished = false;
        m_shared->failure = nullptr;
    }
    m_shared->work.notify_all();
    if (!waitQuietly())
        waitWithEvents(limit, giveUp);
    std::exception_ptr failure;
    {
        std::lock_guard<std::mutex> lock(m_shared->mutex);
        failure = std::exchange(m_shared->failure, nullptr);
    }
    if (failure)
        std::rethrow_exception(failure);
}

bool DbWorker::waitQuietly() {
    std::unique_lock<std::mutex> lock(m_shared->mutex);
    return m_shared->done.wait_for(lock, kQuietWait, [&] { return m_shared->finished; });
}

void DbWorker::waitWithEvents(milliseconds limit, const std::function<QString()>& giveUp) {
    const Clock::time_point start = Clock::now();
    const Clock::time_point end = limit.count() > 0 ? start + limit : Clock::time_point::max();
    Clock::time_point askAt = start + dbWaitTimes().silence;
    const std::shared_ptr<Shared> s = m_shared;
    const auto answered = [s] {
        std::lock_guard<std::mutex> lock(s->mutex);
        return s->finished;
    };
    // Without an event loop on this thread (a tool's worker), the wait is a plain one.
    const bool events = QCoreApplication::instance() && QAbstractEventDispatcher::instance();
    QObject waiter;
    QTimer watchdog;
    watchdog.setSingleShot(true);
    if (events) {
        std::lock_guard<std::mutex> lock(s->mutex);
        s->waiter = &waiter;
    }
    ++t_waits;
    const auto leave = qScopeGuard([&] {
        --t_waits;
        std::lock_guard<std::mutex> lock(s->mutex);
        s->waiter = nullptr;
    });
    for (;;) {
        if (answered())
            return;
        const Clock::time_point now = Clock::now();
        if (now >= end)
            abandon(giveUp ? giveUp() : catalogText(Msg::OperationAbandoned));
        if (now >= askAt) {
            const bool wait =
                !g_policy || g_policy->keepWaiting(
                                 std::chrono::duration_cast<milliseconds>(now - start), answered);
            if (answered())
                return;
            if (!wait)
                abandon(catalogText(Msg::OperationAbandoned));
            askAt = Clock::now() + dbWaitTimes().silence;
            continue;
        }
        const auto next = std::chrono::ceil<milliseconds>(std::min(askAt, end) - now);
        if (events) {
            // The timer or the call's end wakes the loop; painting, timers and the
            // window system's other events run meanwhile, user input waits.
            watchdog.start(next);
            QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents |
                                            QEventLoop::WaitForMoreEvents);
        } else {
            std::unique_lock<std::mutex> lock(s->mutex);
            s->done.wait_for(lock, next, [&] { return s->finished; });
        }
    }
}

void DbWorker::abandon(const QString& text) {
    {
        std::lock_guard<std::mutex> lock(m_shared->mutex);
        m_shared->waiter = nullptr;
        m_shared->quit = true;
        m_shared->abandoned = true;
        ++g_abandonedRunning;
    }
    m_shared->work.notify_all();
    m_thread.detach();
    m_abandoned = true;
    throw DbError::unanswered(text);
}

}  // namespace tolva
