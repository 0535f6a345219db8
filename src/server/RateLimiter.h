#pragma once
// A cap on attempts per key in a sliding window kept in memory: per client address per minute
// (sign-in lookups, registrations, lookups), per account per quarter of an hour (failed
// sign-ins). Keys of client addresses go through AddressKey.

#include <QHostAddress>
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

    // perWindow <= 0 means no limit.
    explicit RateLimiter(int perWindow, Clock clock = {},
                         std::chrono::seconds window = std::chrono::seconds(60));

    // Counts an attempt of the key and says whether it is within the limit. Refused attempts
    // are not counted, so a client that waits gets through again.
    bool Allow(const QString& key);
    // Whether the key has used up its attempts, without counting one; and counting one (a
    // failure that only counts once it has happened).
    bool Exhausted(const QString& key);
    void Count(const QString& key);
    // The key's attempts within the window.
    int Attempts(const QString& key);
    // Forgets the key's attempts.
    void Forget(const QString& key);

    int PerWindow() const { return perWindow_; }

private:
    // The key's attempts within the window, older ones dropped. Called with the lock held.
    std::deque<std::chrono::steady_clock::time_point>& Recent(const QString& key);

    const int perWindow_;
    const std::chrono::seconds window_;
    const Clock clock_;
    std::mutex mutex_;
    std::map<QString, std::deque<std::chrono::steady_clock::time_point>> attempts_;
    int sinceSweep_ = 0;
};

// An IPv4 address written as IPv6 (::ffff:a.b.c.d) as the IPv4 address it is; others as they
// are.
QHostAddress PlainAddress(const QHostAddress& address);

// The key of a client address: an IPv4 address as it is, an IPv6 address by its /64 (one
// household or one machine usually holds a whole /64).
QString AddressKey(const QString& address);

}  // namespace server
