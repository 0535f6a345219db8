#include "server/DatabaseLocation.h"

#include <QUrl>
#include <QUrlQuery>

namespace server {
namespace {

bool HasScheme(const QString& location) {
    return location.startsWith(QLatin1String("postgresql://")) ||
           location.startsWith(QLatin1String("postgres://"));
}

// A value as libpq reads it between single quotes.
QString Quoted(const QString& value) {
    QString out = value;
    out.replace(QLatin1Char('\\'), QLatin1String("\\\\"));
    out.replace(QLatin1Char('\''), QLatin1String("\\'"));
    return QLatin1Char('\'') + out + QLatin1Char('\'');
}

}  // namespace

bool IsPostgresLocation(const QString& location) {
    return HasScheme(location);
}

std::optional<PostgresAddress> ParsePostgresLocation(const QString& location, QString* error) {
    const auto fail = [&](const QString& why) -> std::optional<PostgresAddress> {
        if (error)
            *error = why;
        return std::nullopt;
    };
    if (!HasScheme(location))
        return fail(QStringLiteral("not a PostgreSQL address (postgresql://...)"));
    const QUrl url(location, QUrl::StrictMode);
    if (!url.isValid())
        return fail(QStringLiteral("not a valid address: %1").arg(url.errorString()));

    PostgresAddress a;
    a.host = url.host(QUrl::FullyDecoded);
    a.port = url.port(-1);
    a.user = url.userName(QUrl::FullyDecoded);
    a.password = url.password(QUrl::FullyDecoded);
    a.database = url.path(QUrl::FullyDecoded);
    if (a.database.startsWith(QLatin1Char('/')))
        a.database.remove(0, 1);
    // Query items name further parameters; the main ones may come that way too (a socket
    // folder cannot be written as the host part of an address).
    for (const auto& [key, value] : QUrlQuery(url).queryItems(QUrl::FullyDecoded)) {
        if (key.isEmpty())
            return fail(QStringLiteral("a parameter without a name"));
        if (key == QLatin1String("host")) {
            a.host = value;
        } else if (key == QLatin1String("port")) {
            bool ok = false;
            a.port = value.toInt(&ok);
            if (!ok || a.port <= 0 || a.port > 65535)
                return fail(QStringLiteral("port \"%1\" is not a port").arg(value));
        } else if (key == QLatin1String("dbname")) {
            a.database = value;
        } else if (key == QLatin1String("user")) {
            a.user = value;
        } else if (key == QLatin1String("password")) {
            a.password = value;
        } else {
            // The driver turns ";" into a blank in its option string, which would split the
            // value: refuse it rather than connect with something else.
            if (value.contains(QLatin1Char(';')))
                return fail(QStringLiteral("the value of %1 holds a \";\"").arg(key));
            a.parameters.emplace_back(key, value);
        }
    }
    if (a.database.isEmpty())
        return fail(QStringLiteral("no database name (postgresql://HOST/NAME)"));
    return a;
}

std::optional<QString> PostgresLocationFromConnectionString(const QString& text, QString* error) {
    const auto fail = [&](const QString& why) -> std::optional<QString> {
        if (error)
            *error = why;
        return std::nullopt;
    };
    QUrlQuery query;
    qsizetype i = 0;
    const qsizetype n = text.size();
    while (true) {
        while (i < n && text[i].isSpace())
            ++i;
        if (i == n)
            break;
        QString key;
        while (i < n && text[i] != QLatin1Char('=') && !text[i].isSpace())
            key += text[i++];
        while (i < n && text[i].isSpace())
            ++i;
        if (key.isEmpty() || i == n || text[i] != QLatin1Char('='))
            return fail(QStringLiteral("\"%1\" has no value (KEY=VALUE)").arg(key));
        ++i;
        while (i < n && text[i].isSpace())
            ++i;
        QString value;
        if (i < n && text[i] == QLatin1Char('\'')) {
            ++i;
            bool closed = false;
            while (i < n) {
                if (text[i] == QLatin1Char('\\') && i + 1 < n) {
                    value += text[i + 1];
                    i += 2;
                } else if (text[i] == QLatin1Char('\'')) {
                    ++i;
                    closed = true;
                    break;
                } else {
                    value += text[i++];
                }
            }
            if (!closed)
                return fail(QStringLiteral("the value of %1 has no closing quote").arg(key));
        } else {
            while (i < n && !text[i].isSpace()) {
                if (text[i] == QLatin1Char('\\') && i + 1 < n)
                    ++i;
                value += text[i++];
            }
        }
        query.addQueryItem(key, QString::fromLatin1(QUrl::toPercentEncoding(value)));
    }
    if (query.isEmpty())
        return fail(QStringLiteral("an empty connection string"));
    return QStringLiteral("postgresql://?") + query.toString(QUrl::FullyEncoded);
}

QString ConnectOptions(const PostgresAddress& address) {
    QStringList options;
    for (const auto& [key, value] : address.parameters)
        options << key + QLatin1Char('=') + Quoted(value);
    return options.join(QLatin1Char(' '));
}

QString Redacted(const QString& location) {
    if (!HasScheme(location))
        return location;
    QUrl url(location);
    if (!url.password().isEmpty())
        url.setPassword(QStringLiteral("***"));
    QUrlQuery query(url);
    if (query.hasQueryItem(QStringLiteral("password"))) {
        query.removeAllQueryItems(QStringLiteral("password"));
        query.addQueryItem(QStringLiteral("password"), QStringLiteral("***"));
        url.setQuery(query);
    }
    return url.toString();
}

}  // namespace server
