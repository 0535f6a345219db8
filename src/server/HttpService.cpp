#include "HttpService.h"

#include "GatewayProtocol.h"
#include "RequestBody.h"
#include "SessionTokens.h"

#include <httplib.h>

#include <sys/socket.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>

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

// What the handlers of one request tell the log. httplib runs a request start to end on one
// thread, so the note of the thread is the note of its request.
struct RequestNote {
    SteadyClock::time_point start;
    bool started = false;
    bool logged = false;
};
thread_local RequestNote t_note;

// The target as it came, with anything unprintable or non-ASCII percent-encoded, for the log.
QString PrintableTarget(const std::string& target) {
    QString out;
    for (unsigned char c : target.substr(0, 200)) {
        if (c > 0x20 && c < 0x7f && c != '"') {
            out += QLatin1Char(static_cast<char>(c));
        } else {
            out += QStringLiteral("%%1").arg(c, 2, 16, QLatin1Char('0')).toUpper();
        }
    }
    return out;
}

std::string StatusLine(int status) {
    switch (status) {
        case 400:
            return "400 Bad Request";
        case 404:
            return "404 Not Found";
        case 405:
            return "405 Method Not Allowed";
        case 414:
            return "414 URI Too Long";
        default:
            return std::to_string(status);
    }
}

bool IsHostChar(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '.' ||
           c == '-' || c == ':' || c == '[' || c == ']';
}

}  // namespace

class HttpService::Impl {
public:
    Impl(const ServeOptions& options, Store& store, GatewayHandler& gateway, const SiteFiles& site,
         RequestLog& log)
        : options_(options), store_(store), gateway_(gateway), site_(site), log_(log) {
        const int threads = options.threads;
        server_.new_task_queue = [threads] {
            return new httplib::ThreadPool(static_cast<size_t>(threads));
        };
        server_.set_payload_max_length(static_cast<size_t>(options.maxBodyBytes));
        server_.set_read_timeout(options.readTimeoutSeconds, 0);
        server_.set_write_timeout(options.writeTimeoutSeconds, 0);
        server_.set_keep_alive_max_count(1000);
        server_.set_keep_alive_timeout(5);
        server_.set_tcp_nodelay(true);
        // Only SO_REUSEADDR: httplib's default adds SO_REUSEPORT, which would let a second
        // service start on a port already in use. The socket is kept to widen its backlog.
        server_.set_socket_options([this](int socket) {
            const int yes = 1;
            setsockopt(socket, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
            listenSocket_ = socket;
        });
        Routes();
    }

    int Bind(const QString& host, int port) {
        const std::string h = host.toStdString();
        const int bound =
            port == 0 ? server_.bind_to_any_port(h) : (server_.bind_to_port(h, port) ? port : -1);
        if (bound > 0) {
            // httplib listens with a backlog of 5; under bursts of new connections the kernel
            // then drops handshakes, which clients retry only after a second.
            ::listen(listenSocket_, SOMAXCONN);
            fallbackHost_ =
                (host.contains(QLatin1Char(':')) ? QLatin1Char('[') + host + QLatin1Char(']')
                                                 : host) +
                QLatin1Char(':') + QString::number(bound);
        }
        return bound;
    }

    bool Run() {
        {
            std::lock_guard lock(mutex_);
            if (stopRequested_)
                return true;
            starting_ = true;
        }
        const bool ok = server_.listen_after_bind();
        {
            std::lock_guard lock(mutex_);
            starting_ = false;
        }
        changed_.notify_all();
        return ok;
    }

    void Stop() {
        std::unique_lock lock(mutex_);
        stopRequested_ = true;
        // Between Run's start and the start of httplib's accept loop a stop would be lost;
        // wait for the loop to run (or for Run to end) before stopping it.
        while (starting_ && !server_.is_running()) {
            changed_.wait_for(lock, std::chrono::milliseconds(1));
        }
        server_.stop();
    }

    bool IsRunning() const { return server_.is_running(); }

private:
    void Routes() {
        server_.set_pre_routing_handler([](const httplib::Request&, httplib::Response&) {
            t_note.start = SteadyClock::now();
            t_note.started = true;
            t_note.logged = false;
            return httplib::Server::HandlerResponse::Unhandled;
        });
        // Called after every response has been written: the next request starts afresh.
        server_.set_logger(
            [](const httplib::Request&, const httplib::Response&) { t_note = RequestNote{}; });
        server_.set_error_handler(httplib::Server::HandlerWithResponse(
            [this](const httplib::Request& req, httplib::Response& res) {
                if (res.status == 413 && !t_note.logged) {
                    res.set_content(refusal::kTooBig, "text/plain; charset=GBK");
                    Log(req, res.status, RequestWhat(req),
                        QStringLiteral("TOOBIG body over %1 bytes").arg(options_.maxBodyBytes));
                } else if (!t_note.logged) {
                    if (res.body.empty()) {
                        res.set_content(StatusLine(res.status), "text/plain; charset=utf-8");
                    }
                    Log(req, res.status, RequestWhat(req), QStringLiteral("no such address"));
                }
                return httplib::Server::HandlerResponse::Handled;
            }));

        // The body is read here rather than by httplib: httplib refuses form bodies over 8 KiB,
        // and an uploaded page is far larger.
        server_.Post(
            gateway::kGatewayPath, [this](const httplib::Request& req, httplib::Response& res,
                                          const httplib::ContentReader& reader) {
                std::string body;
                const bool read = reader([&body](const char* data, size_t length) {
                    body.append(data, length);
                    return true;
                });
                if (!read) {
                    if (res.status != 413)
                        res.status = 400;
                    res.set_content(res.status == 413 ? refusal::kTooBig : "BADFORM",
                                    "text/plain; charset=GBK");
                    Log(req, res.status, QStringLiteral("zc=?"),
                        res.status == 413
                            ? QStringLiteral("TOOBIG body over %1 bytes").arg(options_.maxBodyBytes)
                            : QStringLiteral("BADFORM body not received"));
                    return;
                }
                Gateway(req, res, body);
            });
        server_.Post(gateway::kGatewayPath,
                     [this](const httplib::Request& req, httplib::Response& res) {
                         Gateway(req, res, req.body);
                     });
        server_.Get(R"(/love/(.*))", [this](const httplib::Request& req, httplib::Response& res) {
            PublishedPage(req, res);
        });
        server_.Get("/healthz", [this](const httplib::Request& req, httplib::Response& res) {
            const bool ok = store_.Healthy();
            res.status = ok ? 200 : 503;
            res.set_content(ok ? "ok" : "database unavailable", "text/plain; charset=utf-8");
            Log(req, res.status, RequestWhat(req),
                ok ? QStringLiteral("healthy") : QStringLiteral("unhealthy"));
        });
        for (const SitePage& page : kSitePages) {
            const QString file = QLatin1String(page.file);
            server_.Get(page.path,
                        [this, file](const httplib::Request& req, httplib::Response& res) {
                            ServeFile(req, res, QString(), file);
                        });
        }
        for (const char* folder : kSiteFolders) {
            const QString name = QLatin1String(folder);
            server_.Get(std::string("/") + folder + "/(.+)",
                        [this, name](const httplib::Request& req, httplib::Response& res) {
                            ServeFile(req, res, name, QString::fromStdString(req.matches[1]));
                        });
        }
    }

    static QString RequestWhat(const httplib::Request& req) {
        return QString::fromStdString(req.method) + QLatin1Char(' ') + PrintableTarget(req.target);
    }

    void Log(const httplib::Request& req, int status, const QString& what, const QString& outcome) {
        const auto now = SteadyClock::now();
        LogEntry entry;
        entry.time = LogTimestamp();
        entry.client = QString::fromStdString(req.remote_addr);
        entry.what = what;
        entry.outcome = outcome;
        entry.status = status;
        entry.milliseconds =
            t_note.started ? std::chrono::duration<double, std::milli>(now - t_note.start).count()
                           : 0.0;
        log_.Write(entry);
        t_note.logged = true;
    }

    QString SiteAddress(const httplib::Request& req) const {
        const std::string host = req.get_header_value("Host");
        bool usable = !host.empty() && host.size() <= 255;
        for (char c : host)
            usable = usable && IsHostChar(c);
        return QStringLiteral("http://") +
               (usable ? QString::fromLatin1(host.c_str()) : fallbackHost_);
    }

    void Gateway(const httplib::Request& req, httplib::Response& res, const std::string& body) {
        RequestContext context;
        context.clientAddress = QString::fromStdString(req.remote_addr);
        context.siteAddress = SiteAddress(req);
        context.sessionToken = SessionTokenFromCookies(req.get_header_value("Cookie"));
        const GatewayReply reply = gateway_.Handle(
            context, QByteArrayView(body.data(), static_cast<qsizetype>(body.size())));
        res.status = reply.status;
        res.set_header("Cache-Control", "no-store");
        if (!reply.setCookie.empty())
            res.set_header("Set-Cookie", reply.setCookie);
        res.set_content(reply.body.constData(), static_cast<size_t>(reply.body.size()),
                        "text/plain; charset=GBK");
        const QString what =
            reply.code ? QStringLiteral("zc=%1").arg(reply.code) : QStringLiteral("zc=?");
        Log(req, reply.status, what, reply.outcome);
    }

    void PublishedPage(const httplib::Request& req, httplib::Response& res) {
        const QString name = QString::fromStdString(req.matches[1]);
        if (!IsValidPageName(name)) {
            res.status = 400;
            res.set_content(refusal::kBadName, "text/plain; charset=utf-8");
            Log(req, res.status, RequestWhat(req), QStringLiteral("BADNAME page"));
            return;
        }
        const auto page = store_.Page(name);
        if (!page) {
            res.status = 404;
            res.set_content("404 Not Found", "text/plain; charset=utf-8");
            Log(req, res.status, RequestWhat(req), QStringLiteral("no such page"));
            return;
        }
        res.set_header("Cache-Control", "no-cache");
        res.set_content(page->constData(), static_cast<size_t>(page->size()),
                        "text/html; charset=GBK");
        Log(req, 200, RequestWhat(req), QStringLiteral("page"));
    }

    void ServeFile(const httplib::Request& req, httplib::Response& res, const QString& folder,
                   const QString& relative) {
        const auto file = site_.Read(folder, relative);
        if (!file) {
            res.status = 404;
            res.set_content("404 Not Found", "text/plain; charset=utf-8");
            Log(req, res.status, RequestWhat(req), QStringLiteral("no such file"));
            return;
        }
        res.set_header("X-Content-Type-Options", "nosniff");
        if (folder == QLatin1String("biaobai")) {
            // The published pages load these from any origin, sandboxed ones included (their
            // origin is opaque), and scripts may fetch them; they change with a release only.
            res.set_header("Access-Control-Allow-Origin", "*");
            res.set_header("Cache-Control", "public, max-age=3600");
            // Browsers play and seek music and video by byte ranges, which httplib answers.
            res.set_header("Accept-Ranges", "bytes");
        } else {
            res.set_header("Cache-Control", "max-age=300");
        }
        res.set_content(file->content.constData(), static_cast<size_t>(file->content.size()),
                        file->contentType.c_str());
        Log(req, 200, RequestWhat(req), QStringLiteral("file"));
    }

    const ServeOptions options_;
    Store& store_;
    GatewayHandler& gateway_;
    const SiteFiles& site_;
    RequestLog& log_;
    httplib::Server server_;
    QString fallbackHost_;
    int listenSocket_ = -1;

    std::mutex mutex_;
    std::condition_variable changed_;
    bool stopRequested_ = false;
    bool starting_ = false;
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
