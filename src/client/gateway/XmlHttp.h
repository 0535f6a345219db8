#pragma once
// The client's one way of talking to the service: an HTTP POST of an ASCII body, answered
// with a body in code page 936.
//
// The call is synchronous for its caller but not for the program: it waits in a nested event
// loop, so windows keep repainting and timers keep running until the reply has arrived. The
// user's input of that time (clicks, keys, closing a window) is dropped, so no other handler
// can start in the middle of the one that is waiting.

#include <QByteArray>
#include <QString>

#include <functional>

class QNetworkAccessManager;

namespace xmlhttp {

// What came back. A transport failure (refused connection, unknown host, time-out, a reply
// cut short) gives the empty text with delivered false; any response the server completed,
// an error page included, is delivered.
struct PostReply {
    QString text;
    bool delivered = false;
};

PostReply Post(const QString& address, const QByteArray& body);

// How long a request may take in all before it is given up; 20 s unless changed.
void SetTimeoutMs(int milliseconds);
int TimeoutMs();

// Called with every request just before it leaves (tests record the traffic this way).
using Observer = std::function<void(const QString& address, const QByteArray& body)>;
void SetObserver(Observer observer);

// The process-wide manager: one cookie jar for every request of the run.
QNetworkAccessManager& Manager();

}  // namespace xmlhttp

// The reply text alone, the empty text when nothing could be delivered. The body must be ASCII.
QString PostRequest(const QString& address, const QString& body);
