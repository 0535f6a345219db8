#include "ServiceProcess.h"
#include "TestDatabase.h"
#include "server/RequestLog.h"
#include "server/ServiceOptions.h"
#include "server/ServiceProgram.h"
#include "server/SqliteStore.h"

#include <QDate>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using server::kExitFailed;
using server::kExitOk;
using server::kExitUsage;

namespace {

// The operator commands, run in this process on a temporary database of either store.
class OperatorCommands : public ::testing::TestWithParam<TestDatabase::Kind> {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        if (!server.Ready())
            GTEST_SKIP() << server.Error().toStdString();
        // An SQLite file in a folder that does not exist yet: init makes it.
        db = IsSqlite() ? dir.filePath("data/ops.db") : server.Location();
    }

    bool IsSqlite() const { return GetParam() == TestDatabase::Kind::Sqlite; }
    // The database as the service sees it, opened anew.
    std::unique_ptr<server::Store> Store() {
        QString error;
        auto store = server::OpenStore(db, &error);
        EXPECT_TRUE(store) << error.toStdString();
        return store;
    }

    int Run(QStringList args) {
        out.clear();
        err.clear();
        QTextStream o(&out), e(&err);
        args << "--db" << db;
        const int code = server::RunServiceProgram(args, dir.path(), o, e);
        o.flush();
        e.flush();
        return code;
    }

    int InitDemo() { return Run({"init", "--demo", "--hash-cost", "min"}); }

    QTemporaryDir dir;
    TestDatabase server{GetParam()};  // for PostgreSQL: an empty database on the test server
    QString db;
    QString out;
    QString err;
};

TEST_P(OperatorCommands, InitDemoFillsANewDatabaseOnce) {
    ASSERT_EQ(InitDemo(), kExitOk) << err.toStdString();
    EXPECT_TRUE(out.contains("88888888")) << out.toStdString();
    EXPECT_TRUE(out.contains("zenri520"));
    auto opened = Store();
    server::Store& store = *opened;
    const auto settings = store.SettingsRow();
    ASSERT_TRUE(settings);
    EXPECT_EQ(settings->at(columns::kServiceState), QStringLiteral("开放"));
    EXPECT_EQ(settings->at(columns::kNewestVersion), "V1.2");
    EXPECT_EQ(settings->at(columns::kDownloadAddress), "/download");
    EXPECT_FALSE(settings->at(columns::kAnnouncement).isEmpty());
    EXPECT_EQ(store.AdvertImages(),
              (QStringList{"/adverts/advert-1.png", "/adverts/advert-2.png"}));
    EXPECT_EQ(store.AdvertLinks(), (QStringList{"/", "/shop"}));
    const auto demo = store.UserByName("88888888");
    ASSERT_TRUE(demo);
    EXPECT_EQ(demo->phone, "13800000000");
    EXPECT_FALSE(demo->frozen);

    EXPECT_EQ(InitDemo(), kExitFailed);
    EXPECT_EQ(store.Users().size(), 1u);
    EXPECT_EQ(Run({"init"}), kExitOk);  // a bare init on an existing database changes nothing
}

TEST_P(OperatorCommands, CommandsOtherThanInitNeedAnExistingDatabase) {
    EXPECT_EQ(Run({"users", "list"}), kExitFailed);
    EXPECT_TRUE(err.contains("init")) << err.toStdString();
    if (IsSqlite()) {
        EXPECT_FALSE(QFile::exists(db));
    } else {
        EXPECT_EQ(server.Scalar("SELECT count(*) FROM pg_tables WHERE schemaname='public'"), "0");
    }
}

TEST_P(OperatorCommands, SettingsRefuseTextsThatBreakTheReplyFormat) {
    ASSERT_EQ(InitDemo(), kExitOk);
    EXPECT_EQ(Run({"settings", "set", "announcement", "今天い明天"}), kExitFailed);
    EXPECT_TRUE(err.contains("split")) << err.toStdString();
    EXPECT_EQ(Run({"settings", "set", "3", "ゼ"}), kExitFailed);
    EXPECT_EQ(Run({"settings", "set", "公告", "emoji 😀"}), kExitFailed);
    EXPECT_TRUE(err.contains("936")) << err.toStdString();

    EXPECT_EQ(Run({"settings", "set", "announcement", "新版上线啦"}), kExitOk) << err.toStdString();
    EXPECT_EQ(Run({"settings", "set", "state", "关闭"}), kExitOk);
    EXPECT_EQ(Run({"settings", "set", "下载地址", "https://dl.test/zenri"}), kExitOk);
    EXPECT_EQ(Run({"settings", "set", "download", "ftp://x"}), kExitFailed);
    EXPECT_EQ(Run({"settings", "set", "colour", "red"}), kExitUsage);
    EXPECT_EQ(Run({"settings", "set", "0", "2"}), kExitUsage);
    ASSERT_EQ(Run({"settings", "show"}), kExitOk);
    EXPECT_TRUE(out.contains(QStringLiteral("公告\t新版上线啦"))) << out.toStdString();
    EXPECT_TRUE(out.contains(QStringLiteral("服务状态\t关闭")));
    EXPECT_TRUE(out.contains(QStringLiteral("下载地址\thttps://dl.test/zenri")));
}

TEST_P(OperatorCommands, AdvertsAreListedAddedAndRemoved) {
    ASSERT_EQ(InitDemo(), kExitOk);
    EXPECT_EQ(Run({"adverts", "add", "/adverts/a.png", "https://shop.test/い"}), kExitFailed);
    EXPECT_EQ(Run({"adverts", "add", "picture.png", "/"}), kExitFailed);
    ASSERT_EQ(Run({"adverts", "add", "https://cdn.test/c.png", "/support"}), kExitOk);
    EXPECT_EQ(Run({"adverts", "remove", "1"}), kExitOk);
    EXPECT_EQ(Run({"adverts", "remove", "1"}), kExitFailed);
    EXPECT_EQ(Run({"adverts", "remove", "one"}), kExitUsage);
    ASSERT_EQ(Run({"adverts", "list"}), kExitOk);
    EXPECT_EQ(out, QStringLiteral("编号\t广告链接\t跳转地址\n2\t/adverts/advert-2.png\t/shop\n"
                                  "3\thttps://cdn.test/c.png\t/support\n"));
}

TEST_P(OperatorCommands, UsersAndPages) {
    db = server.Location();  // a database the test writes behind the store, too
    ASSERT_EQ(InitDemo(), kExitOk);
    {
        auto store = Store();
        ASSERT_EQ(store->ClaimPageName("demo", "s", "88888888"), server::Outcome::Done);
        ASSERT_EQ(store->PutPage("demo", "<html></html>", "t", "88888888"), server::Outcome::Done);
    }
    // A page nobody owns, as a database from before owners were kept holds.
    server.Scalar("INSERT INTO pages(name,content,updated_at,owner) VALUES ('orphan','x','t','')");
    ASSERT_EQ(Run({"pages", "list"}), kExitOk);
    EXPECT_EQ(out, QStringLiteral(
                       "文件名\t字节\t用户\t上传时间\ndemo\t13\t88888888\tt\norphan\t1\t\tt\n"));
    EXPECT_EQ(Run({"pages", "remove", "../x"}), kExitFailed);
    EXPECT_EQ(Run({"pages", "remove", "orphan"}), kExitOk);
    EXPECT_EQ(Run({"pages", "remove", "orphan"}), kExitFailed);

    EXPECT_EQ(Run({"users", "freeze", "88888888", "被举报"}), kExitOk);
    ASSERT_EQ(Run({"users", "list"}), kExitOk);
    EXPECT_TRUE(out.contains(QStringLiteral("\tTrue\t被举报\n"))) << out.toStdString();
    EXPECT_EQ(Run({"users", "unfreeze", "88888888"}), kExitOk);
    EXPECT_EQ(Store()->UserByName("88888888")->frozen, false);
    EXPECT_EQ(Run({"users", "freeze", "12345"}), kExitFailed);
    EXPECT_EQ(Run({"users", "remove", "88888888"}), kExitOk);
    EXPECT_EQ(Run({"users", "remove", "88888888"}), kExitFailed);
    auto store = Store();
    EXPECT_TRUE(store->Users().empty());
    EXPECT_TRUE(store->Pages().empty());  // the account's page went with it
}

// A note goes back to the client with a frozen account's row: nothing that would cut it.
TEST_P(OperatorCommands, FreezeNotesThatBreakRowsOrLinesAreRefused) {
    ASSERT_EQ(InitDemo(), kExitOk);
    for (const QString& note :
         {QStringLiteral("いゼ"), QStringLiteral("a\nb"), QStringLiteral("\x1b[2J"),
          QStringLiteral("a\tb"), QStringLiteral("a") + QChar(0x2028) + QStringLiteral("b")}) {
        EXPECT_EQ(Run({"users", "freeze", "88888888", note}), kExitFailed) << note.toStdString();
        EXPECT_TRUE(err.contains("refused")) << err.toStdString();
    }
    const auto row = Store()->UserByName("88888888");
    EXPECT_FALSE(row->frozen);
    EXPECT_EQ(row->remark, "");
    EXPECT_EQ(Run({"settings", "set", "announcement", "第一行\n第二行"}), kExitFailed);
}

// Whatever a row holds (rows from before values were checked), a listing shows it as one field
// of one line and sends nothing to the terminal that acts on it. (PostgreSQL's text holds no
// NUL; the SQLite file may.)
TEST_P(OperatorCommands, ListingsEscapeWhatIsNotPrintable) {
    db = server.Location();  // a database the test writes behind the store, too
    ASSERT_EQ(InitDemo(), kExitOk);
    const QString phone = IsSqlite() ? QStringLiteral("1") + QChar(0) + QStringLiteral("3")
                                     : QStringLiteral("1") + QChar(1) + QStringLiteral("3");
    {
        auto store = Store();
        ASSERT_EQ(store->InsertUser(QStringLiteral("8\x1b[2J\n99999\tforged"), "h", phone, "t"),
                  server::Outcome::Done);
    }
    // A page no store write would make: its name and owner as an older service kept them.
    server.Scalar(
        QStringLiteral("INSERT INTO pages(name,content,updated_at,owner) VALUES "
                       "('p\rq','x','t','o\u202ewn')"));
    ASSERT_EQ(Run({"users", "list"}), kExitOk);
    const QStringList lines = out.split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 3) << out.toStdString();  // the header and two accounts
    EXPECT_TRUE(lines[2].startsWith(QStringLiteral("8\\x1B[2J\\n99999\\x09forged\t1\\x0") +
                                    (IsSqlite() ? "0" : "1") + "3\t"))
        << lines[2].toStdString();
    EXPECT_EQ(lines[2].count('\t'), lines[0].count('\t'));
    for (QChar c : out)
        EXPECT_TRUE(c == '\n' || c == '\t' || c.isPrint()) << int(c.unicode());

    ASSERT_EQ(Run({"pages", "list"}), kExitOk);
    EXPECT_TRUE(out.contains(QStringLiteral("p\\rq\t1\to\\u202Ewn\tt\n"))) << out.toStdString();
    EXPECT_EQ(Run({"users", "remove", QStringLiteral("x\x1b]0;owned\x07")}), kExitFailed);
    EXPECT_TRUE(err.contains(QStringLiteral("x\\x1B]0;owned\\x07"))) << err.toStdString();
}

TEST_P(OperatorCommands, BadCommandLinesAreUsageErrors) {
    ASSERT_EQ(InitDemo(), kExitOk);
    EXPECT_EQ(Run({}), kExitUsage);
    EXPECT_EQ(Run({"launch"}), kExitUsage);
    EXPECT_EQ(Run({"users", "list", "--colour", "red"}), kExitUsage);
    EXPECT_TRUE(err.contains("--colour")) << err.toStdString();
    EXPECT_EQ(Run({"users", "--demo", "list"}), kExitUsage);
    EXPECT_EQ(Run({"serve"}), kExitUsage);  // no --listen
    EXPECT_TRUE(err.contains("--listen"));
    EXPECT_EQ(Run({"serve", "--listen", "localhost"}), kExitUsage);
    EXPECT_EQ(Run({"serve", "--listen", "127.0.0.1:0", "--signin-limit", "-3"}), kExitUsage);
    EXPECT_EQ(Run({"init", "--hash-cost", "huge"}), kExitUsage);
    EXPECT_EQ(Run({"users"}), kExitUsage);
    EXPECT_EQ(Run({"--help"}), kExitOk);
    EXPECT_TRUE(out.contains("serve --listen HOST:PORT"));
    EXPECT_TRUE(out.contains("adverts list"));
}

INSTANTIATE_TEST_SUITE_P(Stores, OperatorCommands,
                         ::testing::Values(TestDatabase::Kind::Sqlite,
                                           TestDatabase::Kind::Postgres),
                         [](const auto& info) { return TestDatabase::KindName(info.param); });

TEST(ServiceOptions, ConfigFileUnderTheCommandLine) {
    QTemporaryDir dir;
    const QString path = dir.filePath("service.conf");
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(
        "# the local service\nlisten = 0.0.0.0:9000\n\ndb = /srv/zenri.db\n"
        "signin-limit = 5\nthreads=8\n");
    file.close();

    QString error;
    const auto line = server::ParseCommandLine(
        {"serve", "--config", path, "--threads=16", "--register-limit", "0"}, &error);
    ASSERT_TRUE(line) << error.toStdString();
    const auto values = server::MergedOptions(*line, &error);
    ASSERT_TRUE(values) << error.toStdString();
    const auto options = server::ResolveServeOptions(*values, true, &error);
    ASSERT_TRUE(options) << error.toStdString();
    EXPECT_EQ(options->host, "0.0.0.0");
    EXPECT_EQ(options->port, 9000);
    EXPECT_EQ(options->database, "/srv/zenri.db");
    EXPECT_EQ(options->signInPerMinute, 5);
    EXPECT_EQ(options->registrationPerMinute, 0);
    EXPECT_EQ(options->threads, 16);
    EXPECT_EQ(options->maxBodyBytes, 8 << 20);
    EXPECT_EQ(options->hashCost, server::HashCost::Standard);

    ASSERT_TRUE(file.open(QIODevice::Append));
    file.write("listen 127.0.0.1:1\n");
    file.close();
    EXPECT_FALSE(server::ReadConfigFile(path, &error));
    EXPECT_TRUE(error.endsWith(":7: expected \"name = value\" with a known name"))
        << error.toStdString();
    EXPECT_FALSE(server::ReadConfigFile(dir.filePath("missing.conf"), &error));
}

TEST(ServiceOptions, PublicAddressIsAPlainHttpAddress) {
    const auto resolve = [](const QString& url, QString* error) {
        return server::ResolveServeOptions(
            {{"db", "x.db"}, {"listen", "127.0.0.1:0"}, {"public-url", url}}, true, error);
    };
    QString error;
    EXPECT_EQ(resolve("https://love.example.com/", &error)->publicUrl, "https://love.example.com");
    EXPECT_EQ(resolve("http://[2001:db8::1]:8080", &error)->publicUrl, "http://[2001:db8::1]:8080");
    EXPECT_EQ(resolve("https://example.com/zenri", &error)->publicUrl, "https://example.com/zenri");
    for (const QString& bad :
         {QStringLiteral("love.example.com"), QStringLiteral("ftp://example.com"),
          QStringLiteral("https://"), QStringLiteral("https:///x"), QStringLiteral("https://a b"),
          QStringLiteral("https://a\r\nSet-Cookie: x"), QStringLiteral("https://aいゼ"),
          QStringLiteral("javascript:alert(1)")}) {
        EXPECT_FALSE(resolve(bad, &error)) << bad.toStdString();
        EXPECT_TRUE(error.contains("--public-url")) << error.toStdString();
    }
    EXPECT_TRUE(
        server::ResolveServeOptions({{"db", "x.db"}, {"listen", "127.0.0.1:0"}}, true, &error)
            ->publicUrl.isEmpty());
}

TEST(ServiceOptions, ListenAddresses) {
    QString host;
    int port = -1;
    EXPECT_TRUE(server::ParseListenAddress("127.0.0.1:8080", &host, &port));
    EXPECT_EQ(host, "127.0.0.1");
    EXPECT_EQ(port, 8080);
    EXPECT_TRUE(server::ParseListenAddress("[::1]:0", &host, &port));
    EXPECT_EQ(host, "::1");
    EXPECT_EQ(port, 0);
    for (const char* bad : {"127.0.0.1", ":80", "host:", "host:65536", "host:-1", "host:8o"}) {
        EXPECT_FALSE(server::ParseListenAddress(bad, &host, &port)) << bad;
    }
}

// Without a public address the addresses in replies follow the Host each client writes: fine
// on this machine, a warning when the service listens beyond it.
TEST(ServiceOptions, ListeningBeyondThisMachineWithoutAPublicAddressIsWarnedOf) {
    QTemporaryDir dir;
    const QString db = dir.filePath("s.db");
    QProcess init;
    init.setStandardOutputFile(QProcess::nullDevice());
    init.start(ServiceProcess::ProgramPath(), {"init", "--hash-cost", "min", "--db", db});
    ASSERT_TRUE(init.waitForFinished(60000));
    ASSERT_EQ(init.exitCode(), 0);
    const auto startupOutput = [&](const QStringList& extra) {
        QProcess serve;
        serve.setProcessChannelMode(QProcess::MergedChannels);
        serve.start(ServiceProcess::ProgramPath(),
                    QStringList{"serve", "--db", db, "--hash-cost", "min"} + extra);
        QByteArray output;
        while (!output.contains("password hash cost") && serve.waitForReadyRead(30000))
            output += serve.readAll();
        // The warning comes before that line.
        serve.terminate();
        serve.waitForFinished(30000);
        return QString::fromUtf8(output + serve.readAll());
    };
    const QString warning = "without --public-url";
    EXPECT_TRUE(startupOutput({"--listen", "0.0.0.0:0"}).contains(warning));
    EXPECT_FALSE(startupOutput({"--listen", "127.0.0.1:0"}).contains(warning));
    EXPECT_FALSE(startupOutput({"--listen", "0.0.0.0:0", "--public-url", "https://love.test"})
                     .contains(warning));
}

TEST(RequestLogLine, HoldsEveryFieldInOrder) {
    server::LogEntry entry;
    const QString before = QDate::currentDate().toString(Qt::ISODate);
    entry.time = server::LogTimestamp();
    const QString after = QDate::currentDate().toString(Qt::ISODate);
    static const QRegularExpression stamp(
        QStringLiteral("^\\d{4}-\\d\\d-\\d\\d \\d\\d:\\d\\d:\\d\\d\\.\\d{3}$"));
    EXPECT_TRUE(stamp.match(entry.time).hasMatch()) << entry.time.toStdString();
    EXPECT_TRUE(entry.time.left(10) == before || entry.time.left(10) == after);
    entry.time = QStringLiteral("2026-03-01 08:09:10.011");
    entry.client = "192.0.2.7";
    entry.what = "zc=2";
    entry.outcome = "REFUSED unknown statement: x=\"1\"";
    entry.status = 403;
    entry.milliseconds = 1.256;
    EXPECT_EQ(server::FormatLogLine(entry),
              "2026-03-01 08:09:10.011 192.0.2.7 zc=2 \"REFUSED unknown statement: x=\\\"1\\\"\" "
              "403 1.26ms");
}

}  // namespace
