#pragma once
// A plain HTTP GET for tests, waiting in an event loop with a deadline.

#include <QByteArray>
#include <QString>

struct HttpResult {
    int status = 0;  // 0: no response
    QByteArray contentType;
    QByteArray body;
};

HttpResult HttpGet(const QString& url);

// A GET with the request target sent exactly as given ("/biaobai/%2e%2e/x"), for addresses that
// an ordinary client would tidy up first. url gives scheme, host and port.
HttpResult RawGet(const QString& url, const QByteArray& target);
