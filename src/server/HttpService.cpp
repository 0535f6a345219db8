#include "server/HttpService.h"

#include "common/GatewayProtocol.h"
#include "server/BodyBudget.h"
#include "server/ConnectionGuard.h"
#include "server/HttpHead.h"
#include "server/PageCache.h"
#include "server/RateLimiter.h"
#include "server/RequestBody.h"
#include "server/WorkerPool.h"

#include <QHostAddress>

#include <microhttpd.h>

#if defined(__GLIBC__)
#include <malloc.h>
#endif

#include <arpa/inet.h>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <cstring>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

namespace server {
namespace {

using SteadyClock = std::chrono::steady_clock;

// The service's own pages: address -> file of the site folder.
struct SitePage {
    const char* path;
    const char* file;
};
constexpr SitePage kSitePages[] = {
    {"/", "index.html"},    {"/download", "download.html"}, {"/support", "support.html"},
    {"/shop", "shop.html"}, {"/shop/kefu", "kefu.html"},    {"/favicon.ico", "static/favicon.png"},
};
// Folders of the site served file by file.
constexpr const char* kSiteFolders[] = {"static", "adverts", "biaobai"};

// What the layer keeps of a connection for the whole time it is open: who is at the other
// end, and the request line that has arrived but not yet reached a route (so that a request
// the library refuses by itself is logged too).
struct Link {
    QString peer;    // the address the connection comes from
    QString client;  // whom the request is for: the peer, or whom a trusted proxy names
    QString method;
    std::string target;
    SteadyClock::time_point start;
    bool waiting = false;
    bool answered = false;                    // a reply to the current request was queued
    ConnectionGuard::Entry* guard = nullptr;  // its deadlines and its share of the slots
};

// One request on its way through the layer: the body as it arrives, and the gateway's reply
// when the work ran on the worker pool.
struct Exchange {
    std::string body;
    BodyBudget::Hold held;  // the body's share of the budget, given back when the request ends
    bool refused = false;   // answered before the body was in
    // Refused before its body was read (over the size limit, or the budget full): the rest of
    // the body is read and dropped, so that the client, which sends it before it reads, gets
    // the refusal rather than a connection cut under it.
    bool draining = false;
    bool busy = false;  // refused for the budget: 503, else 413
    qint64 drained = 0;
    std::optional<PreparedRequest> prepared;  // waiting for its turn on the hashing threads
    std::optional<GatewayReply> reply;
    bool working = false;  // suspended while a worker prepares the reply
    bool big = false;      // counted among the big bodies in flight
};

// A body without a declared length takes its share of the budget in steps of this much.
constexpr qint64 kBudgetStep = 64 * 1024;
// Sign-ins and registrations of one client address waiting to be hashed; more are BUSY.
constexpr int kHashesQueuedPerAddress = 16;
// What a refusal for a full budget asks the client to wait before it tries again.
constexpr char kRetryAfterSeconds[] = "5";

// A body this large is counted while it is in flight: when the last one is done, the memory
// of the burst goes back to the system instead of staying with the allocator.
constexpr size_t kBigBodyBytes = size_t{1} << 20;

// A reply of the service, before it becomes the library's response.
// A published page's response object, shared by every connection it is sent on; the library
// counts its users, and frees it when the last one is done and the cache let it go.
struct PageAnswer {
    explicit PageAnswer(MHD_Response* r) : response(r) {}
    ~PageAnswer() { MHD_destroy_response(response); }
    PageAnswer(const PageAnswer&) = delete;
    PageAnswer& operator=(const PageAnswer&) = delete;

    MHD_Response* response;
    std::string etag;
};

// Published pages kept in memory, at most this many bytes of them.
constexpr std::size_t kPageCacheBytes = std::size_t{64} << 20;

struct Answer {
    int status = 200;
    QByteArray body;
    std::string contentType;
    std::vector<std::pair<std::string, std::string>> headers;
};

void ReturnFreeMemory() {
#if defined(__GLIBC__)
    malloc_trim(0);
#endif
}

QString ClientAddress(MHD_Connection* connection) {
    const MHD_ConnectionInfo* info =
        MHD_get_connection_info(connection, MHD_CONNECTION_INFO_CLIENT_ADDRESS);
    if (!info || !info->client_addr)
        return QString();
    char text[INET6_ADDRSTRLEN] = {};
    const sockaddr* address = info->client_addr;
    if (address->sa_family == AF_INET) {
        inet_ntop(AF_INET, &reinterpret_cast<const sockaddr_in*>(address)->sin_addr, text,
                  sizeof text);
    } else if (address->sa_family == AF_INET6) {
        inet_ntop(AF_INET6, &reinterpret_cast<const sockaddr_in6*>(address)->sin6_addr, text,
                  sizeof text);
    }
    return QString::fromLatin1(text);
}

Link* LinkOf(MHD_Connection* connection) {
    const MHD_ConnectionInfo* info =
        MHD_get_connection_info(connection, MHD_CONNECTION_INFO_SOCKET_CONTEXT);
    return info ? static_cast<Link*>(info->socket_context) : nullptr;
}

std::vector<QHostAddress> TrustedProxies(const ServeOptions& options) {
    std::vector<QHostAddress> proxies;
    for (const QString& proxy : options.trustedProxies)
        proxies.push_back(QHostAddress(proxy));
    return proxies;
}

// The library splits its connection limit evenly between its threads and turns away what one
// thread cannot take, however many the others hold. It gets room for every connection on each
// thread, so that the guard alone decides, by the count of all of them together.
unsigned int LibraryConnectionLimit(const ServeOptions& options) {
    const qint64 room = qint64(options.maxConnections + 16) * std::max(1, options.threads);
    return static_cast<unsigned int>(std::min<qint64>(room, 1000000));
}

ConnectionGuard::Limits GuardLimits(const ServeOptions& options) {
    ConnectionGuard::Limits limits;
    limits.maxConnections = options.maxConnections;
    limits.perAddress = options.connectionsPerAddress;
    limits.readTimeout = std::chrono::seconds(options.readTimeoutSeconds);
    limits.headTimeout = std::chrono::seconds(options.headTimeoutSeconds);
    limits.minBodyRate = options.minBodyBytesPerSecond;
    return limits;
}

// The library's parser leaves every header it read from one line in the request's buffer,
// its name right before its value. libmicrohttpd 0.9.75 takes a folded line in silently: it
// glues the continuation to the header's name in a copy elsewhere, so the name no longer
// stands before its value, and the service refuses the head. (A version that laid out
// headers otherwise would have every head refused, which the tests of the layer show at once.)
bool ReadFromOneLine(const char* key, size_t keySize, const char* value) {
    if (!value || key[keySize] != '\0')
        return false;
    const char* const afterColon = key + keySize + 1;
    const auto at = [](const char* p) { return reinterpret_cast<std::uintptr_t>(p); };
    if (at(value) < at(afterColon))
        return false;
    // Between the two only the blanks after the colon (the scan stops at the first other byte).
    return std::all_of(afterColon, afterColon + (at(value) - at(afterColon)),
                       [](char c) { return c == ' ' || c == '\t'; });
}

MHD_Result CollectHeader(void* cls, MHD_ValueKind, const char* key, size_t keySize,
                         const char* value, size_t valueSize) {
    auto* fields = static_cast<std::vector<HeaderField>*>(cls);
    fields->push_back({std::string_view(key, keySize),
                       std::string_view(value ? value : "", value ? valueSize : 0),
                       ReadFromOneLine(key, keySize, value)});
    return MHD_YES;
}

// The library ends a header's value at the first NUL, and the rest of the line stays in its
// buffer unread. It writes a zero over each line's end (one for LF, two for CRLF), so between
// the end of a value and the name of the next header there are only zeros; and after the last
// value, the zeroed end of its line and of the empty line. Anything else there is the rest of
// a value cut at a NUL. (The same layout as ReadFromOneLine relies on.)
void MarkValuesCutAtNul(std::vector<HeaderField>& fields) {
    for (size_t i = 0; i < fields.size(); ++i) {
        HeaderField& field = fields[i];
        if (!field.oneLine)
            continue;  // refused anyway, and laid out elsewhere
        const char* end = field.value.data() + field.value.size();
        if (i + 1 < fields.size() && fields[i + 1].oneLine) {
            const char* next = fields[i + 1].name.data();
            if (next > end && next - end <= 2)
                continue;  // only the zeroed end of the line between them
            field.wholeValue = next > end && std::all_of(end, next, [](char c) { return c == 0; });
        } else if (i + 1 == fields.size()) {
            field.wholeValue = end[0] == 0 && end[1] == 0;
        }
    }
}

// The request's framing headers as the service reads them (see HttpHead.h).
Framing FramingOf(MHD_Connection* connection) {
    std::vector<HeaderField> fields;
    MHD_get_connection_values_n(connection, MHD_HEADER_KIND, &CollectHeader, &fields);
    MarkValuesCutAtNul(fields);
    return ReadFraming(fields);
}

}  // namespace

class HttpService::Impl {
public:
    Impl(const ServeOptions& options, Store& store, GatewayHandler& gateway, const SiteFiles& site,
         RequestLog& log)
        : options_(options),
          store_(store),
          gateway_(gateway),
          site_(site),
          log_(log),
          hashing_(options.hashThreads, options.maxConnections, kHashesQueuedPerAddress),
          budget_(options.bodyBudgetBytes, options.addressBodyBudgetBytes),
          guard_(GuardLimits(options), TrustedProxies(options)) {}

    ~Impl() {
        if (listenSocket_ >= 0)
            ::close(listenSocket_);
    }

    int Bind(const QString& host, int port) {
        addrinfo hints{};
        hints.ai_family = AF_UNSPEC;
        hints.ai_socktype = SOCK_STREAM;
        hints.ai_flags = AI_PASSIVE | AI_NUMERICHOST | AI_NUMERICSERV;
        addrinfo* found = nullptr;
        const std::string service = std::to_string(port);
        if (getaddrinfo(host.toStdString().c_str(), service.c_str(), &hints, &found) != 0 || !found)
            return -1;
        const int fd = ::socket(found->ai_family, SOCK_STREAM | SOCK_CLOEXEC, 0);
        // Only SO_REUSEADDR: with SO_REUSEPORT a second service could start on a port in use.
        const int yes = 1;
        const bool bound =
            fd >= 0 && setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes) == 0 &&
            ::bind(fd, found->ai_addr, found->ai_addrlen) == 0 && ::listen(fd, SOMAXCONN) == 0;
        freeaddrinfo(found);
        if (!bound) {
            if (fd >= 0)
                ::close(fd);
            return -1;
        }
        sockaddr_storage address{};
        socklen_t length = sizeof address;
        getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length);
        const int actual = address.ss_family == AF_INET6
                               ? ntohs(reinterpret_cast<sockaddr_in6*>(&address)->sin6_port)
                               : ntohs(reinterpret_cast<sockaddr_in*>(&address)->sin_port);
        listenSocket_ = fd;
        fallbackHost_ =
            (host.contains(QLatin1Char(':')) ? QLatin1Char('[') + host + QLatin1Char(']') : host) +
            QLatin1Char(':') + QString::number(actual);
        return actual;
    }

    bool Run() {
        {
            std::lock_guard lock(mutex_);
            if (stopRequested_)
                return true;
        }
        // Connections are served by a few epoll threads: an idle or slow connection costs no
        // thread. Every connection has a bounded memory pool (headers beyond it get 431) and a
        // time-out (see SetTimeOut); the guard keeps the shares of client addresses and the
        // deadlines of heads and bodies.
        //
        // The library's strict mode is left off: libmicrohttpd 0.9.75 answers a request it
        // refuses while it reads the framing headers (no Host, among others) with its head
        // written twice, which no client or proxy reads right. The service makes those checks
        // itself (Begin) and answers them as it answers everything else.
        guard_.Start();
        daemon_ = MHD_start_daemon(
            MHD_USE_EPOLL_INTERNAL_THREAD | MHD_ALLOW_SUSPEND_RESUME | MHD_USE_TURBO, 0, nullptr,
            nullptr, &Impl::Access, this, MHD_OPTION_LISTEN_SOCKET, listenSocket_,
            MHD_OPTION_THREAD_POOL_SIZE, static_cast<unsigned int>(options_.threads),
            MHD_OPTION_CONNECTION_LIMIT, LibraryConnectionLimit(options_),
            MHD_OPTION_CONNECTION_MEMORY_LIMIT, static_cast<size_t>(options_.headerBytes),
            MHD_OPTION_CONNECTION_TIMEOUT, static_cast<unsigned int>(options_.readTimeoutSeconds),
            MHD_OPTION_STRICT_FOR_CLIENT, 0, MHD_OPTION_URI_LOG_CALLBACK, &Impl::RequestLine, this,
            MHD_OPTION_NOTIFY_COMPLETED, &Impl::Completed, this, MHD_OPTION_NOTIFY_CONNECTION,
            &Impl::ConnectionChange, this, MHD_OPTION_EXTERNAL_LOGGER, &Impl::LibraryMessage, this,
            MHD_OPTION_END);
        if (!daemon_) {
            guard_.Stop();
            return false;
        }
        listenSocket_ = -1;  // the library's now, closed when it stops
        std::unique_lock lock(mutex_);
        running_ = true;
        changed_.wait(lock, [this] { return stopRequested_; });
        running_ = false;
        lock.unlock();
        // The hashing jobs resume their connections: they are all done before the library
        // lets its connections go.
        hashing_.Finish();
        MHD_stop_daemon(daemon_);
        daemon_ = nullptr;
        guard_.Stop();
        return true;
    }

    void Stop() {
        {
            std::lock_guard lock(mutex_);
            stopRequested_ = true;
        }
        changed_.notify_all();
    }

    bool IsRunning() const {
        std::lock_guard lock(mutex_);
        return running_;
    }

private:
    // --- The library's callbacks, passed on to the object.

    static MHD_Result Access(void* cls, MHD_Connection* connection, const char* url,
                             const char* method, const char* version, const char* data,
                             size_t* size, void** state) {
        return static_cast<Impl*>(cls)->Handle(connection, url, method, version, data, size, state);
    }

    static void* RequestLine(void* cls, const char* uri, MHD_Connection* connection) {
        if (Link* link = LinkOf(connection)) {
            link->target = uri ? uri : "";
            link->start = SteadyClock::now();
            link->waiting = true;
            link->answered = false;
            link->client = link->peer;
            if (link->guard)
                static_cast<Impl*>(cls)->guard_.RequestLineIn(link->guard);
        }
        return nullptr;
    }

    static void Completed(void* cls, MHD_Connection* connection, void** state,
                          MHD_RequestTerminationCode code) {
        auto* impl = static_cast<Impl*>(cls);
        auto* exchange = static_cast<Exchange*>(*state);
        const bool big = exchange && exchange->big;
        // A request that ends unanswered: the client went away, or the guard closed it.
        if (const Link* link = LinkOf(connection); exchange && link && !link->answered)
            impl->LogUnanswered(connection, *link);
        delete exchange;
        *state = nullptr;
        if (big)
            impl->BigBodyDone();
        // The reply is out; the connection waits for the client's next request.
        if (code == MHD_REQUEST_TERMINATED_COMPLETED_OK) {
            impl->SetTimeOut(connection, impl->options_.readTimeoutSeconds);
            if (Link* link = LinkOf(connection); link && link->guard)
                impl->guard_.SetPhase(link->guard, ConnectionGuard::Phase::Head);
        }
    }

    static void ConnectionChange(void* cls, MHD_Connection* connection, void** context,
                                 MHD_ConnectionNotificationCode code) {
        auto* impl = static_cast<Impl*>(cls);
        if (code == MHD_CONNECTION_NOTIFY_STARTED) {
            auto* link = new Link;
            link->peer = ClientAddress(connection);
            link->client = link->peer;
            link->start = SteadyClock::now();
            const MHD_ConnectionInfo* info =
                MHD_get_connection_info(connection, MHD_CONNECTION_INFO_CONNECTION_FD);
            if (info)
                link->guard = impl->guard_.Open(info->connect_fd, link->peer);
            *context = link;
            return;
        }
        auto* link = static_cast<Link*>(*context);
        if (link) {
            // A request line came but no route saw the request: the library refused it (a
            // malformed head, headers over the limit), the guard closed the connection, or the
            // client went away in the middle. Connections the guard turned away before they
            // sent anything are logged too: they are what an operator looks for in an attack.
            const auto reason = impl->guard_.ClosedFor(link->guard);
            if (link->waiting || reason == ConnectionGuard::Reason::AddressFull ||
                (reason == ConnectionGuard::Reason::SlotsShort && link->target.empty()))
                impl->LogRefusedHead(*link, reason);
            impl->guard_.Close(link->guard);
        }
        delete link;
        *context = nullptr;
    }

    // The library's own messages say the same as the request log, once per bad request.
    static void LibraryMessage(void*, const char*, va_list) {}

    // libmicrohttpd has one time-out per connection, counted from the last byte that moved
    // either way. A client that sends its request slowly must not hold a connection long,
    // while a reader on a slow line may take a while to make room for the next part of a big
    // reply: the time-out is the write time-out while a reply is on its way, the read
    // time-out otherwise.
    void SetTimeOut(MHD_Connection* connection, int seconds) {
        MHD_set_connection_option(connection, MHD_CONNECTION_OPTION_TIMEOUT,
                                  static_cast<unsigned int>(seconds));
    }

    void BigBodyDone() {
        if (--bigBodies_ == 0)
            ReturnFreeMemory();
    }

    // --- Requests.

    MHD_Result Handle(MHD_Connection* connection, const char* url, const char* method,
                      const char* version, const char* data, size_t* size, void** state) {
        auto* exchange = static_cast<Exchange*>(*state);
        if (!exchange) {
            // The head is in: headers checked, the route chosen; a body is still to come.
            if (Link* link = LinkOf(connection)) {
                link->waiting = false;
                link->method = QString::fromLatin1(method);
                link->client = ForwardedClient(connection, link->peer);
                if (link->guard)
                    guard_.SetPhase(link->guard, ConnectionGuard::Phase::Body);
            }
            exchange = new Exchange;
            *state = exchange;
            return Begin(connection, method, version, exchange);
        }
        if (*size > 0) {
            if (Link* link = LinkOf(connection); link && link->guard)
                guard_.BodyArrived(link->guard, qint64(*size));
        }
        if (exchange->refused) {
            *size = 0;  // answered already; what the client still sends goes nowhere
            return MHD_YES;
        }
        if (*size > 0) {
            if (!exchange->draining) {
                const size_t after = exchange->body.size() + *size;
                if (after > static_cast<size_t>(options_.maxBodyBytes)) {
                    StartDraining(connection, exchange, false);
                } else if (qint64(after) > exchange->held.Bytes()) {
                    // A body of no declared length takes its share as it comes.
                    const qint64 step = std::max<qint64>(kBudgetStep, qint64(*size));
                    const auto verdict = exchange->held.Grow(budget_, ClientKey(connection), step);
                    if (verdict != BodyBudget::Verdict::Granted)
                        StartDraining(connection, exchange, verdict == BodyBudget::Verdict::Busy);
                }
            }
            if (exchange->draining) {
                exchange->drained += qint64(*size);
                *size = 0;
                if (exchange->drained > DrainLimit()) {
                    exchange->refused = true;
                    return Refusal(connection, *exchange);
                }
                return MHD_YES;
            }
            exchange->body.append(data, *size);
            *size = 0;
            AcknowledgeAtOnce(connection);  // the client's next piece may wait for it
            if (!exchange->big && exchange->body.capacity() >= kBigBodyBytes) {
                exchange->big = true;
                ++bigBodies_;
            }
            return MHD_YES;
        }
        if (exchange->draining) {
            exchange->refused = true;
            return Refusal(connection, *exchange);
        }
        if (exchange->reply)
            return SendGatewayReply(connection, *exchange->reply);
        if (exchange->working)
            return MHD_YES;
        if (Link* link = LinkOf(connection); link && link->guard)
            guard_.SetPhase(link->guard, ConnectionGuard::Phase::Answering);
        return Route(connection, url, method, exchange);
    }

    // From now on the body is read and dropped, and refused when it is in: for its size, or
    // (busy) for the budget. What it held goes back at once.
    void StartDraining(MHD_Connection* connection, Exchange* exchange, bool busy) {
        exchange->draining = true;
        exchange->busy = busy;
        exchange->drained = qint64(exchange->body.size());
        std::string().swap(exchange->body);
        exchange->held.Release();
        if (Link* link = LinkOf(connection); link && link->guard)
            guard_.SetPhase(link->guard, ConnectionGuard::Phase::Refused);
    }

    // The answer to a body refused before it was read.
    MHD_Result Refusal(MHD_Connection* connection, const Exchange& exchange) {
        if (!exchange.busy)
            return TooBig(connection);
        Answer answer{refusal::kBusy.status, refusal::kBusy.text, "text/plain; charset=GBK", {}};
        answer.headers.emplace_back("Retry-After", kRetryAfterSeconds);
        return Send(connection, answer, QStringLiteral("zc=?"),
                    QStringLiteral("BUSY the bodies in flight fill the budget"));
    }

    // The head is in. Whatever is wrong with it is refused at once (and the connection
    // closed); otherwise the request is answered once its body is in: answering earlier would
    // make the library close the connection and lose pipelined requests.
    MHD_Result Begin(MHD_Connection* connection, const char* method, const char* version,
                     Exchange* exchange) {
        const Link* link = LinkOf(connection);
        std::optional<QString> refused = TargetRefusal(link ? link->target : std::string());
        const Framing framing = FramingOf(connection);
        if (!refused)
            refused = framing.refusal;
        if (!refused && version && std::strcmp(version, "HTTP/1.0") != 0 &&
            !MHD_lookup_connection_value(connection, MHD_HEADER_KIND, "Host"))
            refused = QStringLiteral("no Host");
        if (refused) {
            exchange->refused = true;
            return Send(connection, {400, "400 Bad Request", "text/plain; charset=utf-8", {}},
                        RequestWhat(connection), *refused);
        }
        if (std::strcmp(method, "POST") == 0) {
            // A body over the limit is read and dropped, then refused; one far over it is
            // refused before a byte of it is read.
            const auto& declared = framing.declaredLength;
            if (declared && *declared > static_cast<unsigned long long>(DrainLimit())) {
                exchange->refused = true;
                return TooBig(connection);
            }
            if (declared && *declared > static_cast<unsigned long long>(options_.maxBodyBytes)) {
                StartDraining(connection, exchange, false);
            } else if (declared && *declared > 0) {
                // The announced body takes its share of the budget before a byte of it comes.
                const auto verdict =
                    exchange->held.Grow(budget_, ClientKey(connection), qint64(*declared));
                if (verdict != BodyBudget::Verdict::Granted)
                    StartDraining(connection, exchange, verdict == BodyBudget::Verdict::Busy);
            }
            // Room for the announced body, up to a size that a client which announces much
            // and sends nothing cannot make the service hold for long on many connections.
            if (declared && !exchange->draining)
                exchange->body.reserve(
                    static_cast<size_t>(std::min<unsigned long long>(*declared, 256 * 1024)));
            AcknowledgeAtOnce(connection);
        }
        return MHD_YES;
    }

    // The key of the request's client in the budget and the hashing queue.
    QString ClientKey(MHD_Connection* connection) const {
        const Link* link = LinkOf(connection);
        return AddressKey(link ? link->client : ClientAddress(connection));
    }

    // The head is in and the body is to come, or a piece of the body came. A client that sends
    // a request in several writes (Qt's network code does, with Nagle's algorithm on) holds a
    // short piece back until what it sent before is acknowledged, and the kernel delays that
    // acknowledgement by up to 40 ms: acknowledge now.
    static void AcknowledgeAtOnce(MHD_Connection* connection) {
#if defined(TCP_QUICKACK)
        const MHD_ConnectionInfo* info =
            MHD_get_connection_info(connection, MHD_CONNECTION_INFO_CONNECTION_FD);
        if (!info)
            return;
        const int on = 1;
        setsockopt(info->connect_fd, IPPROTO_TCP, TCP_QUICKACK, &on, sizeof on);
#else
        (void)connection;
#endif
    }

    MHD_Result Route(MHD_Connection* connection, const char* url, const char* method,
                     Exchange* exchange) {
        const std::string path(url ? url : "");
        if (std::strcmp(method, "POST") == 0 && path == gateway::kGatewayPath)
            return Gateway(connection, exchange);
        exchange->refused = true;
        if (std::strcmp(method, "GET") == 0 || std::strcmp(method, "HEAD") == 0)
            return Get(connection, path);
        const bool known = path == gateway::kGatewayPath || path.rfind("/love/", 0) == 0;
        return Send(
            connection,
            known ? Answer{405, "405 Method Not Allowed", "text/plain; charset=utf-8", {}}
                  : Answer{404, "404 Not Found", "text/plain; charset=utf-8", {}},
            RequestWhat(connection),
            known ? QStringLiteral("method not allowed") : QStringLiteral("no such address"));
    }

    MHD_Result Get(MHD_Connection* connection, const std::string& path) {
        if (path.rfind("/love/", 0) == 0)
            return PublishedPage(connection, QString::fromStdString(path.substr(6)));
        if (path == "/healthz") {
            const bool ok = store_.Healthy();
            return Send(connection,
                        {ok ? 200 : 503,
                         ok ? "ok" : "database unavailable",
                         "text/plain; charset=utf-8",
                         {}},
                        RequestWhat(connection),
                        ok ? QStringLiteral("healthy") : QStringLiteral("unhealthy"));
        }
        for (const SitePage& page : kSitePages) {
            if (path == page.path)
                return ServeFile(connection, QString(), QLatin1String(page.file));
        }
        for (const char* folder : kSiteFolders) {
            const std::string prefix = std::string("/") + folder + "/";
            if (path.size() > prefix.size() && path.rfind(prefix, 0) == 0) {
                return ServeFile(connection, QLatin1String(folder),
                                 QString::fromStdString(path.substr(prefix.size())));
            }
        }
        return Send(connection, {404, "404 Not Found", "text/plain; charset=utf-8", {}},
                    RequestWhat(connection), QStringLiteral("no such address"));
    }

    // The body is in. A request whose statement hashes a password runs on the worker pool,
    // the connection suspended meanwhile; every other request is answered here at once.
    MHD_Result Gateway(MHD_Connection* connection, Exchange* exchange) {
        RequestContext context = ContextOf(connection);
        PreparedRequest prepared = gateway_.Prepare(
            context, QByteArrayView(exchange->body.data(), qsizetype(exchange->body.size())));
        // The request holds what it needs of the body now; the encoded text can go.
        std::string().swap(exchange->body);
        if (!prepared.hashes || prepared.refusal)
            return SendGatewayReply(connection, gateway_.Handle(context, prepared));
        // Hashing waits on threads of its own, each client address in its turn, and a guessed
        // account's attempts wait for the account's turn, the connection suspended meanwhile.
        exchange->working = true;
        const auto notBefore = prepared.notBefore;
        exchange->prepared = std::move(prepared);
        MHD_suspend_connection(connection);
        const bool taken = hashing_.Submit(
            AddressKey(context.clientAddress),
            [this, connection, exchange, context] {
                exchange->reply = gateway_.Handle(context, *exchange->prepared);
                MHD_resume_connection(connection);
            },
            notBefore);
        if (!taken) {
            GatewayReply busy;
            busy.status = refusal::kBusy.status;
            busy.body = refusal::kBusy.text;
            busy.outcome = QStringLiteral("BUSY too many sign-ins at once");
            exchange->reply = busy;
            MHD_resume_connection(connection);
        }
        return MHD_YES;
    }

    // Behind a reverse proxy every request comes from the proxy; the proxy names the client in
    // X-Real-IP. Only a proxy of the trusted list is believed: anyone else could name any
    // address and so slip past the limits per address.
    QString ForwardedClient(MHD_Connection* connection, const QString& peer) const {
        if (!guard_.IsTrustedProxy(peer))
            return peer;
        const char* named = MHD_lookup_connection_value(connection, MHD_HEADER_KIND, "X-Real-IP");
        if (!named)
            return peer;
        QHostAddress client;
        if (!client.setAddress(QString::fromLatin1(named).trimmed()))
            return peer;
        return PlainAddress(client).toString();
    }

    RequestContext ContextOf(MHD_Connection* connection) const {
        RequestContext context;
        const Link* link = LinkOf(connection);
        context.clientAddress = link ? link->client : ClientAddress(connection);
        context.siteAddress = SiteAddress(connection);
        const char* cookies = MHD_lookup_connection_value(connection, MHD_HEADER_KIND, "Cookie");
        context.sessionToken = SessionTokenFromCookies(cookies ? cookies : "");
        return context;
    }

    MHD_Result SendGatewayReply(MHD_Connection* connection, const GatewayReply& reply) {
        Answer answer{reply.status, reply.body, "text/plain; charset=GBK", {}};
        answer.headers.emplace_back("Cache-Control", "no-store");
        if (!reply.setCookie.empty())
            answer.headers.emplace_back("Set-Cookie", reply.setCookie);
        const QString what =
            reply.code ? QStringLiteral("zc=%1").arg(reply.code) : QStringLiteral("zc=?");
        return Send(connection, answer, what, reply.outcome);
    }

    // How much of a body over the limit is still read (and dropped) before the refusal.
    qint64 DrainLimit() const {
        return options_.maxBodyBytes + (qint64{8} << 20);
    }

    MHD_Result TooBig(MHD_Connection* connection) {
        return Send(connection,
                    {refusal::kTooBig.status, refusal::kTooBig.text, "text/plain; charset=GBK", {}},
                    QStringLiteral("zc=?"),
                    QStringLiteral("TOOBIG body over %1 bytes").arg(options_.maxBodyBytes));
    }

    MHD_Result PublishedPage(MHD_Connection* connection, const QString& name) {
        if (!IsStoredPageName(name)) {
            return Send(connection, {400, refusal::kBadName.text, "text/plain; charset=utf-8", {}},
                        RequestWhat(connection), QStringLiteral("BADNAME page"));
        }
        // The version alone says whether the answer kept in memory is the page as it is now.
        const auto version = store_.PageVersion(name);
        std::shared_ptr<PageAnswer> answer;
        if (version && *version != 0)
            answer = pages_.Find(name, *version);
        if (!answer) {
            const auto page = store_.PageAndVersion(name);
            if (!page || page->second == 0) {
                pages_.Forget(name);
                return Send(connection, {404, "404 Not Found", "text/plain; charset=utf-8", {}},
                            RequestWhat(connection), QStringLiteral("no such page"));
            }
            answer = MakePageAnswer(page->first, page->second);
            if (!answer)
                return MHD_NO;
            pages_.Keep(name, page->second, answer, static_cast<std::size_t>(page->first.size()));
        }
        // A browser that holds this version asks with its tag and is told it is current.
        const char* held =
            MHD_lookup_connection_value(connection, MHD_HEADER_KIND, "If-None-Match");
        if (held && answer->etag == held) {
            Answer current{304, {}, "text/html; charset=GBK", {}};
            current.headers.emplace_back("ETag", answer->etag);
            current.headers.emplace_back("Cache-Control", "no-cache");
            return Send(connection, current, RequestWhat(connection),
                        QStringLiteral("page current"));
        }
        Log(connection, 200, RequestWhat(connection), QStringLiteral("page"));
        return Queue(connection, 200, answer->response);
    }

    // A published page's answer, made once per version and sent to every visitor.
    static std::shared_ptr<PageAnswer> MakePageAnswer(const QByteArray& page, qint64 version) {
        MHD_Response* response = MHD_create_response_from_buffer(
            static_cast<size_t>(page.size()), const_cast<char*>(page.constData()),
            MHD_RESPMEM_MUST_COPY);
        if (!response)
            return nullptr;
        auto answer = std::make_shared<PageAnswer>(response);
        answer->etag = "\"" + std::to_string(version) + "\"";
        MHD_add_response_header(response, "Content-Type", "text/html; charset=GBK");
        MHD_add_response_header(response, "Cache-Control", "no-cache");
        MHD_add_response_header(response, "ETag", answer->etag.c_str());
        // A page is its author's HTML on the service's own origin: the sandbox gives it an
        // origin of its own, so that it reads no cookie of the service and no other page.
        MHD_add_response_header(response, "Content-Security-Policy",
                                "sandbox allow-scripts allow-popups allow-forms");
        MHD_add_response_header(response, "X-Content-Type-Options", "nosniff");
        return answer;
    }

    // A file of the site, sent from the file itself: a range reads only that range. Every file
    // carries its tag and date, so that a browser revalidates with a 304 and resumes a range
    // only of the very file it began.
    MHD_Result ServeFile(MHD_Connection* connection, const QString& folder,
                         const QString& relative) {
        auto file = site_.Open(folder, relative);
        if (!file) {
            return Send(connection, {404, "404 Not Found", "text/plain; charset=utf-8", {}},
                        RequestWhat(connection), QStringLiteral("no such file"));
        }
        const std::string etag = FileTag(file->Size(), file->ModifiedSeconds());
        const std::string modified = HttpDate(file->ModifiedSeconds());
        const auto header = [connection](const char* name) {
            const char* value = MHD_lookup_connection_value(connection, MHD_HEADER_KIND, name);
            return std::string_view(value ? value : "");
        };
        const FilePart part = AnswerForFile(file->Size(), etag, modified, header("If-None-Match"),
                                            header("Range"), header("If-Range"));
        std::vector<std::pair<std::string, std::string>> headers{
            {"X-Content-Type-Options", "nosniff"}, {"ETag", etag}, {"Last-Modified", modified}};
        if (folder == QLatin1String("biaobai")) {
            // The published pages load these from any origin, sandboxed ones included (their
            // origin is opaque), and scripts may fetch them; they change with a release only.
            headers.emplace_back("Access-Control-Allow-Origin", "*");
            headers.emplace_back("Cache-Control", "public, max-age=3600");
        } else {
            headers.emplace_back("Cache-Control", "max-age=300");
        }
        // Browsers play and seek music and video by byte ranges.
        headers.emplace_back("Accept-Ranges", "bytes");
        const std::string size = std::to_string(file->Size());
        if (part.status == 206) {
            headers.emplace_back("Content-Range", "bytes " + std::to_string(part.first) + "-" +
                                                      std::to_string(part.first + part.length - 1) +
                                                      "/" + size);
        } else if (part.status == 416) {
            headers.emplace_back("Content-Range", "bytes */" + size);
        }
        if (part.status == 304 || part.status == 416) {
            Answer answer{part.status, {}, file->ContentType(), std::move(headers)};
            return Send(connection, answer, RequestWhat(connection),
                        part.status == 304 ? QStringLiteral("file current")
                                           : QStringLiteral("range outside the file"));
        }
        Log(connection, part.status, RequestWhat(connection), QStringLiteral("file"));
        // The library closes the descriptor with the response.
        MHD_Response* response = MHD_create_response_from_fd_at_offset64(
            static_cast<uint64_t>(part.length), file->Release(), static_cast<uint64_t>(part.first));
        if (!response)
            return MHD_NO;
        MHD_add_response_header(response, "Content-Type", file->ContentType().c_str());
        for (const auto& [name, value] : headers)
            MHD_add_response_header(response, name.c_str(), value.c_str());
        const MHD_Result queued = Queue(connection, part.status, response);
        MHD_destroy_response(response);
        return queued;
    }

    // --- Replies and the log.

    // The request's line goes to the log before the reply leaves, so that a client that has
    // its answer always finds the line there.
    MHD_Result Send(MHD_Connection* connection, const Answer& answer, const QString& what,
                    const QString& outcome) {
        Log(connection, answer.status, what, outcome);
        MHD_Response* response = MHD_create_response_from_buffer(
            static_cast<size_t>(answer.body.size()), const_cast<char*>(answer.body.constData()),
            MHD_RESPMEM_MUST_COPY);
        if (!response)
            return MHD_NO;
        MHD_add_response_header(response, "Content-Type", answer.contentType.c_str());
        for (const auto& [name, value] : answer.headers)
            MHD_add_response_header(response, name.c_str(), value.c_str());
        const MHD_Result queued = Queue(connection, answer.status, response);
        MHD_destroy_response(response);
        return queued;
    }

    // Every reply goes out through here: from now on the write time-out holds.
    MHD_Result Queue(MHD_Connection* connection, int status, MHD_Response* response) {
        const MHD_Result queued =
            MHD_queue_response(connection, static_cast<unsigned int>(status), response);
        if (queued == MHD_YES) {
            SetTimeOut(connection, options_.writeTimeoutSeconds);
            if (Link* link = LinkOf(connection)) {
                link->answered = true;
                if (link->guard)
                    guard_.SetPhase(link->guard, ConnectionGuard::Phase::Answering);
            }
        }
        return queued;
    }

    QString RequestWhat(MHD_Connection* connection) const {
        const Link* link = LinkOf(connection);
        return link ? link->method + QLatin1Char(' ') + PrintableTarget(link->target) : QString();
    }

    void Log(MHD_Connection* connection, int status, const QString& what, const QString& outcome) {
        const Link* link = LinkOf(connection);
        LogEntry entry;
        entry.time = LogTimestamp();
        entry.client = link ? link->client : ClientAddress(connection);
        entry.what = what;
        entry.outcome = outcome;
        entry.status = status;
        entry.milliseconds =
            link ? std::chrono::duration<double, std::milli>(SteadyClock::now() - link->start)
                       .count()
                 : 0.0;
        log_.Write(entry);
    }

    void LogRefusedHead(const Link& link, ConnectionGuard::Reason reason) {
        LogEntry entry;
        entry.time = LogTimestamp();
        entry.client = link.client;
        entry.what = QStringLiteral("? ") + PrintableTarget(link.target);
        entry.outcome = reason == ConnectionGuard::Reason::None
                            ? QStringLiteral("malformed, oversized or unfinished request head")
                            : GuardOutcome(reason);
        entry.status = GuardStatus(reason, 400);
        entry.milliseconds =
            std::chrono::duration<double, std::milli>(SteadyClock::now() - link.start).count();
        log_.Write(entry);
    }

    void LogUnanswered(MHD_Connection* connection, const Link& link) {
        const auto reason = guard_.ClosedFor(link.guard);
        Log(connection, GuardStatus(reason, 499), RequestWhat(connection),
            reason == ConnectionGuard::Reason::None ? QStringLiteral("the client went away")
                                                    : GuardOutcome(reason));
    }

    // How the log tells a connection the guard closed.
    QString GuardOutcome(ConnectionGuard::Reason reason) const {
        switch (reason) {
            case ConnectionGuard::Reason::AddressFull:
                return QStringLiteral("turned away: the address holds %1 connections")
                    .arg(options_.connectionsPerAddress);
            case ConnectionGuard::Reason::HeadTooSlow:
                return QStringLiteral("closed: the head was not whole within %1 s")
                    .arg(options_.headTimeoutSeconds);
            case ConnectionGuard::Reason::BodyTooSlow:
                return QStringLiteral("closed: the body came slower than %1 bytes/s")
                    .arg(options_.minBodyBytesPerSecond);
            case ConnectionGuard::Reason::SlotsShort:
                return QStringLiteral("closed: connection slots ran short");
            case ConnectionGuard::Reason::None:
                break;
        }
        return {};
    }
    static int GuardStatus(ConnectionGuard::Reason reason, int otherwise) {
        switch (reason) {
            case ConnectionGuard::Reason::HeadTooSlow:
            case ConnectionGuard::Reason::BodyTooSlow:
                return 408;
            case ConnectionGuard::Reason::AddressFull:
            case ConnectionGuard::Reason::SlotsShort:
                return 503;
            case ConnectionGuard::Reason::None:
                break;
        }
        return otherwise;
    }

    // The configured public address; without one (a local run) the Host the client used.
    QString SiteAddress(MHD_Connection* connection) const {
        if (!options_.publicUrl.isEmpty())
            return options_.publicUrl;
        const char* value = MHD_lookup_connection_value(connection, MHD_HEADER_KIND, "Host");
        const std::string_view host = value ? value : "";
        return QStringLiteral("http://") +
               (IsUsableHost(host) ? QString::fromLatin1(host.data(), qsizetype(host.size()))
                                   : fallbackHost_);
    }

    const ServeOptions options_;
    Store& store_;
    GatewayHandler& gateway_;
    const SiteFiles& site_;
    RequestLog& log_;
    WorkerPool hashing_;
    BodyBudget budget_;
    ConnectionGuard guard_;
    PageCache<PageAnswer> pages_{kPageCacheBytes};
    std::atomic<int> bigBodies_{0};
    MHD_Daemon* daemon_ = nullptr;
    int listenSocket_ = -1;
    QString fallbackHost_;

    mutable std::mutex mutex_;
    std::condition_variable changed_;
    bool stopRequested_ = false;
    bool running_ = false;
};

HttpService::HttpService(const ServeOptions& options, Store& store, GatewayHandler& gateway,
                         const SiteFiles& site, RequestLog& log)
    : impl_(std::make_unique<Impl>(options, store, gateway, site, log)) {}

HttpService::~HttpService() = default;

int HttpService::Bind(const QString& host, int port) {
    return impl_->Bind(host, port);
}
bool HttpService::Run() {
    return impl_->Run();
}
void HttpService::Stop() {
    impl_->Stop();
}
bool HttpService::IsRunning() const {
    return impl_->IsRunning();
}

}  // namespace server
