#pragma once
// A loopback HTTP forwarder that holds every request for a while before it passes it on to
// the real service, and passes the answer back unchanged: the service as a user on a slow
// network sees it. It counts what it forwarded, so a test can tell how many requests left.
//
//   SlowProxy slow(service.Url(), 300);
//   service::SetAddress(slow.Url());

#include <QByteArray>
#include <QList>
#include <QTcpServer>

class QTcpSocket;

class SlowProxy : public QTcpServer {
public:
    SlowProxy(QString upstream, int delayMs, QObject* parent = nullptr);

    QString Url() const;
    // The raw requests forwarded so far (header block and body).
    QList<QByteArray> requests;

private:
    void OnConnection();
    void OnReadable(QTcpSocket* client);
    void Forward(QTcpSocket* client, const QByteArray& request);

    QString upstreamHost_;
    quint16 upstreamPort_ = 0;
    int delayMs_;
};

// The length of the first complete HTTP message in `buffer` (header block and a body of
// Content-Length bytes), or -1 while it is still incomplete.
qsizetype CompleteMessageLength(const QByteArray& buffer);
