#include "server/ConnectionGuard.h"

#include "server/RateLimiter.h"

#include <sys/socket.h>

#include <algorithm>
#include <optional>
#include <utility>

namespace server {
namespace {

// How often the deadlines are checked: a deadline is met within this much.
constexpr std::chrono::milliseconds kSweepEvery{250};

}  // namespace

struct ConnectionGuard::Entry {
    int fd = -1;
    std::string key;  // the address's key; empty for an exempt proxy
    Phase phase = Phase::Head;
    Clock::time_point waitingSince;           // since when the connection waits for a head
    std::optional<Clock::time_point> lineAt;  // the request line of that head came
    Clock::time_point bodySince;
    qint64 bodyBytes = 0;
    Reason reason = Reason::None;
};

ConnectionGuard::ConnectionGuard(Limits limits, std::vector<QHostAddress> exempt,
                                 std::function<void(int)> closeSocket)
    : limits_(limits),
      softLimit_(std::max(1, limits.maxConnections - std::max(1, limits.maxConnections / 32))),
      exempt_([&] {
          for (QHostAddress& address : exempt)
              address = PlainAddress(address);
          return std::move(exempt);
      }()),
      closeSocket_(closeSocket ? std::move(closeSocket) : std::function<void(int)>([](int fd) {
          ::shutdown(fd, SHUT_RDWR);
      })) {}

ConnectionGuard::~ConnectionGuard() {
    Stop();
    for (Entry* entry : entries_)
        delete entry;
}

void ConnectionGuard::Start() {
    std::lock_guard lock(mutex_);
    if (sweeper_.joinable())
        return;
    stopping_ = false;
    sweeper_ = std::thread([this] {
        std::unique_lock lock(mutex_);
        while (!stopping_) {
            wake_.wait_for(lock, kSweepEvery);
            if (stopping_)
                break;
            lock.unlock();
            Sweep(Clock::now());
            lock.lock();
        }
    });
}

void ConnectionGuard::Stop() {
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    wake_.notify_all();
    if (sweeper_.joinable())
        sweeper_.join();
}

bool ConnectionGuard::IsTrustedProxy(const QString& peer) const {
    if (exempt_.empty())
        return false;
    const QHostAddress address = PlainAddress(QHostAddress(peer));
    return std::find(exempt_.begin(), exempt_.end(), address) != exempt_.end();
}

ConnectionGuard::Entry* ConnectionGuard::Open(int fd, const QString& peer) {
    auto* entry = new Entry;
    entry->fd = fd;
    entry->waitingSince = Clock::now();
    if (!IsTrustedProxy(peer))
        entry->key = AddressKey(peer).toStdString();
    std::lock_guard lock(mutex_);
    entries_.insert(entry);
    if (!entry->key.empty() && ++perAddress_[entry->key] > limits_.perAddress) {
        CloseLocked(entry, Reason::AddressFull);
        return entry;
    }
    MakeRoomLocked();
    // Every connection busy with a request and the slots all taken: the newcomer goes.
    if (static_cast<int>(entries_.size()) - closing_ > limits_.maxConnections)
        CloseLocked(entry, Reason::SlotsShort);
    return entry;
}

void ConnectionGuard::Close(Entry* entry) {
    if (!entry)
        return;
    std::lock_guard lock(mutex_);
    if (entries_.erase(entry) == 0)
        return;
    if (!entry->key.empty()) {
        const auto it = perAddress_.find(entry->key);
        if (it != perAddress_.end() && --it->second <= 0)
            perAddress_.erase(it);
    }
    if (entry->reason != Reason::None)
        --closing_;
    delete entry;
}

void ConnectionGuard::RequestLineIn(Entry* entry) {
    std::lock_guard lock(mutex_);
    entry->lineAt = Clock::now();
}

void ConnectionGuard::SetPhase(Entry* entry, Phase phase) {
    const auto now = Clock::now();
    std::lock_guard lock(mutex_);
    if (phase == Phase::Head) {
        entry->waitingSince = now;
        entry->lineAt.reset();
    } else if (phase == Phase::Body) {
        entry->bodySince = now;
        entry->bodyBytes = 0;
    }
    // A refused body keeps its clock: it is the same body, still to be read.
    entry->phase = phase;
}

void ConnectionGuard::BodyArrived(Entry* entry, qint64 bytes) {
    std::lock_guard lock(mutex_);
    entry->bodyBytes += bytes;
}

ConnectionGuard::Reason ConnectionGuard::ClosedFor(const Entry* entry) const {
    std::lock_guard lock(mutex_);
    return entry ? entry->reason : Reason::None;
}

int ConnectionGuard::OpenConnections() const {
    std::lock_guard lock(mutex_);
    return static_cast<int>(entries_.size());
}

ConnectionGuard::Clock::time_point ConnectionGuard::HeadDeadline(const Entry& entry) const {
    auto deadline = entry.waitingSince + limits_.readTimeout + limits_.headTimeout;
    if (entry.lineAt)
        deadline = std::min(deadline, *entry.lineAt + limits_.headTimeout);
    return deadline;
}

void ConnectionGuard::Sweep(Clock::time_point now) {
    std::lock_guard lock(mutex_);
    for (Entry* entry : entries_) {
        if (entry->reason != Reason::None)
            continue;
        if (entry->phase == Phase::Head && now > HeadDeadline(*entry)) {
            CloseLocked(entry, Reason::HeadTooSlow);
        } else if ((entry->phase == Phase::Body || entry->phase == Phase::Refused) &&
                   limits_.minBodyRate > 0) {
            const auto late = now - entry->bodySince - limits_.headTimeout;
            const double seconds = std::chrono::duration<double>(late).count();
            if (seconds > 0 && double(entry->bodyBytes) < seconds * double(limits_.minBodyRate))
                CloseLocked(entry, Reason::BodyTooSlow);
        }
    }
}

void ConnectionGuard::CloseLocked(Entry* entry, Reason reason) {
    if (entry->reason != Reason::None)
        return;
    entry->reason = reason;
    ++closing_;
    closeSocket_(entry->fd);
}

void ConnectionGuard::MakeRoomLocked() {
    while (static_cast<int>(entries_.size()) - closing_ > softLimit_) {
        // A refused body goes first, then the head that has waited longest.
        Entry* oldest = nullptr;
        for (Entry* entry : entries_) {
            if (entry->reason != Reason::None)
                continue;
            const bool refused = entry->phase == Phase::Refused;
            if (!refused && entry->phase != Phase::Head)
                continue;
            if (!oldest) {
                oldest = entry;
                continue;
            }
            const bool oldestRefused = oldest->phase == Phase::Refused;
            if (refused != oldestRefused) {
                if (refused)
                    oldest = entry;
                continue;
            }
            const auto since = [](const Entry* e) {
                return e->phase == Phase::Refused ? e->bodySince : e->waitingSince;
            };
            if (since(entry) < since(oldest))
                oldest = entry;
        }
        if (!oldest)
            return;  // every connection is busy with a request
        CloseLocked(oldest, Reason::SlotsShort);
    }
}

}  // namespace server
