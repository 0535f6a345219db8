#include "SlowProxy.h"

#include <QPointer>
#include <QTcpSocket>
#include <QTimer>
#include <QUrl>

qsizetype CompleteMessageLength(const QByteArray& buffer) {
    const qsizetype headerEnd = buffer.indexOf("\r\n\r\n");
    if (headerEnd < 0)
        return -1;
    qsizetype length = 0;
    for (const QByteArray& line : buffer.left(headerEnd).split('\n')) {
        if (line.toLower().startsWith("content-length:"))
            length = line.mid(15).trimmed().toLongLong();
    }
    const qsizetype total = headerEnd + 4 + length;
    return buffer.size() < total ? -1 : total;
}

SlowProxy::SlowProxy(QString upstream, int delayMs, QObject* parent)
    : QTcpServer(parent), delayMs_(delayMs) {
    const QUrl url(upstream);
    upstreamHost_ = url.host();
    upstreamPort_ = quint16(url.port(80));
    connect(this, &QTcpServer::newConnection, this, &SlowProxy::OnConnection);
    listen(QHostAddress::LocalHost, 0);
}

QString SlowProxy::Url() const {
    return QStringLiteral("http://127.0.0.1:%1").arg(serverPort());
}

void SlowProxy::OnConnection() {
    while (QTcpSocket* client = nextPendingConnection()) {
        connect(client, &QTcpSocket::readyRead, this, [this, client] { OnReadable(client); });
        connect(client, &QTcpSocket::disconnected, client, &QObject::deleteLater);
    }
}

void SlowProxy::OnReadable(QTcpSocket* client) {
    QByteArray buffer = client->property("buffer").toByteArray() + client->readAll();
    for (qsizetype length; (length = CompleteMessageLength(buffer)) > 0;) {
        const QByteArray request = buffer.left(length);
        buffer.remove(0, length);
        requests.append(request);
        QPointer<QTcpSocket> alive(client);
        QTimer::singleShot(delayMs_, this, [this, alive, request] {
            if (alive)
                Pass(alive, request);
        });
    }
    client->setProperty("buffer", buffer);
}

void SlowProxy::Pass(QTcpSocket* client, const QByteArray& request) {
    Forward(client, request);
}

// One upstream connection per request: the answer is complete when its Content-Length is in.
void SlowProxy::Forward(QTcpSocket* client, const QByteArray& request) {
    auto* upstream = new QTcpSocket(this);
    QPointer<QTcpSocket> alive(client);
    connect(upstream, &QTcpSocket::connected, upstream,
            [upstream, request] { upstream->write(request); });
    connect(upstream, &QTcpSocket::readyRead, upstream, [upstream, alive] {
        QByteArray answer = upstream->property("buffer").toByteArray() + upstream->readAll();
        const qsizetype length = CompleteMessageLength(answer);
        if (length < 0) {
            upstream->setProperty("buffer", answer);
            return;
        }
        if (alive)
            alive->write(answer.left(length));
        upstream->disconnectFromHost();
        upstream->deleteLater();
    });
    connect(upstream, &QTcpSocket::errorOccurred, upstream,
            [upstream] { upstream->deleteLater(); });
    upstream->connectToHost(upstreamHost_, upstreamPort_);
}

AnsweringProxy::AnsweringProxy(QString upstream, QObject* parent)
    : SlowProxy(std::move(upstream), 0, parent) {}

void AnsweringProxy::Pass(QTcpSocket* client, const QByteArray& request) {
    const std::optional<Answer> answer =
        rule_ ? rule_(request.mid(request.indexOf("\r\n\r\n") + 4)) : std::nullopt;
    if (!answer) {
        Forward(client, request);
        return;
    }
    ++answered;
    client->write("HTTP/1.1 " + QByteArray::number(answer->status) +
                  " Answered\r\nContent-Type: text/plain; charset=GBK\r\nContent-Length: " +
                  QByteArray::number(answer->body.size()) + "\r\n\r\n" + answer->body);
}
