#pragma once
// Published pages kept in memory as ready answers, so that a visit costs one small read of the
// database (the page's version) and no copy of the page.
//
// A kept answer is only ever used for the version it was made from: the store gives every
// write of a page a new version, so an upload, a rename or a removal by this service, another
// instance or an operator command is seen on the next visit. What is kept is bounded by its
// size; the answers kept longest go first.
//
// The answer is whatever the caller makes of the page (the HTTP layer: its response object);
// the cache holds it through a shared pointer, so that an answer being sent outlives its
// eviction.

#include <QByteArray>
#include <QHash>
#include <QString>

#include <cstddef>
#include <deque>
#include <memory>
#include <mutex>
#include <utility>

namespace server {

template <typename Answer>
class PageCache {
public:
    explicit PageCache(std::size_t limitBytes) : limit_(limitBytes) {}

    // The kept answer of the page under the name at this version, or null.
    std::shared_ptr<Answer> Find(const QString& name, qint64 version) {
        std::lock_guard lock(mutex_);
        const auto it = entries_.constFind(name);
        if (it == entries_.constEnd() || it->version != version)
            return nullptr;
        return it->answer;
    }

    // Keeps the answer of the page under the name at this version, in place of an older one.
    void Keep(const QString& name, qint64 version, std::shared_ptr<Answer> answer,
              std::size_t bytes) {
        if (bytes > limit_)
            return;
        std::lock_guard lock(mutex_);
        Drop(name);
        while (total_ + bytes > limit_ && !order_.empty()) {
            const auto [oldest, stamp] = order_.front();
            order_.pop_front();
            const auto it = entries_.constFind(oldest);
            if (it != entries_.constEnd() && it->stamp == stamp)
                Drop(oldest);
        }
        entries_.insert(name, Entry{version, std::move(answer), bytes, ++stamps_});
        order_.emplace_back(name, stamps_);
        total_ += bytes;
        // Places of answers replaced or forgotten stay in the order until they come to its
        // front; when they outnumber the kept ones, the order is made again without them.
        if (order_.size() > 2 * static_cast<std::size_t>(entries_.size()) + 16) {
            std::erase_if(order_, [this](const auto& place) {
                const auto it = entries_.constFind(place.first);
                return it == entries_.constEnd() || it->stamp != place.second;
            });
        }
    }

    // Forgets the page under the name (it is gone).
    void Forget(const QString& name) {
        std::lock_guard lock(mutex_);
        Drop(name);
    }

    std::size_t Bytes() const {
        std::lock_guard lock(mutex_);
        return total_;
    }

private:
    struct Entry {
        qint64 version = 0;
        std::shared_ptr<Answer> answer;
        std::size_t bytes = 0;
        quint64 stamp = 0;  // when it was kept: its place in the order
    };

    void Drop(const QString& name) {
        const auto it = entries_.find(name);
        if (it == entries_.end())
            return;
        total_ -= it->bytes;
        entries_.erase(it);
    }

    const std::size_t limit_;
    mutable std::mutex mutex_;
    QHash<QString, Entry> entries_;
    std::deque<std::pair<QString, quint64>> order_;  // oldest first
    std::size_t total_ = 0;
    quint64 stamps_ = 0;
};

}  // namespace server
