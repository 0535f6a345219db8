#include "server/WorkerPool.h"

#include <algorithm>

namespace server {

WorkerPool::WorkerPool(int threads, int maxQueued, int maxQueuedPerKey)
    : maxQueued_(std::size_t(std::max(1, maxQueued))),
      maxQueuedPerKey_(std::size_t(std::max(1, maxQueuedPerKey))) {
    for (int i = 0; i < std::max(1, threads); ++i)
        threads_.emplace_back([this] { Work(); });
}

WorkerPool::~WorkerPool() {
    Finish();
}

void WorkerPool::Finish() {
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    wake_.notify_all();
    for (std::thread& t : threads_) {
        if (t.joinable())
            t.join();
    }
}

bool WorkerPool::Submit(const QString& key, std::function<void()> job,
                        Clock::time_point notBefore) {
    {
        std::lock_guard lock(mutex_);
        if (stopping_ || queued_ >= maxQueued_)
            return false;
        std::deque<Job>& queue = queues_[key];
        if (queue.size() >= maxQueuedPerKey_)
            return false;
        if (queue.empty())
            turns_.push_back(key);
        queue.push_back({std::move(job), notBefore});
        ++queued_;
    }
    wake_.notify_one();
    return true;
}

bool WorkerPool::TakeNext(Job* job, Clock::time_point now, Clock::time_point* wake) {
    *wake = Clock::time_point::max();
    // One look at each key, in turn; a key whose first job must still wait keeps its place.
    const std::size_t keys = turns_.size();
    for (std::size_t looked = 0; looked < keys; ++looked) {
        const QString key = turns_.front();
        turns_.pop_front();
        const auto it = queues_.find(key);
        if (it == queues_.end() || it->empty())
            continue;
        if (it->front().notBefore > now) {
            *wake = std::min(*wake, it->front().notBefore);
            turns_.push_back(key);
            continue;
        }
        *job = std::move(it->front());
        it->pop_front();
        --queued_;
        if (it->empty())
            queues_.erase(it);
        else
            turns_.push_back(key);  // its next job waits for the other keys' turns
        return true;
    }
    return false;
}

void WorkerPool::Work() {
    for (;;) {
        Job job;
        {
            std::unique_lock lock(mutex_);
            for (;;) {
                Clock::time_point wake;
                // When stopping, every queued job runs at once, delayed ones too.
                if (TakeNext(&job, stopping_ ? Clock::time_point::max() : Clock::now(), &wake))
                    break;
                if (stopping_ && queued_ == 0)
                    return;
                if (wake == Clock::time_point::max())
                    wake_.wait(lock);
                else
                    wake_.wait_until(lock, wake);
            }
        }
        job.run();
    }
}

}  // namespace server
