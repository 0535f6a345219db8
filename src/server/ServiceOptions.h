#pragma once
// The command line of the service program and its configuration file.
//
//   zenri-service COMMAND [ARGUMENTS] [--db PATH] [--config FILE] [OPTIONS]
//
// A configuration file holds "name = value" lines with the names of the long options
// ("listen = 127.0.0.1:8080", "db = data/service.db"); "#" starts a comment line. Options
// given on the command line win over the file.

#include "server/PasswordHasher.h"

#include <QString>
#include <QStringList>

#include <map>
#include <optional>

namespace server {

struct CommandLine {
    QStringList positional;              // the command and its arguments
    std::map<QString, QString> options;  // long option name (without "--") -> value
    bool demo = false;
    bool help = false;
};

// Options are "--name value" or "--name=value"; "--demo" and "--help" ("-h") take no value.
// Fails on an unknown option or a missing value.
std::optional<CommandLine> ParseCommandLine(const QStringList& arguments, QString* error);

// Reads a configuration file into option name -> value. Fails on an unreadable file, a line
// that is not "name = value", or an unknown name (with the line number).
std::optional<std::map<QString, QString>> ReadConfigFile(const QString& path, QString* error);

// The options of the command line over those of its configuration file (--config).
std::optional<std::map<QString, QString>> MergedOptions(const CommandLine& line, QString* error);

struct ServeOptions {
    QString host = QStringLiteral("127.0.0.1");
    int port = 8080;
    QString database;
    QString site;       // empty: the site folder next to the program
    QString publicUrl;  // how the world reaches the service; empty: from each request's Host
    // Reverse proxies whose X-Real-IP header names the client (for the log and the limits).
    QStringList trustedProxies;
    HashCost hashCost = HashCost::Standard;
    int signInPerMinute = 30;
    int registrationPerMinute = 10;
    int lookupsPerMinute = 120;               // name lookups per client address
    int failuresPerAddress = 5;               // failed sign-ins of one account from one address
                                              // in an hour
    qint64 maxPageBytes = qint64{1} << 20;    // one published page
    qint64 pageQuotaBytes = qint64{2} << 20;  // every page of one account
    qint64 maxBodyBytes = qint64{8} << 20;
    // The body bytes of every request in flight together, and of one client address's.
    qint64 bodyBudgetBytes = qint64{256} << 20;
    qint64 addressBodyBudgetBytes = qint64{32} << 20;
    int readTimeoutSeconds = 10;  // a connection that sends nothing for this long is closed
    // A request head must be whole this long after its first byte; a body, after its head,
    // keeps up at least this rate once as long again has passed.
    int headTimeoutSeconds = 10;
    qint64 minBodyBytesPerSecond = 16 * 1024;
    // A reply that does not move for this long is dropped with its connection. Longer than the
    // read time-out: a reader on a slow line takes a while to make room for more of a big file.
    int writeTimeoutSeconds = 30;
    int threads = 2;                 // threads that serve connections
    int hashThreads = 2;             // threads that hash passwords
    int maxConnections = 1000;       // open connections in all
    int connectionsPerAddress = 64;  // open connections from one client address
    qint64 headerBytes = 32 * 1024;  // a request's line and headers; more gets 431
    int sessionDays = 30;
};

// Fills the options of "serve" (and the hash cost of "init") from merged option values;
// "listen" and "db" are required for serve.
std::optional<ServeOptions> ResolveServeOptions(const std::map<QString, QString>& values,
                                                bool forServe, QString* error);

// "HOST:PORT" with a port from 0 to 65535 (0: any free port); "[::1]:8080" for IPv6.
bool ParseListenAddress(const QString& text, QString* host, int* port);

}  // namespace server
