#include "server/Serve.h"

#include "server/GatewayHandler.h"
#include "server/HttpService.h"
#include "server/PasswordHasher.h"
#include "server/RequestLog.h"
#include "server/ServiceProgram.h"
#include "server/SiteFiles.h"
#include "server/Store.h"

#include <QDateTime>
#include <QHostAddress>

#include <pthread.h>

#include <csignal>
#include <cstdio>
#include <thread>

namespace server {
namespace {

// The signals that stop the service. They are blocked in every thread and taken by one
// waiting thread, so that the stop runs as ordinary code rather than in a signal handler.
sigset_t StopSignals() {
    sigset_t set;
    sigemptyset(&set);
    sigaddset(&set, SIGTERM);
    sigaddset(&set, SIGINT);
    return set;
}

}  // namespace

int Serve(const ServeOptions& options, const QString& programFolder, QTextStream& out,
          QTextStream& err) {
    // Before any thread exists, so that every thread inherits the mask.
    const sigset_t stopSignals = StopSignals();
    pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);

    QString error;
    auto store = OpenStore(options.database, &error);
    if (!store || !store->Initialise(&error)) {
        err << "cannot use the database: " << error << Qt::endl;
        return kExitFailed;
    }
    store->PurgeSessions(QDateTime::currentSecsSinceEpoch() - qint64{options.sessionDays} * 86400);

    const SiteFiles site(options.site.isEmpty() ? DefaultSiteFolder(programFolder) : options.site);
    if (!site.Exists()) {
        err << "warning: no site folder at " << site.Root() << "; its pages will be missing"
            << Qt::endl;
    }

    PasswordHasher hasher(options.hashCost);
    GatewayOptions gatewayOptions;
    gatewayOptions.signInPerMinute = options.signInPerMinute;
    gatewayOptions.registrationPerMinute = options.registrationPerMinute;
    gatewayOptions.lookupsPerMinute = options.lookupsPerMinute;
    gatewayOptions.failuresPerAddress = options.failuresPerAddress;
    gatewayOptions.maxPageBytes = options.maxPageBytes;
    gatewayOptions.pageQuotaBytes = options.pageQuotaBytes;
    gatewayOptions.sessionDays = options.sessionDays;
    GatewayHandler gateway(*store, hasher, gatewayOptions);
    RequestLog log(stderr);
    HttpService http(options, *store, gateway, site, log);

    const int port = http.Bind(options.host, options.port);
    if (port < 0) {
        err << "cannot listen on " << options.host << ":" << options.port << Qt::endl;
        return kExitFailed;
    }
    const QString shownHost =
        options.host.contains(QLatin1Char(':')) ? "[" + options.host + "]" : options.host;
    out << "listening on http://" << shownHost << ":" << port << Qt::endl;
    // Without a public address, the addresses in replies follow each request's Host header:
    // right for a local run, wrong for a service others reach.
    if (options.publicUrl.isEmpty() && !QHostAddress(options.host).isLoopback()) {
        err << "warning: the service listens beyond this machine without --public-url; the "
               "addresses in its replies follow each request's Host header"
            << Qt::endl;
    }
    err << "site folder " << site.Root() << ", password hash cost "
        << HashCostName(options.hashCost) << Qt::endl;

    std::thread waiter([&http, stopSignals] {
        int signal = 0;
        sigwait(&stopSignals, &signal);
        http.Stop();
    });
    const bool served = http.Run();
    // Wake the waiter when the service ended for another reason.
    pthread_kill(waiter.native_handle(), SIGTERM);
    waiter.join();
    err << "stopped" << Qt::endl;
    return served ? kExitOk : kExitFailed;
}

}  // namespace server
