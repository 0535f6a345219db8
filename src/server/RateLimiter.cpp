#include "server/RateLimiter.h"

#include <QHostAddress>

#include <utility>

namespace server {
namespace {
// Keys with no recent attempt are forgotten every this many calls, so that the map stays as
// small as the set of recently active clients.
constexpr int kSweepEvery = 4096;
}  // namespace

RateLimiter::RateLimiter(int perWindow, Clock clock, std::chrono::seconds window)
    : perWindow_(perWindow),
      window_(window),
      clock_(clock ? std::move(clock) : Clock([] { return std::chrono::steady_clock::now(); })) {}

std::deque<std::chrono::steady_clock::time_point>& RateLimiter::Recent(const QString& key) {
    const auto now = clock_();
    if (++sinceSweep_ >= kSweepEvery) {
        sinceSweep_ = 0;
        std::erase_if(attempts_, [&](const auto& entry) {
            return entry.second.empty() || now - entry.second.back() >= window_;
        });
    }
    auto& times = attempts_[key];
    while (!times.empty() && now - times.front() >= window_)
        times.pop_front();
    return times;
}

bool RateLimiter::Allow(const QString& key) {
    if (perWindow_ <= 0)
        return true;
    std::lock_guard lock(mutex_);
    auto& times = Recent(key);
    if (static_cast<int>(times.size()) >= perWindow_)
        return false;
    times.push_back(clock_());
    return true;
}

bool RateLimiter::Exhausted(const QString& key) {
    if (perWindow_ <= 0)
        return false;
    std::lock_guard lock(mutex_);
    return static_cast<int>(Recent(key).size()) >= perWindow_;
}

void RateLimiter::Count(const QString& key) {
    if (perWindow_ <= 0)
        return;
    std::lock_guard lock(mutex_);
    Recent(key).push_back(clock_());
}

int RateLimiter::Attempts(const QString& key) {
    std::lock_guard lock(mutex_);
    return static_cast<int>(Recent(key).size());
}

void RateLimiter::Forget(const QString& key) {
    std::lock_guard lock(mutex_);
    attempts_.erase(key);
}

QHostAddress PlainAddress(const QHostAddress& address) {
    bool mapped = false;
    const quint32 v4 = address.toIPv4Address(&mapped);
    return mapped ? QHostAddress(v4) : address;
}

QString AddressKey(const QString& address) {
    const QHostAddress host(address);
    if (host.protocol() != QAbstractSocket::IPv6Protocol)
        return address;
    bool isV4 = false;
    const quint32 v4 = host.toIPv4Address(&isV4);
    if (isV4)
        return QHostAddress(v4).toString();
    Q_IPV6ADDR bytes = host.toIPv6Address();
    for (int i = 8; i < 16; ++i)
        bytes[i] = 0;
    return QHostAddress(bytes).toString() + QStringLiteral("/64");
}

}  // namespace server
