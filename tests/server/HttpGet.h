#pragma once
// A plain HTTP GET for tests, waiting in an event loop with a deadline.

#include <QByteArray>
#include <QString>

#include <QList>
#include <QPair>

struct HttpResult {
    int status = 0;  // 0: no response
    QByteArray contentType;
    QByteArray body;
    QList<QPair<QByteArray, QByteArray>> headers;  // as received

    QByteArray Header(const QByteArray& name) const;
};

// Extra request headers, "Range: bytes=0-9" style pairs.
HttpResult HttpGet(const QString& url, const QList<QPair<QByteArray, QByteArray>>& headers = {});

// A GET with the request target sent exactly as given ("/biaobai/%2e%2e/x"), for addresses that
// an ordinary client would tidy up first. url gives scheme, host and port.
HttpResult RawGet(const QString& url, const QByteArray& target);
