#include "RateLimiter.h"

#include <utility>

namespace server {
namespace {
constexpr std::chrono::seconds kWindow{60};
// Addresses with no recent attempt are forgotten every this many calls, so that the map stays
// as small as the set of recently active clients.
constexpr int kSweepEvery = 4096;
}  // namespace

RateLimiter::RateLimiter(int perMinute, Clock clock)
    : perMinute_(perMinute),
      clock_(clock ? std::move(clock) : Clock([] { return std::chrono::steady_clock::now(); })) {}

bool RateLimiter::Allow(const QString& address) {
    if (perMinute_ <= 0)
        return true;
    const auto now = clock_();
    std::lock_guard lock(mutex_);
    if (++sinceSweep_ >= kSweepEvery) {
        sinceSweep_ = 0;
        std::erase_if(attempts_, [&](const auto& entry) {
            return entry.second.empty() || now - entry.second.back() >= kWindow;
        });
    }
    auto& times = attempts_[address];
    while (!times.empty() && now - times.front() >= kWindow)
        times.pop_front();
    if (static_cast<int>(times.size()) >= perMinute_)
        return false;
    times.push_back(now);
    return true;
}

}  // namespace server
