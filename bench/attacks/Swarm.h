#pragma once
// Swarm: many plain TCP connections to the service at once, each bound to a loopback source
// address of its own (all of 127.0.0.0/8 is this machine), so that one process is many
// clients. One epoll loop drives them all, so a thousand sockets cost a thousand file
// descriptors and little else.
//
// A connection follows a Plan: it connects at its start time, sends its head and then its
// body as fast as the service takes them, then sends one byte of its drip every interval, and
// records what the service did with it (Outcome): when it connected, the status and time of
// the first whole response, when the service closed or reset it. Bodies are views of buffers
// the caller keeps, so a thousand connections that send the same 8 MB share one copy.
//
//   Swarm swarm(service.Address());
//   swarm.Add({.source = "127.0.1.1", .head = head, .body = body});
//   swarm.Run(start, start + 40s, &stop);
//   for (const Outcome& o : swarm.Outcomes()) ...

#include <netinet/in.h>

#include <atomic>
#include <chrono>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace attacks {

using Clock = std::chrono::steady_clock;
using Milliseconds = std::chrono::duration<double, std::milli>;

struct Plan {
    std::string source;     // dotted loopback address the socket is bound to
    std::string head;       // sent first
    std::string_view body;  // sent right after the head; the caller keeps the bytes
    std::string_view drip;  // then one byte of this every dripInterval, after the body
    std::chrono::milliseconds dripInterval{5000};
    std::chrono::milliseconds startAfter{0};  // from the start of the run
    std::chrono::milliseconds timeout{0};     // given up after this long; 0: until the run ends
    bool untilAnswer = false;                 // closed by us once a whole response is in
};

struct Outcome {
    // Times are from the start of the run.
    Milliseconds started{0};  // connect() called
    std::optional<Milliseconds> connected;
    int connectError = 0;                  // errno of a connection that never came up
    std::optional<Milliseconds> head;      // first response head complete
    std::optional<Milliseconds> answered;  // first whole response (head and Content-Length)
    int status = 0;                        // of the first response; 0: none
    std::string response;                  // the first response, up to 64 KB
    std::optional<Milliseconds> closed;    // the service closed (FIN) or reset it
    bool reset = false;                    // the close was a reset (or a failed send)
    bool timedOut = false;                 // gave up after the plan's timeout
    bool openAtEnd = false;                // still open when the run ended
    long long sent = 0;                    // bytes the service took

    bool Finished() const { return closed || timedOut || connectError; }
};

class Swarm {
public:
    explicit Swarm(sockaddr_in service);
    ~Swarm();
    Swarm(const Swarm&) = delete;
    Swarm& operator=(const Swarm&) = delete;

    // Before Run only. Returns the index of the connection's outcome.
    size_t Add(Plan plan);

    // Drives every connection until each is finished (answered, closed or timed out) or until
    // `end`, or until *stop becomes true; connections still open then are closed by us.
    void Run(Clock::time_point start, Clock::time_point end, const std::atomic<bool>* stop);

    const std::vector<Outcome>& Outcomes() const { return outcomes_; }
    const std::vector<Plan>& Plans() const { return plans_; }

private:
    struct Link;
    void Open(size_t index, Clock::time_point now);
    void OnEvent(size_t index, unsigned events, Clock::time_point now);
    void Receive(size_t index, Clock::time_point now);
    void SendOpening(size_t index, Clock::time_point now);
    void Drip(size_t index, Clock::time_point now);
    void Cut(size_t index, Clock::time_point now);
    void Finish(size_t index);
    void Watch(size_t index, bool writable);
    Milliseconds Since(Clock::time_point now) const;

    sockaddr_in service_;
    int epoll_ = -1;
    Clock::time_point start_;
    std::vector<Plan> plans_;
    std::vector<Outcome> outcomes_;
    std::vector<Link> links_;
};

// The status code of an HTTP response head, 0 when the text is not one.
int StatusOf(std::string_view response);
// The body of a whole response (after the blank line), empty when there is none.
std::string_view BodyOf(std::string_view response);

}  // namespace attacks
