#include "server/SignInGuard.h"

#include <algorithm>
#include <climits>
#include <utility>

namespace server {
namespace {

// Below this many failures of an account no attempt waits: the owner's own slips.
constexpr int kFreeFailures = 10;
constexpr std::chrono::milliseconds kFirstSpacing{250};
constexpr std::chrono::milliseconds kLongestSpacing{30000};
// The spacing doubles with every this many further failures.
constexpr int kFailuresPerDoubling = 5;

RateLimiter::Clock SteadyOr(RateLimiter::Clock clock) {
    return clock ? std::move(clock)
                 : RateLimiter::Clock([] { return std::chrono::steady_clock::now(); });
}

}  // namespace

SignInGuard::SignInGuard(int perAddress, RateLimiter::Clock clock)
    : perAddress_(perAddress),
      clock_(SteadyOr(std::move(clock))),
      byAddress_(perAddress, clock_, std::chrono::hours(1)),
      byAccount_(perAddress > 0 ? INT_MAX : 0, clock_, std::chrono::minutes(15)) {}

SignInGuard::TimePoint SignInGuard::Now() const {
    return clock_();
}

QString SignInGuard::PairKey(const QString& account, const QString& addressKey) {
    return account + QLatin1Char('|') + addressKey;
}

std::chrono::milliseconds SignInGuard::Spacing(int failures) {
    if (failures < kFreeFailures)
        return std::chrono::milliseconds(0);
    const int doublings = std::min(16, (failures - kFreeFailures) / kFailuresPerDoubling);
    return std::min(kLongestSpacing, kFirstSpacing * (1 << doublings));
}

bool SignInGuard::Allowed(const QString& account, const QString& addressKey) {
    return perAddress_ <= 0 || !byAddress_.Exhausted(PairKey(account, addressKey));
}

std::optional<SignInGuard::TimePoint> SignInGuard::Turn(const QString& account,
                                                        const QString& addressKey) {
    const TimePoint now = Now();
    if (perAddress_ <= 0 || byAddress_.Attempts(PairKey(account, addressKey)) == 0)
        return now;
    const auto spacing = Spacing(byAccount_.Attempts(account));
    std::lock_guard lock(mutex_);
    // Turns long past are forgotten now and then, so that the table stays as small as the
    // set of accounts under attack.
    if (nextTurn_.size() > 4096) {
        for (auto it = nextTurn_.begin(); it != nextTurn_.end();)
            it = it.value() < now ? nextTurn_.erase(it) : std::next(it);
    }
    auto it = nextTurn_.find(account);
    const TimePoint turn = it == nextTurn_.end() ? now : std::max(now, it.value());
    if (turn - now > kLongestWait)
        return std::nullopt;
    nextTurn_[account] = turn + spacing;
    return turn;
}

void SignInGuard::Failed(const QString& account, const QString& addressKey) {
    if (perAddress_ <= 0)
        return;
    byAddress_.Count(PairKey(account, addressKey));
    byAccount_.Count(account);
}

void SignInGuard::Succeeded(const QString& account, const QString& addressKey) {
    if (perAddress_ > 0)
        byAddress_.Forget(PairKey(account, addressKey));
}

}  // namespace server
