#include "HttpGet.h"

#include <QDeadlineTimer>
#include <QEventLoop>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QTcpSocket>
#include <QTimer>
#include <QUrl>

QByteArray HttpResult::Header(const QByteArray& name) const {
    for (const auto& [key, value] : headers) {
        if (key.compare(name, Qt::CaseInsensitive) == 0)
            return value;
    }
    return QByteArray();
}

HttpResult HttpGet(const QString& url, const QList<QPair<QByteArray, QByteArray>>& headers) {
    QNetworkAccessManager manager;
    QNetworkRequest request{QUrl(url)};
    for (const auto& [name, value] : headers)
        request.setRawHeader(name, value);
    QNetworkReply* reply = manager.get(request);
    QEventLoop loop;
    QObject::connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
    QTimer::singleShot(30000, &loop, &QEventLoop::quit);
    if (!reply->isFinished())
        loop.exec();
    HttpResult result;
    if (reply->isFinished()) {
        result.status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
        result.contentType = reply->rawHeader("Content-Type");
        result.headers = reply->rawHeaderPairs();
        result.body = reply->readAll();
    }
    reply->deleteLater();
    return result;
}

HttpResult RawGet(const QString& url, const QByteArray& target) {
    const QUrl base(url);
    QTcpSocket socket;
    socket.connectToHost(base.host(), static_cast<quint16>(base.port()));
    HttpResult result;
    if (!socket.waitForConnected(30000))
        return result;
    socket.write("GET " + target + " HTTP/1.1\r\nHost: " + base.authority().toLatin1() +
                 "\r\nConnection: close\r\n\r\n");
    QByteArray response;
    QDeadlineTimer deadline(30000);
    while (!deadline.hasExpired()) {
        if (!socket.waitForReadyRead(static_cast<int>(deadline.remainingTime())))
            break;
        response += socket.readAll();
    }
    response += socket.readAll();
    const qsizetype headerEnd = response.indexOf("\r\n\r\n");
    if (!response.startsWith("HTTP/1.1 ") || headerEnd < 0)
        return result;
    result.status = response.mid(9, 3).toInt();
    for (const QByteArray& line : response.left(headerEnd).split('\n')) {
        if (line.toLower().startsWith("content-type:"))
            result.contentType = line.mid(13).trimmed();
    }
    result.body = response.mid(headerEnd + 4);
    return result;
}
