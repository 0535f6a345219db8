#pragma once
// A few threads that run slow jobs (password hashing) away from the threads that serve
// connections, so that queries never wait behind a burst of sign-ins.
//
// Jobs are shared fairly between their keys (client addresses): the threads take one job of
// each key in turn, so that a burst from one address waits behind itself and not in front of
// everybody else. Jobs of one key run in the order they were given. A job may be given a time
// before which it does not start (a guessed account's attempts are spaced out). The queue is
// bounded per key and in all; a job that finds it full is refused at once.

#include <QHash>
#include <QString>

#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

namespace server {

class WorkerPool {
public:
    using Clock = std::chrono::steady_clock;

    WorkerPool(int threads, int maxQueued, int maxQueuedPerKey);
    ~WorkerPool();  // Finish()
    // Takes no more jobs, runs every queued one at once (delayed ones too) and stops the
    // threads; returns when the last job is done.
    void Finish();
    WorkerPool(const WorkerPool&) = delete;
    WorkerPool& operator=(const WorkerPool&) = delete;

    // False when the queue of the key or the whole queue is full (the job is not taken).
    bool Submit(const QString& key, std::function<void()> job,
                Clock::time_point notBefore = Clock::time_point());

private:
    struct Job {
        std::function<void()> run;
        Clock::time_point notBefore;
    };
    void Work();
    // The next job whose time has come, the keys taking turns; false when none has. With the
    // lock held. `wake` gets the earliest time a queued job may start.
    bool TakeNext(Job* job, Clock::time_point now, Clock::time_point* wake);

    const std::size_t maxQueued_;
    const std::size_t maxQueuedPerKey_;
    std::mutex mutex_;
    std::condition_variable wake_;
    QHash<QString, std::deque<Job>> queues_;
    std::deque<QString> turns_;  // keys with queued jobs, the next to be served first
    std::size_t queued_ = 0;
    bool stopping_ = false;
    std::vector<std::thread> threads_;
};

}  // namespace server
