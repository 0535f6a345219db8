#pragma once
// Raw: a plain TCP connection to the service from a loopback address of choice (all of
// 127.0.0.0/8 is this machine), so that one test can be many clients, and the requests go out
// exactly as written. With the readers of what comes back.
//
//   Raw raw(service.Url(), "127.0.0.7");
//   raw.Send("GET /healthz HTTP/1.1\r\nHost: x\r\n\r\n");
//   EXPECT_EQ(StatusOf(raw.ReadResponse(3000)), 200);

#include <QElapsedTimer>
#include <QString>
#include <QUrl>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <string>
#include <string_view>

// A plain TCP connection to the service from a loopback address of choice (127.0.0.x are all
// this machine's), so that one test can be several clients.
class Raw {
public:
    // A narrow connection takes little at a time: a small receive buffer and small segments
    // keep the sender's socket buffer small too, so that most of a big reply stays with the
    // service until the client reads it, as it does at the end of a slow line.
    enum class Window { Normal, Narrow };

    Raw(const QString& url, const char* from = "127.0.0.1", Window window = Window::Normal) {
        const QUrl base(url);
        fd_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        if (window == Window::Narrow) {
            const int buffer = 1024, segment = 256;
            setsockopt(fd_, SOL_SOCKET, SO_RCVBUF, &buffer, sizeof buffer);
            setsockopt(fd_, IPPROTO_TCP, TCP_MAXSEG, &segment, sizeof segment);
        }
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
    // At most `count` bytes: what has arrived, or the first that arrive within `ms`.
    std::string ReadUpTo(size_t count, int ms) {
        pollfd p{fd_, POLLIN, 0};
        if (::poll(&p, 1, ms) <= 0)
            return {};
        std::string out(count, '\0');
        const ssize_t n = ::recv(fd_, out.data(), count, 0);
        out.resize(n > 0 ? size_t(n) : 0);
        closed_ = closed_ || n <= 0;
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

inline int StatusOf(const std::string& response) {
    if (response.rfind("HTTP/1.1 ", 0) != 0)
        return 0;
    return std::stoi(response.substr(9, 3));
}

inline int CountResponses(const std::string& responses) {
    int n = 0;
    for (size_t at = responses.find("HTTP/1.1 "); at != std::string::npos;
         at = responses.find("HTTP/1.1 ", at + 1))
        ++n;
    return n;
}

inline std::string BodyOf(const std::string& response) {
    const size_t head = response.find("\r\n\r\n");
    return head == std::string::npos ? std::string() : response.substr(head + 4);
}

// The Content-Length of a response's head, or -1.
inline qint64 DeclaredLengthOf(const std::string& response) {
    const size_t head = response.find("\r\n\r\n");
    const size_t at = response.find("Content-Length: ");
    return at != std::string::npos && at < head ? std::stoll(response.substr(at + 16)) : -1;
}

// A gateway request of this body, with further header lines (each ending in CRLF).
inline std::string GatewayPost(std::string_view body, std::string_view headers = {}) {
    return "POST /asp/index.asp HTTP/1.1\r\nHost: x\r\n" + std::string(headers) +
           "Content-Length: " + std::to_string(body.size()) + "\r\n\r\n" + std::string(body);
}
