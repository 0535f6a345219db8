// The service's HTTP layer under the requests an attacker on the open internet sends: slow
// clients, idle connections, oversized and conflicting heads and lengths, pipelining, and a
// burst of sign-ins. Raw sockets, so that nothing tidies the requests up first.

#include "Gateway.h"
#include "ServiceAddress.h"
#include "ServiceProcess.h"
#include "Statements.h"
#include "XmlHttp.h"

#include <QElapsedTimer>
#include <QNetworkAccessManager>
#include <QUrl>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

namespace {

// A plain TCP connection to the service from a loopback address of choice (127.0.0.x are all
// this machine's), so that one test can be several clients.
class Raw {
public:
    Raw(const QString& url, const char* from = "127.0.0.1") {
        const QUrl base(url);
        fd_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_in local{};
        local.sin_family = AF_INET;
        inet_pton(AF_INET, from, &local.sin_addr);
        ::bind(fd_, reinterpret_cast<sockaddr*>(&local), sizeof local);
        sockaddr_in remote{};
        remote.sin_family = AF_INET;
        remote.sin_port = htons(quint16(base.port()));
        inet_pton(AF_INET, "127.0.0.1", &remote.sin_addr);
        connected_ = ::connect(fd_, reinterpret_cast<sockaddr*>(&remote), sizeof remote) == 0;
    }
    ~Raw() {
        if (fd_ >= 0)
            ::close(fd_);
    }
    Raw(const Raw&) = delete;
    Raw& operator=(const Raw&) = delete;

    bool Connected() const { return connected_; }
    bool Send(std::string_view bytes) {
        return ::send(fd_, bytes.data(), bytes.size(), MSG_NOSIGNAL) == ssize_t(bytes.size());
    }
    // Everything that arrives until the service closes the connection or `ms` pass.
    std::string Read(int ms) {
        std::string out;
        QElapsedTimer clock;
        clock.start();
        while (clock.elapsed() < ms) {
            pollfd p{fd_, POLLIN, 0};
            if (::poll(&p, 1, int(ms - clock.elapsed())) <= 0)
                break;
            char buffer[65536];
            const ssize_t n = ::recv(fd_, buffer, sizeof buffer, 0);
            if (n <= 0) {
                closed_ = true;
                break;
            }
            out.append(buffer, size_t(n));
        }
        return out;
    }
    // One whole response (its head and a body of its Content-Length), or what came until the
    // service closed the connection or `ms` passed.
    std::string ReadResponse(int ms) {
        std::string out;
        QElapsedTimer clock;
        clock.start();
        while (clock.elapsed() < ms && !closed_) {
            const size_t head = out.find("\r\n\r\n");
            if (head != std::string::npos) {
                size_t length = 0;
                const size_t at = out.find("Content-Length: ");
                if (at != std::string::npos && at < head)
                    length = std::stoul(out.substr(at + 16));
                if (out.size() >= head + 4 + length)
                    break;
            }
            out += Read(std::min<qint64>(100, ms - clock.elapsed()));
        }
        return out;
    }
    // True once the service has closed the connection (or reset it).
    bool ClosedWithin(int ms) {
        Read(ms);
        return closed_;
    }

private:
    int fd_ = -1;
    bool connected_ = false;
    bool closed_ = false;
};

int StatusOf(const std::string& response) {
    if (response.rfind("HTTP/1.1 ", 0) != 0)
        return 0;
    return std::stoi(response.substr(9, 3));
}

int CountResponses(const std::string& responses) {
    int n = 0;
    for (size_t at = responses.find("HTTP/1.1 "); at != std::string::npos;
         at = responses.find("HTTP/1.1 ", at + 1))
        ++n;
    return n;
}

class HttpLayer : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(service.Start()) << service.Error().toStdString();
        ASSERT_TRUE(::service::SetAddress(service.Url()));
    }
    void TearDown() override { xmlhttp::Manager().clearConnectionCache(); }

    std::string Exchange(std::string_view request, int ms = 3000) {
        Raw raw(service.Url());
        EXPECT_TRUE(raw.Connected());
        raw.Send(request);
        return raw.ReadResponse(ms);
    }

    ServiceProcess service;
};

// 200 clients that trickle their heads a line at a time hold no thread: a query meanwhile is
// answered as at any other time. The old layer stopped every other request while they lasted.
TEST_F(HttpLayer, SlowClientsDoNotStopOthers) {
    std::vector<std::unique_ptr<Raw>> slow;
    const char* addresses[] = {"127.0.0.2", "127.0.0.3", "127.0.0.4", "127.0.0.5"};
    for (int i = 0; i < 200; ++i) {
        slow.push_back(std::make_unique<Raw>(service.Url(), addresses[i % 4]));
        ASSERT_TRUE(slow.back()->Connected());
        slow.back()->Send("POST /asp/index.asp HTTP/1.1\r\nHost: x\r\n");
    }
    for (auto& s : slow)
        s->Send("X-Slow: 1\r\n");
    QElapsedTimer clock;
    clock.start();
    const auto settings = gateway::Query(statements::SelectSystemSettings());
    EXPECT_TRUE(settings.HasRecord(1));
    EXPECT_LT(clock.elapsed(), 2000);
    for (auto& s : slow)
        s->Send("X-Slow: 2\r\n");
    EXPECT_TRUE(gateway::ReadSystemSettings());
}

// One address holds at most 64 connections; the ones past that are turned away, and other
// addresses are served meanwhile. The service accepts on several threads, so which of the
// connections it turns away is not fixed: only how many.
TEST_F(HttpLayer, OneAddressHoldsABoundedNumberOfConnections) {
    std::vector<std::unique_ptr<Raw>> idle;
    for (int i = 0; i < 66; ++i) {
        idle.push_back(std::make_unique<Raw>(service.Url(), "127.0.0.9"));
        ASSERT_TRUE(idle.back()->Connected());
    }
    std::vector<bool> closed(idle.size(), false);
    int turnedAway = 0;
    QElapsedTimer clock;
    clock.start();
    while (turnedAway < 2 && clock.elapsed() < 5000) {
        for (size_t i = 0; i < idle.size(); ++i) {
            if (!closed[i] && idle[i]->ClosedWithin(2)) {
                closed[i] = true;
                ++turnedAway;
            }
        }
    }
    // A moment more: no connection within the limit is closed after them.
    for (size_t i = 0; i < idle.size(); ++i) {
        if (!closed[i] && idle[i]->ClosedWithin(2))
            ++turnedAway;
    }
    EXPECT_EQ(turnedAway, 2);
    EXPECT_TRUE(gateway::ReadSystemSettings());
}

TEST_F(HttpLayer, SilentConnectionIsClosedAfterTheTimeOut) {
    ServiceProcess::Options options;
    options.extraArguments << "--read-timeout"
                           << "1";
    ServiceProcess quick(options);
    ASSERT_TRUE(quick.Start()) << quick.Error().toStdString();
    Raw silent(quick.Url());
    ASSERT_TRUE(silent.Connected());
    silent.Send("GET /healthz HTTP/1.1\r\n");
    EXPECT_TRUE(silent.ClosedWithin(4000));
}

// A head over the connection's memory is refused with 431 and costs no lasting memory.
TEST_F(HttpLayer, HugeHeadsAreRefusedAndLeaveNoMemoryBehind) {
    std::string head = "GET /healthz HTTP/1.1\r\nHost: x\r\n";
    const std::string line = "X-Padding: " + std::string(8000, 'a') + "\r\n";
    while (head.size() < 300 * 1024)
        head += line;
    EXPECT_EQ(StatusOf(Exchange(head + "\r\n")), 431);

    const double before = service.ResidentMegabytes();
    std::vector<std::thread> clients;
    for (int i = 0; i < 16; ++i) {
        clients.emplace_back([this, &line, i] {
            const std::string from = "127.0.0." + std::to_string(20 + i);
            Raw raw(service.Url(), from.c_str());
            raw.Send("GET /healthz HTTP/1.1\r\nHost: x\r\n");
            for (int k = 0; k < 3750; ++k) {  // 30,000 KB of header lines offered
                if (!raw.Send(line))
                    break;
            }
            raw.Read(2000);
        });
    }
    for (std::thread& t : clients)
        t.join();
    EXPECT_LT(service.ResidentMegabytes() - before, 50.0);
    EXPECT_TRUE(gateway::ReadSystemSettings());
}

TEST_F(HttpLayer, AmbiguousFramingIsRefusedAtOnce) {
    const std::string post = "POST /asp/index.asp HTTP/1.1\r\nHost: x\r\n";
    struct Case {
        const char* what;
        std::string request;
    };
    const Case cases[] = {
        {"two lengths", post + "Content-Length: 5\r\nContent-Length: 6\r\n\r\nzc=51"},
        {"blank before the colon",
         post + "Transfer-Encoding : chunked\r\n\r\n5\r\nzc=51\r\n0\r\n\r\n"},
        {"identity, chunked",
         post + "Transfer-Encoding: identity, chunked\r\n\r\n5\r\nzc=51\r\n0\r\n\r\n"},
        {"length and chunked",
         post + "Content-Length: 5\r\nTransfer-Encoding: chunked\r\n\r\nzc=51"},
        {"a line without colon", post + "NoColon\r\nContent-Length: 5\r\n\r\nzc=51"},
        {"negative length", post + "Content-Length: -1\r\n\r\n"},
    };
    for (const Case& c : cases) {
        QElapsedTimer clock;
        clock.start();
        const std::string response = Exchange(c.request);
        EXPECT_EQ(StatusOf(response), 400) << c.what << ": " << response.substr(0, 60);
        EXPECT_LT(clock.elapsed(), 2000) << c.what;
    }
}

TEST_F(HttpLayer, LengthsOverTheLimitAndMissingLengthsAreAnsweredAtOnce) {
    QElapsedTimer clock;
    clock.start();
    // Far over the limit: refused before the body comes, whatever the client then sends.
    Raw huge(service.Url());
    huge.Send("POST /asp/index.asp HTTP/1.1\r\nHost: x\r\nContent-Length: 9000000000\r\n\r\n");
    const std::string answer = huge.ReadResponse(2000);
    EXPECT_EQ(StatusOf(answer), 413);
    EXPECT_NE(answer.find("TOOBIG"), std::string::npos);
    EXPECT_LT(clock.elapsed(), 2000);
    // No length at all: an empty body, refused as no form.
    clock.restart();
    const std::string none = Exchange("POST /asp/index.asp HTTP/1.1\r\nHost: x\r\n\r\n");
    EXPECT_EQ(StatusOf(none), 400);
    EXPECT_LT(clock.elapsed(), 2000);
    // A client that sends a body a little over the limit still reads the refusal.
    ServiceProcess::Options options;
    options.extraArguments << "--max-body"
                           << "4096";
    ServiceProcess small(options);
    ASSERT_TRUE(small.Start()) << small.Error().toStdString();
    Raw over(small.Url());
    const std::string body = "zc=51&x=" + std::string(6000, '1');
    over.Send("POST /asp/index.asp HTTP/1.1\r\nHost: x\r\nContent-Length: " +
              std::to_string(body.size()) + "\r\n\r\n" + body);
    EXPECT_EQ(StatusOf(over.ReadResponse(3000)), 413);
}

TEST_F(HttpLayer, PipelinedRequestsAllGetTheirAnswersInOrder) {
    std::string requests;
    for (const char* path : {"/healthz", "/nothing-1", "/healthz", "/nothing-2"})
        requests += std::string("GET ") + path + " HTTP/1.1\r\nHost: x\r\n\r\n";
    Raw raw(service.Url());
    raw.Send(requests);
    std::string responses;
    QElapsedTimer clock;
    clock.start();
    while (CountResponses(responses) < 4 && clock.elapsed() < 3000)
        responses += raw.Read(200);
    ASSERT_EQ(CountResponses(responses), 4) << responses;
    std::vector<int> statuses;
    for (size_t at = responses.find("HTTP/1.1 "); at != std::string::npos;
         at = responses.find("HTTP/1.1 ", at + 1))
        statuses.push_back(std::stoi(responses.substr(at + 9, 3)));
    EXPECT_EQ(statuses, (std::vector<int>{200, 404, 200, 404}));
}

// Password hashing runs on threads of its own: while a burst of sign-ins is hashed at the
// real cost, a query is answered without waiting for them.
TEST_F(HttpLayer, QueriesDoNotWaitBehindSignIns) {
    ServiceProcess::Options options;
    options.hashCost = QStringLiteral("standard");
    options.extraArguments << "--hash-threads"
                           << "1";
    ServiceProcess hashing(options);
    ASSERT_TRUE(hashing.Start()) << hashing.Error().toStdString();
    // Accounts that do not exist cost a hash all the same.
    std::vector<std::unique_ptr<Raw>> signIns;
    for (int i = 0; i < 12; ++i) {
        const QByteArray lookup = gateway::StatementBody(
            gateway::Command::Query,
            statements::SignInLookup(i % 2 ? QString::number(20000000 + i) : QStringLiteral("88888888"), u"wrong"));
        signIns.push_back(std::make_unique<Raw>(hashing.Url()));
        signIns.back()->Send("POST /asp/index.asp HTTP/1.1\r\nHost: x\r\nContent-Length: " +
                             std::to_string(lookup.size()) + "\r\n\r\n" + lookup.toStdString());
    }
    QElapsedTimer clock;
    clock.start();
    const QByteArray settings =
        gateway::StatementBody(gateway::Command::Query, statements::SelectSystemSettings());
    Raw query(hashing.Url());
    query.Send("POST /asp/index.asp HTTP/1.1\r\nHost: x\r\nContent-Length: " +
               std::to_string(settings.size()) + "\r\n\r\n" + settings.toStdString());
    const std::string queried = query.ReadResponse(5000);
    const qint64 queryMs = clock.elapsed();
    EXPECT_EQ(StatusOf(queried), 200);
    // Every sign-in is answered in the end, one after another on the one hashing thread.
    int answered = 0;
    for (auto& s : signIns)
        answered += StatusOf(s->ReadResponse(20000)) == 200;
    const qint64 allMs = clock.elapsed();
    EXPECT_EQ(answered, 12);
    EXPECT_LT(queryMs * 3, allMs) << "query " << queryMs << " ms, sign-ins " << allMs << " ms";
}

}  // namespace
