#pragma once
// A loopback HTTP server for tests of the client's requests: it keeps the raw bytes of every
// request it receives and answers with whatever the test has queued.

#include <QByteArray>
#include <QList>
#include <QTcpServer>

class QTcpSocket;

class RawHttpServer : public QTcpServer {
    Q_OBJECT
public:
    struct Response {
        int status = 200;
        QByteArray body;
        QList<QByteArray> extraHeaders;  // whole lines, without CR LF
        bool silent = false;             // never answer
        int claimedLength = -1;          // Content-Length to announce (-1: the body's), then
                                         // close the connection after the body
        int closeAfterMs = 0;            // with claimedLength: wait this long before closing
        bool reset = false;              // with claimedLength: close with a reset (RST)
    };

    explicit RawHttpServer(QObject* parent = nullptr);

    QString Url() const;
    void Queue(Response response) { queued_.append(std::move(response)); }
    // Holds replies back until Release() is called.
    void Hold() { holding_ = true; }
    void Release();

    QList<QByteArray> requests;  // raw header block + body of each complete request

private:
    void OnConnection();
    void OnReadable(QTcpSocket* socket);
    void Answer(QTcpSocket* socket);

    QList<Response> queued_;
    QList<QTcpSocket*> waiting_;
    bool holding_ = false;
};
