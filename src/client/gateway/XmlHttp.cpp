#include "client/gateway/XmlHttp.h"

#include "common/Codepage936.h"

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

// Qt reports a failure of the connection itself (refused, reset, cut short, a proxy that
// would not connect) with a code below 200, and an answer it could not parse as a protocol
// failure; the other codes stand for an HTTP status the server sent. A proxy's
// "authentication required" is a status as well.
bool IsTransportError(QNetworkReply::NetworkError error) {
    if (error == QNetworkReply::NoError || error == QNetworkReply::ProxyAuthenticationRequiredError)
        return false;
    return error < QNetworkReply::ContentAccessDenied || error == QNetworkReply::ProtocolFailure;
}

// A reply counts as delivered when the server answered with a status line and the whole body
// arrived; every HTTP status, 400 and 418 included, is a delivered reply.
bool WasDelivered(const QNetworkReply& reply, bool timedOut) {
    if (timedOut)
        return false;
    if (!reply.attribute(QNetworkRequest::HttpStatusCodeAttribute).isValid())
        return false;
    return !IsTransportError(reply.error());
}

// Qt 6.4 sometimes finishes a reply without an error when the connection closed in the middle
// of the body (a pause, then the close or a reset): the announced length tells. A compressed
// body is announced in its compressed length and left to Qt.
bool IsWholeBody(const QNetworkReply& reply, const QByteArray& body) {
    const QVariant length = reply.header(QNetworkRequest::ContentLengthHeader);
    if (!length.isValid() || reply.hasRawHeader("Content-Encoding"))
        return true;
    return length.toLongLong() == body.size();
}

// While a request is in flight the program waits for it inside the handler that sent it.
// Input reaching the windows then would run other handlers in the middle of this one (a second
// sign-in that closes the window the first one still works on), so the user's input of that
// time is dropped: clicks, keys, the wheel, input methods, touch, drag and drop, and the window
// system's request to close a window. Painting, timers and network events go on as usual.
class UserInputBlocker : public QObject {
public:
    UserInputBlocker() { QCoreApplication::instance()->installEventFilter(this); }
    ~UserInputBlocker() override { QCoreApplication::instance()->removeEventFilter(this); }

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        switch (event->type()) {
            case QEvent::MouseButtonPress:
            case QEvent::MouseButtonRelease:
            case QEvent::MouseButtonDblClick:
            case QEvent::MouseMove:
            case QEvent::NonClientAreaMouseButtonPress:
            case QEvent::NonClientAreaMouseButtonRelease:
            case QEvent::NonClientAreaMouseButtonDblClick:
            case QEvent::Wheel:
            case QEvent::KeyPress:
            case QEvent::KeyRelease:
            case QEvent::ShortcutOverride:
            case QEvent::Shortcut:
            case QEvent::InputMethod:
            case QEvent::TouchBegin:
            case QEvent::TouchUpdate:
            case QEvent::TouchEnd:
            case QEvent::TouchCancel:
            case QEvent::TabletPress:
            case QEvent::TabletMove:
            case QEvent::TabletRelease:
            case QEvent::DragEnter:
            case QEvent::DragMove:
            case QEvent::Drop:
            case QEvent::ContextMenu:
            case QEvent::Gesture:
            case QEvent::NativeGesture:
                event->accept();
                return true;
            case QEvent::Close:
                if (!event->spontaneous())
                    return false;
                event->ignore();
                return true;
            default:
                return false;
        }
    }
};

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
    if (!reply->isFinished()) {
        const UserInputBlocker blocker;
        loop.exec();
    }
    timer.stop();

    PostReply result;
    result.delivered = WasDelivered(*reply, timedOut);
    if (result.delivered) {
        const QByteArray body = reply->readAll();
        result.delivered = IsWholeBody(*reply, body);
        if (result.delivered)
            result.text = cp936::Decode(body);
    }
    reply->deleteLater();
    return result;
}

}  // namespace xmlhttp

QString PostRequest(const QString& address, const QString& body) {
    return xmlhttp::Post(address, body.toLatin1()).text;
}
