#include "Swarm.h"

#include <arpa/inet.h>
#include <netinet/tcp.h>
#include <sys/epoll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstring>

namespace attacks {
namespace {

// What a connection keeps of the service's first response.
constexpr size_t kResponseKept = 64 * 1024;
// At most this much of an opening goes out per writable event, so that one connection with a
// big body does not hold up the others in the same loop turn.
constexpr size_t kSendSlice = 256 * 1024;
// The loop looks at its clock at least this often (timeouts, drips, the stop flag).
constexpr int kTickMs = 50;

}  // namespace

struct Swarm::Link {
    int fd = -1;
    bool open = false;        // socket made and connect() called
    bool up = false;          // connected
    bool done = false;        // finished, socket closed
    bool writeWatch = false;  // EPOLLOUT is in the interest set
    size_t openingSent = 0;   // of head + body
    size_t dripSent = 0;
    Clock::time_point nextDrip;
    Clock::time_point startedAt;
};

Swarm::Swarm(sockaddr_in service) : service_(service), epoll_(epoll_create1(EPOLL_CLOEXEC)) {}

Swarm::~Swarm() {
    for (Link& link : links_) {
        if (link.fd >= 0)
            ::close(link.fd);
    }
    if (epoll_ >= 0)
        ::close(epoll_);
}

size_t Swarm::Add(Plan plan) {
    plans_.push_back(std::move(plan));
    outcomes_.emplace_back();
    links_.emplace_back();
    return plans_.size() - 1;
}

Milliseconds Swarm::Since(Clock::time_point now) const {
    return std::chrono::duration_cast<Milliseconds>(now - start_);
}

void Swarm::Run(Clock::time_point start, Clock::time_point end, const std::atomic<bool>* stop) {
    start_ = start;
    // Connections in the order they start.
    std::vector<size_t> order(plans_.size());
    for (size_t i = 0; i < order.size(); ++i)
        order[i] = i;
    std::stable_sort(order.begin(), order.end(), [this](size_t a, size_t b) {
        return plans_[a].startAfter < plans_[b].startAfter;
    });
    size_t nextStart = 0;
    size_t unfinished = plans_.size();
    std::vector<epoll_event> events(1024);

    while (true) {
        Clock::time_point now = Clock::now();
        if (now >= end || (stop && stop->load()))
            break;
        while (nextStart < order.size() && start + plans_[order[nextStart]].startAfter <= now) {
            Open(order[nextStart++], now);
        }
        // Drips and timeouts that are due, and the time until the next one.
        Clock::time_point wake = std::min(end, now + std::chrono::milliseconds(kTickMs));
        if (nextStart < order.size())
            wake = std::min(wake, start + plans_[order[nextStart]].startAfter);
        unfinished = 0;
        for (size_t i = 0; i < links_.size(); ++i) {
            Link& link = links_[i];
            if (link.done)
                continue;
            ++unfinished;
            if (!link.open)
                continue;
            const Plan& plan = plans_[i];
            if (plan.timeout.count() > 0 && now - link.startedAt >= plan.timeout) {
                outcomes_[i].timedOut = true;
                Finish(i);
                continue;
            }
            if (link.up && link.openingSent == plan.head.size() + plan.body.size() &&
                link.dripSent < plan.drip.size()) {
                if (link.nextDrip <= now)
                    Drip(i, now);
                wake = std::min(wake, link.nextDrip);
            }
        }
        if (unfinished == 0 && nextStart == order.size())
            break;
        const int waitMs = static_cast<int>(std::max<long long>(
            0, std::chrono::duration_cast<std::chrono::milliseconds>(wake - Clock::now()).count()));
        const int n = epoll_wait(epoll_, events.data(), int(events.size()), waitMs);
        now = Clock::now();
        for (int e = 0; e < n; ++e)
            OnEvent(events[size_t(e)].data.u64, events[size_t(e)].events, now);
    }
    for (size_t i = 0; i < links_.size(); ++i) {
        if (links_[i].open && !links_[i].done) {
            outcomes_[i].openAtEnd = true;
            Finish(i);
        }
    }
}

void Swarm::Open(size_t index, Clock::time_point now) {
    Link& link = links_[index];
    Outcome& outcome = outcomes_[index];
    link.open = true;
    link.startedAt = now;
    outcome.started = Since(now);
    link.fd = ::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (link.fd < 0) {
        outcome.connectError = errno;
        link.done = true;
        return;
    }
    // The port is chosen at connect(), per destination: a thousand sockets on one source
    // address do not run out of ports at bind().
    const int on = 1;
    setsockopt(link.fd, IPPROTO_IP, IP_BIND_ADDRESS_NO_PORT, &on, sizeof on);
    setsockopt(link.fd, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
    sockaddr_in local{};
    local.sin_family = AF_INET;
    if (inet_pton(AF_INET, plans_[index].source.c_str(), &local.sin_addr) != 1 ||
        ::bind(link.fd, reinterpret_cast<sockaddr*>(&local), sizeof local) != 0) {
        outcome.connectError = errno ? errno : EINVAL;
        Finish(index);
        return;
    }
    if (::connect(link.fd, reinterpret_cast<const sockaddr*>(&service_), sizeof service_) != 0 &&
        errno != EINPROGRESS) {
        outcome.connectError = errno;
        Finish(index);
        return;
    }
    epoll_event event{};
    event.events = EPOLLIN | EPOLLOUT | EPOLLRDHUP;
    event.data.u64 = index;
    epoll_ctl(epoll_, EPOLL_CTL_ADD, link.fd, &event);
    link.writeWatch = true;
}

void Swarm::Watch(size_t index, bool writable) {
    Link& link = links_[index];
    if (link.writeWatch == writable)
        return;
    epoll_event event{};
    event.events = EPOLLIN | EPOLLRDHUP | (writable ? EPOLLOUT : 0u);
    event.data.u64 = index;
    epoll_ctl(epoll_, EPOLL_CTL_MOD, link.fd, &event);
    link.writeWatch = writable;
}

void Swarm::OnEvent(size_t index, unsigned events, Clock::time_point now) {
    Link& link = links_[index];
    Outcome& outcome = outcomes_[index];
    if (link.done)
        return;
    if (!link.up) {
        int error = 0;
        socklen_t length = sizeof error;
        getsockopt(link.fd, SOL_SOCKET, SO_ERROR, &error, &length);
        if (error != 0 || (events & (EPOLLERR | EPOLLHUP) && !(events & EPOLLOUT))) {
            outcome.connectError = error ? error : ECONNREFUSED;
            Finish(index);
            return;
        }
        if (!(events & EPOLLOUT))
            return;
        link.up = true;
        outcome.connected = Since(now);
    }
    // Read first: a service that answers and closes while we still send leaves its answer in
    // the receive queue, and a reset would discard it.
    if (events & (EPOLLIN | EPOLLRDHUP | EPOLLHUP | EPOLLERR))
        Receive(index, now);
    if (!link.done && (events & EPOLLOUT))
        SendOpening(index, now);
}

void Swarm::Receive(size_t index, Clock::time_point now) {
    Link& link = links_[index];
    Outcome& outcome = outcomes_[index];
    char buffer[65536];
    while (!link.done) {
        const ssize_t n = ::recv(link.fd, buffer, sizeof buffer, 0);
        if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK))
            return;
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            outcome.reset = n < 0;
            outcome.closed = Since(now);
            Finish(index);
            return;
        }
        if (outcome.answered)
            continue;  // later responses are not looked at
        outcome.response.append(
            buffer,
            std::min(size_t(n), kResponseKept - std::min(kResponseKept, outcome.response.size())));
        const size_t blank = outcome.response.find("\r\n\r\n");
        if (blank == std::string::npos)
            continue;
        if (!outcome.head) {
            outcome.head = Since(now);
            outcome.status = StatusOf(outcome.response);
        }
        size_t length = 0;
        const std::string_view head(outcome.response.data(), blank);
        for (const char* name : {"\r\nContent-Length:", "\r\ncontent-length:"}) {
            const size_t at = head.find(name);
            if (at == std::string_view::npos)
                continue;
            size_t from = at + std::strlen(name);
            while (from < head.size() && head[from] == ' ')
                ++from;
            std::from_chars(head.data() + from, head.data() + head.size(), length);
        }
        if (outcome.response.size() >= blank + 4 + length ||
            outcome.response.size() >= kResponseKept) {
            outcome.response.resize(std::min(outcome.response.size(), blank + 4 + length));
            outcome.answered = Since(now);
            if (plans_[index].untilAnswer) {
                Finish(index);
                return;
            }
        }
    }
}

void Swarm::SendOpening(size_t index, Clock::time_point now) {
    Link& link = links_[index];
    Outcome& outcome = outcomes_[index];
    const Plan& plan = plans_[index];
    const size_t total = plan.head.size() + plan.body.size();
    size_t budget = kSendSlice;
    while (link.openingSent < total && budget > 0) {
        const bool inHead = link.openingSent < plan.head.size();
        const char* from = inHead ? plan.head.data() + link.openingSent
                                  : plan.body.data() + (link.openingSent - plan.head.size());
        const size_t left = inHead ? plan.head.size() - link.openingSent : total - link.openingSent;
        const ssize_t n = ::send(link.fd, from, std::min(left, budget), MSG_NOSIGNAL);
        if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK))
            break;
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            Cut(index, now);
            return;
        }
        link.openingSent += size_t(n);
        outcome.sent += n;
        budget -= std::min(budget, size_t(n));
    }
    if (link.openingSent == total) {
        Watch(index, false);
        link.nextDrip = now + plan.dripInterval;
    }
}

// The service is gone from this connection (a send failed); what it said before is still to
// read.
void Swarm::Cut(size_t index, Clock::time_point now) {
    Receive(index, now);
    if (!links_[index].done) {
        outcomes_[index].reset = true;
        outcomes_[index].closed = Since(now);
        Finish(index);
    }
}

void Swarm::Drip(size_t index, Clock::time_point now) {
    Link& link = links_[index];
    Outcome& outcome = outcomes_[index];
    const Plan& plan = plans_[index];
    const ssize_t n = ::send(link.fd, plan.drip.data() + link.dripSent, 1, MSG_NOSIGNAL);
    if (n == 1) {
        ++link.dripSent;
        ++outcome.sent;
    } else if (n < 0 && errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR) {
        Cut(index, now);
        return;
    }
    link.nextDrip = now + plan.dripInterval;
}

void Swarm::Finish(size_t index) {
    Link& link = links_[index];
    if (link.fd >= 0) {
        epoll_ctl(epoll_, EPOLL_CTL_DEL, link.fd, nullptr);
        ::close(link.fd);
        link.fd = -1;
    }
    link.done = true;
}

int StatusOf(std::string_view response) {
    if (response.size() < 12 || response.substr(0, 5) != "HTTP/")
        return 0;
    const size_t space = response.find(' ');
    if (space == std::string_view::npos || space + 4 > response.size())
        return 0;
    int status = 0;
    std::from_chars(response.data() + space + 1, response.data() + space + 4, status);
    return status;
}

std::string_view BodyOf(std::string_view response) {
    const size_t blank = response.find("\r\n\r\n");
    return blank == std::string_view::npos ? std::string_view() : response.substr(blank + 4);
}

}  // namespace attacks
