#pragma once

#include <QString>
#include <chrono>
#include <functional>
#include <memory>
#include <thread>

namespace tolva {

// What a wait on the database asks once the server has been silent for a
// while. The window answers with a box; the core never shows one.
class NoAnswerPolicy {
public:
    virtual ~NoAnswerPolicy() = default;
    // True to go on waiting (asked again after the same silence), false to give
    // up; `silent` is the time waited so far. `answered` turns true when the
    // answer comes in meanwhile, so that a box can close by itself.
    virtual bool keepWaiting(std::chrono::milliseconds silent,
                             const std::function<bool()>& answered) = 0;
};

// How long the program waits before asking, and how long a login may take
// (the driver's own timeout; the wait gives up by itself a little later).
struct DbWaitTimes {
    std::chrono::milliseconds silence{5000};
    int loginSeconds = 15;
};
DbWaitTimes& dbWaitTimes();
// None installed: a wait lasts as long as the server takes.
void setNoAnswerPolicy(NoAnswerPolicy* policy);
// True while a database wait runs on the calling thread (its events keep
// going meanwhile): what it works on must not be torn down.
bool databaseWaitRunning();
// Calls given up on whose thread is still inside the driver.
int abandonedCallsRunning();

// The thread on which every driver call of one connection runs, and the wait
// for each call: the calling thread keeps painting and running its timers,
// user input held back, and asks the policy when the server stays silent.
class DbWorker {
public:
    // `farewell` runs on the thread as its last work, abandoned or not.
    explicit DbWorker(std::function<void()> farewell);
    // Lets the thread end; an abandoned one ends when its driver call returns.
    ~DbWorker();
    DbWorker(const DbWorker&) = delete;
    DbWorker& operator=(const DbWorker&) = delete;

    // Runs `call` on the thread and rethrows what it threw. When the policy
    // gives up, or `limit` (if not zero) passes, the worker is abandoned and
    // DbError is thrown with the text of `giveUp`, marked unanswered: the
    // call finishes unseen, so it must hold nothing of the caller's.
    void run(std::function<void()> call, std::chrono::milliseconds limit = {},
             const std::function<QString()>& giveUp = {});
    bool abandoned() const { return m_abandoned; }

private:
    struct Shared;
    bool waitQuietly();
    void waitWithEvents(std::chrono::milliseconds limit, const std::function<QString()>& giveUp);
    [[noreturn]] void abandon(const QString& text);

    std::shared_ptr<Shared> m_shared;
    std::thread m_thread;
    bool m_abandoned = false;
};

}  // namespace tolva
