#pragma once
// A few threads that run slow jobs (password hashing) away from the threads that serve
// connections, so that queries never wait behind a burst of sign-ins. Jobs run in the order
// they were given; the queue is bounded, and a job that finds it full is refused at once.

#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

namespace server {

class WorkerPool {
public:
    WorkerPool(int threads, int maxQueued);
    ~WorkerPool();  // finishes the jobs already queued, then stops
    WorkerPool(const WorkerPool&) = delete;
    WorkerPool& operator=(const WorkerPool&) = delete;

    // False when the queue is full (the job is not taken).
    bool Submit(std::function<void()> job);

private:
    void Work();

    const std::size_t maxQueued_;
    std::mutex mutex_;
    std::condition_variable wake_;
    std::deque<std::function<void()>> jobs_;
    bool stopping_ = false;
    std::vector<std::thread> threads_;
};

}  // namespace server
