#pragma once
// A cap on attempts per client address per minute (sign-in lookups, registrations): a
// sliding window of the attempts of the last 60 seconds, kept in memory.

#include <QString>

#include <chrono>
#include <deque>
#include <functional>
#include <map>
#include <mutex>

namespace server {

class RateLimiter {
public:
    using Clock = std::function<std::chrono::steady_clock::time_point()>;

    // perMinute <= 0 means no limit.
    explicit RateLimiter(int perMinute, Clock clock = {});

    // Counts an attempt of the address and says whether it is within the limit. Refused
    // attempts are not counted, so a client that waits gets through again.
    bool Allow(const QString& address);

    int PerMinute() const { return perMinute_; }

private:
    const int perMinute_;
    const Clock clock_;
    std::mutex mutex_;
    std::map<QString, std::deque<std::chrono::steady_clock::time_point>> attempts_;
    int sinceSweep_ = 0;
};

}  // namespace server
