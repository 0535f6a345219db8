#include "server/ServiceOptions.h"

#include "server/DatabaseLocation.h"

#include <QFile>
#include <QHostAddress>
#include <QRegularExpression>

#include <set>

namespace server {
namespace {

const std::set<QString>& ValueOptions() {
    static const std::set<QString> names{QStringLiteral("listen"),
                                         QStringLiteral("db"),
                                         QStringLiteral("pg"),
                                         QStringLiteral("config"),
                                         QStringLiteral("site"),
                                         QStringLiteral("hash-cost"),
                                         QStringLiteral("signin-limit"),
                                         QStringLiteral("register-limit"),
                                         QStringLiteral("max-body"),
                                         QStringLiteral("read-timeout"),
                                         QStringLiteral("write-timeout"),
                                         QStringLiteral("threads"),
                                         QStringLiteral("session-days"),
                                         QStringLiteral("hash-threads"),
                                         QStringLiteral("max-connections"),
                                         QStringLiteral("address-connections"),
                                         QStringLiteral("header-bytes"),
                                         QStringLiteral("public-url"),
                                         QStringLiteral("trusted-proxy"),
                                         QStringLiteral("lookup-limit"),
                                         QStringLiteral("failure-limit"),
                                         QStringLiteral("max-page"),
                                         QStringLiteral("page-quota"),
                                         QStringLiteral("body-budget"),
                                         QStringLiteral("address-body-budget"),
                                         QStringLiteral("head-timeout"),
                                         QStringLiteral("min-body-rate")};
    return names;
}

bool ReadInt(const std::map<QString, QString>& values, const char* name, qint64 min, qint64 max,
             qint64* out, QString* error) {
    const auto it = values.find(QLatin1String(name));
    if (it == values.end())
        return true;
    bool ok = false;
    const qint64 v = it->second.toLongLong(&ok);
    if (!ok || v < min || v > max) {
        *error = QStringLiteral("--%1 needs a whole number from %2 to %3, not \"%4\"")
                     .arg(QLatin1String(name))
                     .arg(min)
                     .arg(max)
                     .arg(it->second);
        return false;
    }
    *out = v;
    return true;
}

// http:// or https://, a host of letters, digits, dots, dashes (or a bracketed IPv6 address),
// an optional port and path: nothing that could break a reply or a header.
bool IsPublicUrl(const QString& url) {
    const qsizetype scheme = url.startsWith(QLatin1String("https://"))  ? 8
                             : url.startsWith(QLatin1String("http://")) ? 7
                                                                        : 0;
    if (scheme == 0 || url.size() == scheme || url.size() > 200)
        return false;
    for (qsizetype i = scheme; i < url.size(); ++i) {
        const char16_t c = url[i].unicode();
        const bool ok = (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') ||
                        (c >= u'0' && c <= u'9') || QStringView(u".-_~:/[]%").contains(QChar(c));
        if (!ok)
            return false;
    }
    return url[scheme] != QLatin1Char('/');
}

}  // namespace

std::optional<CommandLine> ParseCommandLine(const QStringList& arguments, QString* error) {
    CommandLine line;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString& arg = arguments[i];
        if (arg == QLatin1String("--help") || arg == QLatin1String("-h")) {
            line.help = true;
            continue;
        }
        if (arg == QLatin1String("--demo")) {
            line.demo = true;
            continue;
        }
        if (!arg.startsWith(QLatin1String("--"))) {
            line.positional << arg;
            continue;
        }
        QString name = arg.mid(2);
        QString value;
        const qsizetype eq = name.indexOf(QLatin1Char('='));
        if (eq >= 0) {
            value = name.mid(eq + 1);
            name.truncate(eq);
        } else if (ValueOptions().count(name)) {
            if (i + 1 >= arguments.size()) {
                *error = QStringLiteral("--%1 needs a value").arg(name);
                return std::nullopt;
            }
            value = arguments[++i];
        }
        if (!ValueOptions().count(name)) {
            *error = QStringLiteral("unknown option --%1").arg(name);
            return std::nullopt;
        }
        line.options[name] = value;
    }
    return line;
}

std::optional<std::map<QString, QString>> ReadConfigFile(const QString& path, QString* error) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) {
        *error = QStringLiteral("cannot read the configuration file %1").arg(path);
        return std::nullopt;
    }
    std::map<QString, QString> values;
    int number = 0;
    while (!file.atEnd()) {
        ++number;
        const QString line = QString::fromUtf8(file.readLine()).trimmed();
        if (line.isEmpty() || line.startsWith(QLatin1Char('#')))
            continue;
        const qsizetype eq = line.indexOf(QLatin1Char('='));
        const QString name = eq < 0 ? QString() : line.left(eq).trimmed();
        if (name.isEmpty() || name == QLatin1String("config") || !ValueOptions().count(name)) {
            *error = QStringLiteral("%1:%2: expected \"name = value\" with a known name")
                         .arg(path)
                         .arg(number);
            return std::nullopt;
        }
        values[name] = line.mid(eq + 1).trimmed();
    }
    return values;
}

std::optional<std::map<QString, QString>> MergedOptions(const CommandLine& line, QString* error) {
    std::map<QString, QString> values;
    const auto config = line.options.find(QStringLiteral("config"));
    if (config != line.options.end()) {
        auto fromFile = ReadConfigFile(config->second, error);
        if (!fromFile)
            return std::nullopt;
        values = std::move(*fromFile);
    }
    for (const auto& [name, value] : line.options) {
        if (name != QLatin1String("config"))
            values[name] = value;
    }
    return values;
}

bool ParseListenAddress(const QString& text, QString* host, int* port) {
    const qsizetype colon = text.lastIndexOf(QLatin1Char(':'));
    if (colon <= 0)
        return false;
    QString h = text.left(colon);
    if (h.startsWith(QLatin1Char('[')) && h.endsWith(QLatin1Char(']')))
        h = h.mid(1, h.size() - 2);
    bool ok = false;
    const int p = text.mid(colon + 1).toInt(&ok);
    if (!ok || p < 0 || p > 65535 || h.isEmpty())
        return false;
    *host = h;
    *port = p;
    return true;
}

std::optional<ServeOptions> ResolveServeOptions(const std::map<QString, QString>& values,
                                                bool forServe, QString* error) {
    ServeOptions o;
    const auto get = [&](const char* name) -> std::optional<QString> {
        const auto it = values.find(QLatin1String(name));
        if (it == values.end())
            return std::nullopt;
        return it->second;
    };
    if (const auto db = get("db"))
        o.database = *db;
    if (const auto pg = get("pg")) {
        if (!o.database.isEmpty()) {
            *error = QStringLiteral("--db and --pg name two databases: give one");
            return std::nullopt;
        }
        const auto location = PostgresLocationFromConnectionString(*pg, error);
        if (!location) {
            *error = QStringLiteral("--pg: %1").arg(*error);
            return std::nullopt;
        }
        o.database = *location;
    }
    if (o.database.isEmpty()) {
        *error = QStringLiteral("no database given: use --db PATH or --db postgresql://...");
        return std::nullopt;
    }
    if (IsPostgresLocation(o.database) && !ParsePostgresLocation(o.database, error)) {
        *error = QStringLiteral("--db: %1").arg(*error);
        return std::nullopt;
    }
    if (const auto listen = get("listen")) {
        if (!ParseListenAddress(*listen, &o.host, &o.port)) {
            *error = QStringLiteral("--listen needs HOST:PORT, not \"%1\"").arg(*listen);
            return std::nullopt;
        }
    } else if (forServe) {
        *error = QStringLiteral("no address given: use --listen HOST:PORT");
        return std::nullopt;
    }
    if (const auto site = get("site"))
        o.site = *site;
    if (const auto url = get("public-url")) {
        o.publicUrl = *url;
        while (o.publicUrl.endsWith(QLatin1Char('/')))
            o.publicUrl.chop(1);
        if (!IsPublicUrl(o.publicUrl)) {
            *error = QStringLiteral(
                         "--public-url needs an address like https://example.com, "
                         "not \"%1\"")
                         .arg(*url);
            return std::nullopt;
        }
    }
    if (const auto proxies = get("trusted-proxy")) {
        static const QRegularExpression separators(QStringLiteral("[,\\s]+"));
        for (const QString& proxy : proxies->split(separators, Qt::SkipEmptyParts)) {
            if (QHostAddress(proxy).isNull()) {
                *error = QStringLiteral(
                             "--trusted-proxy takes addresses (127.0.0.1,::1), not "
                             "\"%1\"")
                             .arg(proxy);
                return std::nullopt;
            }
            o.trustedProxies << proxy;
        }
    }
    if (const auto cost = get("hash-cost")) {
        const auto parsed = ParseHashCost(*cost);
        if (!parsed) {
            *error = QStringLiteral("--hash-cost is standard, interactive or min, not \"%1\"")
                         .arg(*cost);
            return std::nullopt;
        }
        o.hashCost = *parsed;
    }
    qint64 signIn = o.signInPerMinute, registration = o.registrationPerMinute;
    qint64 maxBody = o.maxBodyBytes, readTimeout = o.readTimeoutSeconds;
    qint64 writeTimeout = o.writeTimeoutSeconds, threads = o.threads, days = o.sessionDays;
    qint64 hashThreads = o.hashThreads, maxConnections = o.maxConnections;
    qint64 perAddress = o.connectionsPerAddress, headerBytes = o.headerBytes;
    qint64 lookups = o.lookupsPerMinute, failures = o.failuresPerAddress;
    qint64 maxPage = o.maxPageBytes, quota = o.pageQuotaBytes;
    qint64 budget = o.bodyBudgetBytes, addressBudget = o.addressBodyBudgetBytes;
    qint64 headTimeout = o.headTimeoutSeconds, bodyRate = o.minBodyBytesPerSecond;
    if (!ReadInt(values, "signin-limit", 0, 1000000, &signIn, error) ||
        !ReadInt(values, "register-limit", 0, 1000000, &registration, error) ||
        !ReadInt(values, "max-body", 1024, qint64{1} << 32, &maxBody, error) ||
        !ReadInt(values, "read-timeout", 1, 3600, &readTimeout, error) ||
        !ReadInt(values, "write-timeout", 1, 3600, &writeTimeout, error) ||
        !ReadInt(values, "threads", 1, 1024, &threads, error) ||
        !ReadInt(values, "session-days", 1, 3650, &days, error) ||
        !ReadInt(values, "hash-threads", 1, 256, &hashThreads, error) ||
        !ReadInt(values, "max-connections", 1, 1000000, &maxConnections, error) ||
        !ReadInt(values, "address-connections", 1, 1000000, &perAddress, error) ||
        !ReadInt(values, "header-bytes", 4096, 1 << 20, &headerBytes, error) ||
        !ReadInt(values, "lookup-limit", 0, 1000000, &lookups, error) ||
        !ReadInt(values, "failure-limit", 0, 1000000, &failures, error) ||
        !ReadInt(values, "max-page", 1024, qint64{1} << 30, &maxPage, error) ||
        !ReadInt(values, "page-quota", 1024, qint64{1} << 40, &quota, error) ||
        !ReadInt(values, "body-budget", 1024, qint64{1} << 40, &budget, error) ||
        !ReadInt(values, "address-body-budget", 1024, qint64{1} << 40, &addressBudget, error) ||
        !ReadInt(values, "head-timeout", 1, 3600, &headTimeout, error) ||
        !ReadInt(values, "min-body-rate", 0, qint64{1} << 30, &bodyRate, error)) {
        return std::nullopt;
    }
    o.signInPerMinute = static_cast<int>(signIn);
    o.registrationPerMinute = static_cast<int>(registration);
    o.maxBodyBytes = maxBody;
    o.readTimeoutSeconds = static_cast<int>(readTimeout);
    o.writeTimeoutSeconds = static_cast<int>(writeTimeout);
    o.threads = static_cast<int>(threads);
    o.sessionDays = static_cast<int>(days);
    o.hashThreads = static_cast<int>(hashThreads);
    o.maxConnections = static_cast<int>(maxConnections);
    o.connectionsPerAddress = static_cast<int>(perAddress);
    o.headerBytes = headerBytes;
    o.lookupsPerMinute = static_cast<int>(lookups);
    o.failuresPerAddress = static_cast<int>(failures);
    o.maxPageBytes = maxPage;
    o.pageQuotaBytes = quota;
    o.bodyBudgetBytes = budget;
    o.addressBodyBudgetBytes = addressBudget;
    o.headTimeoutSeconds = static_cast<int>(headTimeout);
    o.minBodyBytesPerSecond = bodyRate;
    return o;
}

}  // namespace server
