#include "server/WorkerPool.h"

#include <algorithm>

namespace server {

WorkerPool::WorkerPool(int threads, int maxQueued)
    : maxQueued_(std::size_t(std::max(1, maxQueued))) {
    for (int i = 0; i < std::max(1, threads); ++i)
        threads_.emplace_back([this] { Work(); });
}

WorkerPool::~WorkerPool() {
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    wake_.notify_all();
    for (std::thread& t : threads_)
        t.join();
}

bool WorkerPool::Submit(std::function<void()> job) {
    {
        std::lock_guard lock(mutex_);
        if (stopping_ || jobs_.size() >= maxQueued_)
            return false;
        jobs_.push_back(std::move(job));
    }
    wake_.notify_one();
    return true;
}

void WorkerPool::Work() {
    for (;;) {
        std::function<void()> job;
        {
            std::unique_lock lock(mutex_);
            wake_.wait(lock, [this] { return stopping_ || !jobs_.empty(); });
            if (jobs_.empty())
                return;
            job = std::move(jobs_.front());
            jobs_.pop_front();
        }
        job();
    }
}

}  // namespace server
