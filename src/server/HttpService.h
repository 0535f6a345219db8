#pragma once
// The service on HTTP: routes registered in one place, each handler a short function that
// hands the work to the gateway handler, the page store or the site files.
//
//   POST /asp/index.asp          the gateway page
//   GET  /love/<name>            a published page, the exact bytes uploaded, as GBK HTML
//   GET  /  /download  /support  /shop  /shop/kefu     the service's own pages
//   GET  /static/...  /adverts/...  /biaobai/...       files of the site folder
//   GET  /healthz                "ok" while the database answers

#include "server/GatewayHandler.h"
#include "server/RequestLog.h"
#include "server/ServiceOptions.h"
#include "server/SiteFiles.h"
#include "server/Store.h"

#include <memory>

namespace server {

class HttpService {
public:
    HttpService(const ServeOptions& options, Store& store, GatewayHandler& gateway,
                const SiteFiles& site, RequestLog& log);
    ~HttpService();
    HttpService(const HttpService&) = delete;
    HttpService& operator=(const HttpService&) = delete;

    // Binds the listening socket; returns the port (the real one for port 0), or -1.
    int Bind(const QString& host, int port);
    // Serves until Stop(); false when it could not serve at all.
    bool Run();
    // Safe from any thread. Stopping before Run has started makes Run return at once.
    void Stop();
    bool IsRunning() const;

private:
    class Impl;
    std::unique_ptr<Impl> impl_;
};

}  // namespace server
