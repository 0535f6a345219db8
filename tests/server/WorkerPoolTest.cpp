// The hashing threads share their time between client addresses: a burst of one address waits
// behind itself, and a job held back for its turn holds nobody else back.

#include "server/WorkerPool.h"

#include <gtest/gtest.h>

#include <condition_variable>
#include <future>
#include <mutex>
#include <string>
#include <vector>

namespace {

using server::WorkerPool;

TEST(WorkerPool, AddressesTakeTurnsAndDelayedJobsWaitAlone) {
    std::vector<std::string> order;
    std::mutex mutex;
    std::condition_variable ran;
    const auto record = [&](std::string what) {
        return [&order, &mutex, &ran, what] {
            {
                std::lock_guard lock(mutex);
                order.push_back(what);
            }
            ran.notify_all();
        };
    };
    std::promise<void> release, started;
    std::shared_future<void> released = release.get_future().share();
    WorkerPool pool(1, 100, 3);
    // The one thread is held by the first job while the rest queue up.
    ASSERT_TRUE(pool.Submit("a", [&, released] {
        started.set_value();
        released.wait();
        record("a1")();
    }));
    started.get_future().wait();
    // Whatever fails below, the held job lets go in the end.
    struct Release {
        std::promise<void>& promise;
        bool done = false;
        ~Release() {
            if (!done)
                promise.set_value();
        }
    } letGo{release};
    for (int i = 2; i <= 4; ++i)
        ASSERT_TRUE(pool.Submit("a", record("a" + std::to_string(i))));
    EXPECT_FALSE(pool.Submit("a", record("a5"))) << "one address's queue is bounded";
    ASSERT_TRUE(
        pool.Submit("late", record("late"), WorkerPool::Clock::now() + std::chrono::hours(1)));
    ASSERT_TRUE(pool.Submit("b", record("b1")));
    letGo.done = true;
    release.set_value();
    {
        std::unique_lock lock(mutex);
        ASSERT_TRUE(
            ran.wait_for(lock, std::chrono::seconds(60), [&] { return order.size() == 5; }));
        EXPECT_EQ(order, (std::vector<std::string>{"a1", "a2", "b1", "a3", "a4"}));
    }
    // Finish runs what is queued at once, the job held back for an hour too.
    pool.Finish();
    EXPECT_EQ(order.back(), "late");
    EXPECT_FALSE(pool.Submit("c", record("c1")));
}

}  // namespace
