#include "XmlHttp.h"

#include "Codepage936.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QPointer>
#include <QTimer>

namespace xmlhttp {
namespace {

int g_timeoutMs = 20000;

Observer& CurrentObserver() {
    static Observer observer;
    return observer;
}

// A reply counts as delivered when the server answered with a status line and the whole body
// arrived; HTTP error statuses are delivered replies, transport errors are not.
bool WasDelivered(const QNetworkReply& reply, bool timedOut) {
    if (timedOut)
        return false;
    if (!reply.attribute(QNetworkRequest::HttpStatusCodeAttribute).isValid())
        return false;
    const int error = reply.error();
    return error == QNetworkReply::NoError || (error >= 201 && error <= 299) ||
           (error >= 401 && error <= 499);
}

}  // namespace

QNetworkAccessManager& Manager() {
    static QPointer<QNetworkAccessManager> manager;
    if (!manager)
        manager = new QNetworkAccessManager(QCoreApplication::instance());
    return *manager;
}

void SetTimeoutMs(int milliseconds) {
    g_timeoutMs = milliseconds > 0 ? milliseconds : 20000;
}
int TimeoutMs() {
    return g_timeoutMs;
}
void SetObserver(Observer observer) {
    CurrentObserver() = std::move(observer);
}

PostReply Post(const QString& address, const QByteArray& body) {
    QNetworkRequest request{QUrl(address)};
    // The headers of the old system request object, in its order; the body is ASCII, so its
    // length in characters is its length in bytes.
    request.setRawHeader("Accept", "*/*");
    request.setRawHeader("Accept-Language", "zh-cn");
    request.setRawHeader("User-Agent",
                         "Mozilla/4.0 (compatible; MSIE 8.0; Windows NT 5.1; Trident/4.0)");
    request.setRawHeader("Content-Type", "application/x-www-form-urlencoded");
    request.setRawHeader("Referer", QByteArray(""));
    request.setRawHeader("Content-Length", QByteArray::number(body.size()));
    request.setRawHeader("Connection", "Keep-Alive");
    request.setRawHeader("Cache-Control", "no-cache");
    request.setAttribute(QNetworkRequest::CacheLoadControlAttribute,
                         QNetworkRequest::AlwaysNetwork);

    if (CurrentObserver())
        CurrentObserver()(address, body);

    QNetworkReply* reply = Manager().post(request, body);
    QEventLoop loop;
    QTimer timer;
    timer.setSingleShot(true);
    bool timedOut = false;
    QObject::connect(&timer, &QTimer::timeout, &loop, [&] {
        timedOut = true;
        reply->abort();
    });
    QObject::connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
    timer.start(g_timeoutMs);
    if (!reply->isFinished())
        loop.exec();
    timer.stop();

    PostReply result;
    result.delivered = WasDelivered(*reply, timedOut);
    if (result.delivered)
        result.text = cp936::Decode(reply->readAll());
    reply->deleteLater();
    return result;
}

}  // namespace xmlhttp

QString PostRequest(const QString& address, const QString& body) {
    return xmlhttp::Post(address, body.toLatin1()).text;
}
