#include "RawHttpServer.h"

#include <QTcpSocket>
#include <QTimer>

#include <sys/socket.h>

RawHttpServer::RawHttpServer(QObject* parent) : QTcpServer(parent) {
    connect(this, &QTcpServer::newConnection, this, &RawHttpServer::OnConnection);
    listen(QHostAddress::LocalHost, 0);
}

QString RawHttpServer::Url() const {
    return QStringLiteral("http://127.0.0.1:%1").arg(serverPort());
}

void RawHttpServer::OnConnection() {
    while (QTcpSocket* socket = nextPendingConnection()) {
        socket->setProperty("buffer", QByteArray());
        connect(socket, &QTcpSocket::readyRead, this, [this, socket] { OnReadable(socket); });
        connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
    }
}

void RawHttpServer::OnReadable(QTcpSocket* socket) {
    QByteArray buffer = socket->property("buffer").toByteArray() + socket->readAll();
    while (true) {
        const qsizetype headerEnd = buffer.indexOf("\r\n\r\n");
        if (headerEnd < 0)
            break;
        qsizetype length = 0;
        for (const QByteArray& line : buffer.left(headerEnd).split('\n')) {
            if (line.toLower().startsWith("content-length:")) {
                length = line.mid(15).trimmed().toLongLong();
            }
        }
        const qsizetype total = headerEnd + 4 + length;
        if (buffer.size() < total)
            break;
        requests.append(buffer.left(total));
        buffer.remove(0, total);
        if (holding_) {
            waiting_.append(socket);
        } else {
            Answer(socket);
        }
    }
    socket->setProperty("buffer", buffer);
}

void RawHttpServer::Release() {
    holding_ = false;
    const QList<QTcpSocket*> sockets = std::exchange(waiting_, {});
    for (QTcpSocket* socket : sockets)
        Answer(socket);
}

void RawHttpServer::Answer(QTcpSocket* socket) {
    const Response response = queued_.isEmpty() ? Response{} : queued_.takeFirst();
    if (response.silent)
        return;
    QByteArray out = "HTTP/1.1 " + QByteArray::number(response.status) + " Status\r\n";
    const int length =
        response.claimedLength >= 0 ? response.claimedLength : int(response.body.size());
    out += "Content-Length: " + QByteArray::number(length) + "\r\n";
    for (const QByteArray& header : response.extraHeaders)
        out += header + "\r\n";
    out += "\r\n" + response.body;
    socket->write(out);
    if (response.claimedLength < 0)
        return;
    socket->flush();
    const auto close = [socket, reset = response.reset] {
        if (reset) {
            // No lingering: the kernel answers the close with a reset, as when a server dies.
            const linger noLinger{1, 0};
            setsockopt(int(socket->socketDescriptor()), SOL_SOCKET, SO_LINGER, &noLinger,
                       sizeof noLinger);
            socket->abort();
        } else {
            socket->disconnectFromHost();
        }
    };
    if (response.closeAfterMs > 0)
        QTimer::singleShot(response.closeAfterMs, socket, close);
    else
        close();
}
