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

#include <functional>
#include <optional>

class QTcpSocket;

class SlowProxy : public QTcpServer {
public:
    SlowProxy(QString upstream, int delayMs, QObject* parent = nullptr);

    QString Url() const;
    // The raw requests forwarded so far (header block and body).
    QList<QByteArray> requests;

protected:
    // What becomes of a request once its delay is over: by default it goes to the service.
    virtual void Pass(QTcpSocket* client, const QByteArray& request);
    void Forward(QTcpSocket* client, const QByteArray& request);

private:
    void OnConnection();
    void OnReadable(QTcpSocket* client);

    QString upstreamHost_;
    quint16 upstreamPort_ = 0;
    int delayMs_;
};

// The service as it answers when something went wrong on its side, without making it go wrong:
// a forwarder without delay that answers the requests a rule picks itself (a refusal word, a
// reply the client cannot read) and passes every other one to the real service.
//
//   AnsweringProxy proxy(service.Url());
//   proxy.SetRule([](const QByteArray& body) -> std::optional<AnsweringProxy::Answer> {
//       if (body.startsWith("zc=52&"))
//           return AnsweringProxy::Answer{429, "LIMIT"};
//       return std::nullopt;
//   });
//   service::SetAddress(proxy.Url());
class AnsweringProxy : public SlowProxy {
public:
    struct Answer {
        int status = 200;
        QByteArray body;  // sent as it is, in code page 936 like the service's replies
    };
    // Given the body of a request; an answer, or nothing to let the service answer.
    using Rule = std::function<std::optional<Answer>(const QByteArray& body)>;

    explicit AnsweringProxy(QString upstream, QObject* parent = nullptr);
    void SetRule(Rule rule) { rule_ = std::move(rule); }
    // How many requests the rule answered.
    int answered = 0;

protected:
    void Pass(QTcpSocket* client, const QByteArray& request) override;

private:
    Rule rule_;
};

// The length of the first complete HTTP message in `buffer` (header block and a body of
// Content-Length bytes), or -1 while it is still incomplete.
qsizetype CompleteMessageLength(const QByteArray& buffer);
