#include "RawHttpServer.h"
#include "client/gateway/XmlHttp.h"

#include <QCoreApplication>
#include <QTcpServer>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

class XmlHttpTest : public ::testing::Test {
protected:
    void SetUp() override { xmlhttp::SetTimeoutMs(10000); }
    void TearDown() override { xmlhttp::SetTimeoutMs(20000); }

    RawHttpServer server;
    QString Gateway() const { return server.Url() + "/asp/index.asp"; }
};

QList<QByteArray> HeaderLines(const QByteArray& request) {
    const QByteArray head = request.left(request.indexOf("\r\n\r\n"));
    return head.split('\n');
}

TEST_F(XmlHttpTest, SendsTheRequestLineHeadersInOrderAndTheBody) {
    server.Queue({200, "OK"});
    EXPECT_EQ(PostRequest(Gateway(), QStringLiteral("zc=51")), "OK");
    ASSERT_EQ(server.requests.size(), 1);
    const QByteArray raw = server.requests[0];
    const QList<QByteArray> lines = HeaderLines(raw);
    EXPECT_EQ(lines[0].trimmed(), "POST /asp/index.asp HTTP/1.1");

    // The stack may add Host and Accept-Encoding; everything else is ours, once, in order.
    QList<QByteArray> ours;
    for (qsizetype i = 1; i < lines.size(); ++i) {
        const QByteArray line = lines[i].trimmed();
        const QByteArray name = line.left(line.indexOf(':')).toLower();
        if (name == "host" || name == "accept-encoding")
            continue;
        ours.append(line);
    }
    const QList<QByteArray> expected = {
        "Accept: */*",
        "Accept-Language: zh-cn",
        "User-Agent: Mozilla/4.0 (compatible; MSIE 8.0; Windows NT 5.1; Trident/4.0)",
        "Content-Type: application/x-www-form-urlencoded",
        "Referer:",
        "Content-Length: 5",
        "Connection: Keep-Alive",
        "Cache-Control: no-cache",
    };
    EXPECT_EQ(ours, expected);
    EXPECT_TRUE(raw.endsWith("\r\n\r\nzc=51"));
}

TEST_F(XmlHttpTest, ErrorStatusesAndEmptyBodiesAreDeliveredReplies) {
    server.Queue({404, "<html>not found</html>"});
    server.Queue({500, "<html>server error</html>"});
    server.Queue({200, ""});
    const auto notFound = xmlhttp::Post(Gateway(), "zc=49");
    EXPECT_TRUE(notFound.delivered);
    EXPECT_EQ(notFound.text, "<html>not found</html>");
    const auto serverError = xmlhttp::Post(Gateway(), "zc=49");
    EXPECT_TRUE(serverError.delivered);
    EXPECT_EQ(serverError.text, "<html>server error</html>");
    const auto empty = xmlhttp::Post(Gateway(), "zc=49");
    EXPECT_TRUE(empty.delivered);
    EXPECT_EQ(empty.text, "");
}

// Statuses that Qt turns into error codes of its own are replies all the same; the service
// answers 400 to a body it cannot read.
TEST_F(XmlHttpTest, EveryHttpStatusIsADeliveredReply) {
    const QList<std::pair<int, QByteArray>> answers = {
        {400, "BADREQUEST"}, {401, "who"},   {403, "no"},   {407, "proxy"},
        {418, "teapot"},     {429, "LIMIT"}, {503, "busy"},
    };
    for (const auto& [status, body] : answers)
        server.Queue({status, body});
    for (const auto& [status, body] : answers) {
        const auto reply = xmlhttp::Post(Gateway(), "zc=49");
        EXPECT_TRUE(reply.delivered) << status;
        EXPECT_EQ(reply.text, QString::fromLatin1(body)) << status;
    }
}

// However the connection ends before the announced body is in (at once, after a pause, with a
// reset, after the headers alone), the reply is not taken for an answer: an "O" of "OK" is no
// "OK", and an empty body no empty reply.
TEST_F(XmlHttpTest, BodyCutShortIsNotDelivered) {
    struct Cut {
        QByteArray body;
        int claimed, pauseMs;
        bool reset;
    };
    for (const Cut& cut :
         {Cut{"part", 100, 0, false}, Cut{"O", 2, 200, false}, Cut{"O", 2, 200, true},
          Cut{"", 2, 0, true}, Cut{"", 2, 200, true}, Cut{"", 2, 200, false}}) {
        RawHttpServer::Response response{200, cut.body, {}, false, cut.claimed};
        response.closeAfterMs = cut.pauseMs;
        response.reset = cut.reset;
        server.Queue(response);
        const auto reply = xmlhttp::Post(Gateway(), "zc=51");
        EXPECT_FALSE(reply.delivered)
            << cut.body.toStdString() << " of " << cut.claimed << " after " << cut.pauseMs << " ms"
            << (cut.reset ? ", reset" : "");
        EXPECT_EQ(reply.text, "");
    }
}

TEST_F(XmlHttpTest, RepliesAreReadAsCodePage936) {
    server.Queue({200, QByteArray("\xA4\xA4\xA5\xBC", 4)});
    server.Queue({200, QByteArray("ok\x81", 3)});  // a lone lead byte at the end
    EXPECT_EQ(PostRequest(Gateway(), "zc=49"), QString::fromUtf8("いゼ"));
    EXPECT_EQ(PostRequest(Gateway(), "zc=49"), QString::fromUtf8("ok\uFFFD"));
}

TEST_F(XmlHttpTest, RefusedConnectionIsNotDelivered) {
    QTcpServer probe;
    ASSERT_TRUE(probe.listen(QHostAddress::LocalHost, 0));
    const quint16 port = probe.serverPort();
    probe.close();
    const auto reply =
        xmlhttp::Post(QStringLiteral("http://127.0.0.1:%1/asp/index.asp").arg(port), "zc=51");
    EXPECT_FALSE(reply.delivered);
    EXPECT_EQ(reply.text, "");
}

TEST_F(XmlHttpTest, UnknownHostIsNotDelivered) {
    xmlhttp::SetTimeoutMs(5000);
    const auto reply =
        xmlhttp::Post(QStringLiteral("http://no-such-host.invalid/asp/index.asp"), "zc=51");
    EXPECT_FALSE(reply.delivered);
    EXPECT_EQ(reply.text, "");
}

TEST_F(XmlHttpTest, ServerThatNeverAnswersTimesOut) {
    xmlhttp::SetTimeoutMs(300);
    server.Queue({200, "late", {}, true});
    const auto reply = xmlhttp::Post(Gateway(), "zc=51");
    EXPECT_FALSE(reply.delivered);
    EXPECT_EQ(reply.text, "");
    EXPECT_EQ(server.requests.size(), 1);
}

// The reply is released by a timer, which can only fire if the wait dispatches events.
TEST_F(XmlHttpTest, EventsAreDispatchedWhileWaiting) {
    server.Hold();
    server.Queue({200, "released"});
    bool timerRan = false;
    QTimer::singleShot(50, &server, [&] {
        timerRan = true;
        server.Release();
    });
    EXPECT_EQ(PostRequest(Gateway(), "zc=51"), "released");
    EXPECT_TRUE(timerRan);
}

// What the user does while a request is in flight is dropped, not kept for later; timers and
// other events still run during the wait.
TEST_F(XmlHttpTest, UserInputIsDroppedWhileWaiting) {
    class Counter : public QObject {
    public:
        QList<QEvent::Type> seen;
        bool event(QEvent* e) override {
            seen.append(e->type());
            return true;
        }
    } target;
    const auto custom = QEvent::Type(QEvent::registerEventType());
    server.Hold();
    server.Queue({200, "done"});
    QTimer::singleShot(20, &server, [&] {
        for (QEvent::Type type :
             {QEvent::MouseButtonPress, QEvent::MouseButtonRelease, QEvent::KeyPress,
              QEvent::InputMethod, QEvent::Wheel, QEvent::Drop, QEvent::TouchBegin, custom}) {
            auto* e = new QEvent(type);
            QCoreApplication::postEvent(&target, e);
        }
        QTimer::singleShot(20, &server, [&] { server.Release(); });
    });
    EXPECT_EQ(PostRequest(Gateway(), "zc=51"), "done");
    EXPECT_EQ(target.seen, QList<QEvent::Type>{custom});

    // Once the reply is in, input reaches its target again.
    QCoreApplication::postEvent(&target, new QEvent(QEvent::MouseButtonPress));
    QCoreApplication::processEvents();
    EXPECT_EQ(target.seen, (QList<QEvent::Type>{custom, QEvent::MouseButtonPress}));
}

TEST_F(XmlHttpTest, CookiesAreKeptForLaterRequests) {
    server.Queue({200, "first", {"Set-Cookie: ZRSID=abc123; Path=/; HttpOnly"}});
    server.Queue({200, "second"});
    PostRequest(Gateway(), "zc=51");
    PostRequest(Gateway(), "zc=51");
    ASSERT_EQ(server.requests.size(), 2);
    EXPECT_FALSE(server.requests[0].contains("Cookie:"));
    EXPECT_TRUE(server.requests[1].contains("Cookie: ZRSID=abc123"));
}

TEST_F(XmlHttpTest, ObserverSeesEveryRequest) {
    QList<QByteArray> seen;
    xmlhttp::SetObserver([&](const QString&, const QByteArray& body) { seen.append(body); });
    server.Queue({200, "a"});
    server.Queue({200, "b"});
    PostRequest(Gateway(), "zc=49&sql=97");
    PostRequest(Gateway(), "zc=51");
    xmlhttp::SetObserver({});
    EXPECT_EQ(seen, (QList<QByteArray>{"zc=49&sql=97", "zc=51"}));
}

}  // namespace
