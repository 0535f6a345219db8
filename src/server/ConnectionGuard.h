#pragma once
// Who may hold the service's connections, and for how long, whatever the number of addresses
// an attacker has.
//
//   - Each client address holds at most `perAddress` connections (an IPv6 address by its /64);
//     a reverse proxy of the trusted list is exempt: it carries every user (it limits per
//     client itself).
//   - A request head must be whole within `headTimeout` of its first byte. The library's own
//     time-out restarts with every byte, so without this a head sent a byte at a time would
//     hold its connection forever. The first byte itself is not seen here: a head is given
//     `headTimeout` from its request line, and never more than `readTimeout + headTimeout`
//     from the moment the connection began to wait for it (the first byte must come within
//     the read time-out, or the library closes the connection).
//   - A body, once its head is in, must keep up `minBodyRate` bytes a second after a grace of
//     `headTimeout`.
//   - At most `maxConnections` are open. When the slots run short, the oldest connections that
//     hold no request worth keeping (a refused body still being read, a head not yet whole, an
//     idle kept-alive connection) are closed first, so that new clients are not turned away;
//     only when every connection is busy with a request is a newcomer turned away.
//
// The guard closes a connection by shutting its socket down; the library then sees the end of
// it and closes it as it would any other. A thread of the guard checks the deadlines a few
// times a second.

#include <QHostAddress>
#include <QString>

#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <unordered_map>
#include <unordered_set>
#include <vector>

namespace server {

class ConnectionGuard {
public:
    using Clock = std::chrono::steady_clock;

    struct Limits {
        int maxConnections = 1000;
        int perAddress = 64;
        std::chrono::seconds readTimeout{10};
        std::chrono::seconds headTimeout{10};
        qint64 minBodyRate = 16 * 1024;  // bytes a second; 0: none
    };

    // What a connection is doing, as far as its deadlines go.
    enum class Phase {
        Head,       // waiting for a request head (a new or kept-alive connection)
        Body,       // reading a body
        Refused,    // reading a refused body to drop it before the refusal is sent
        Answering,  // the request is in; its answer is being made or sent
    };

    // Why the guard closed a connection.
    enum class Reason { None, AddressFull, HeadTooSlow, BodyTooSlow, SlotsShort };

    struct Entry;

    // exempt: the trusted proxies. closeSocket: how a connection is closed (tests replace
    // it); shutdown(fd) otherwise.
    ConnectionGuard(Limits limits, std::vector<QHostAddress> exempt,
                    std::function<void(int)> closeSocket = {});
    ~ConnectionGuard();
    ConnectionGuard(const ConnectionGuard&) = delete;
    ConnectionGuard& operator=(const ConnectionGuard&) = delete;

    // Starts and stops the thread that checks the deadlines.
    void Start();
    void Stop();

    // A connection accepted from the peer's address. It is closed at once when its address
    // holds its share already; other connections may be closed to make room.
    Entry* Open(int fd, const QString& peer);
    // The connection has ended; the entry goes.
    void Close(Entry* entry);

    void RequestLineIn(Entry* entry);
    void SetPhase(Entry* entry, Phase phase);
    void BodyArrived(Entry* entry, qint64 bytes);
    Reason ClosedFor(const Entry* entry) const;

    // Checks every deadline at this moment (the guard's thread does, a few times a second).
    void Sweep(Clock::time_point now);

    int OpenConnections() const;
    // Whether the address is one of the trusted proxies (exempt from the share per address).
    bool IsTrustedProxy(const QString& peer) const;

private:
    void CloseLocked(Entry* entry, Reason reason);
    void MakeRoomLocked();
    Clock::time_point HeadDeadline(const Entry& entry) const;

    const Limits limits_;
    const int softLimit_;  // more than this, and the oldest evictable connections go
    const std::vector<QHostAddress> exempt_;
    const std::function<void(int)> closeSocket_;

    mutable std::mutex mutex_;
    std::unordered_set<Entry*> entries_;
    std::unordered_map<std::string, int> perAddress_;
    int closing_ = 0;  // closed by the guard, not yet ended

    std::condition_variable wake_;
    bool stopping_ = false;
    std::thread sweeper_;
};

}  // namespace server
