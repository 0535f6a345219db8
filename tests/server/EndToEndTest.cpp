// The real client code (the gateway routines of the client) against the real service program.

#include "DemoAccount.h"
#include "HttpGet.h"
#include "ServiceProcess.h"
#include "client/gateway/Gateway.h"
#include "client/gateway/ServiceAddress.h"
#include "client/gateway/XmlHttp.h"
#include "common/Codepage936.h"
#include "common/Statements.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QNetworkAccessManager>
#include <QNetworkCookieJar>
#include <QRegularExpression>

#include <map>

#include <gtest/gtest.h>

namespace st = statements;

namespace {

// A fresh cookie jar: every test starts signed out.
void ForgetSessions() {
    xmlhttp::Manager().setCookieJar(
        new QNetworkCookieJar(static_cast<QObject*>(&xmlhttp::Manager())));
}

// A service of a test's own. The client's kept-alive connections are closed before the service
// stops, which otherwise waits for them to time out.
class OwnService : public ServiceProcess {
public:
    using ServiceProcess::ServiceProcess;
    ~OwnService() { xmlhttp::Manager().clearConnectionCache(); }
};

bool StartAndPoint(ServiceProcess& service) {
    if (!service.Start())
        return false;
    ForgetSessions();
    return service::SetAddress(service.Url());
}

// Signs the demo account in as the client does: lookup, then the online statement.
void SignInDemo() {
    const auto fields = gateway::Query(st::SignInLookup(kDemoUser, kDemoPassword)).Fields(1);
    ASSERT_TRUE(fields && fields->size() == 13);
    const QString time = gateway::ReadServerTime();
    ASSERT_EQ(gateway::Execute(st::MarkOnline(time, kDemoUser)).text, "OK");
}

// The whole database folder as bytes: the file and its write-ahead log.
QByteArray DatabaseBytes(const QString& databasePath) {
    QByteArray all;
    for (const QString& suffix : {QString(), QStringLiteral("-wal")}) {
        QFile file(databasePath + suffix);
        if (file.open(QIODevice::ReadOnly))
            all += file.readAll();
    }
    return all;
}

// Every test runs on both stores. One service per store serves the tests that need no
// options of their own; the others start their own on the same kind of store.
class EndToEnd : public ::testing::TestWithParam<TestDatabase::Kind> {
protected:
    static void TearDownTestSuite() {
        xmlhttp::Manager().clearConnectionCache();
        for (auto& [kind, shared] : services)
            delete shared;
        services.clear();
    }
    void SetUp() override {
        if (GetParam() == TestDatabase::Kind::Postgres && !TestDatabase::PostgresServer())
            GTEST_SKIP() << "no test PostgreSQL server: run the tests through ctest";
        ServiceProcess*& shared = services[GetParam()];
        if (!shared) {
            shared = new ServiceProcess(StoreOptions());
            ASSERT_TRUE(shared->Start()) << shared->Error().toStdString();
        }
        service = shared;
        ASSERT_TRUE(service->IsRunning());
        ASSERT_TRUE(service::SetAddress(service->Url()));
        ForgetSessions();
    }
    // The options of a service of the test's own: the store under test.
    ServiceProcess::Options StoreOptions() const {
        ServiceProcess::Options options;
        options.store = GetParam();
        return options;
    }
    bool IsSqlite() const { return GetParam() == TestDatabase::Kind::Sqlite; }
    QString Scalar(const QString& sql) const {
        const auto rows = service->Query(sql);
        return rows.empty() || rows[0].isEmpty() ? QStringLiteral("<none>") : rows[0][0];
    }

    ServiceProcess* service = nullptr;
    static std::map<TestDatabase::Kind, ServiceProcess*> services;
};
std::map<TestDatabase::Kind, ServiceProcess*> EndToEnd::services;

TEST_P(EndToEnd, StartUpReadsSettingsAdvertsAndTime) {
    const auto settings = gateway::ReadSystemSettings();
    ASSERT_TRUE(settings);
    ASSERT_GE(settings->size(), 6);
    EXPECT_EQ(settings->at(columns::kServiceState), QStringLiteral("开放"));
    EXPECT_FALSE(settings->at(columns::kAnnouncement).isEmpty());
    EXPECT_EQ(settings->at(columns::kNewestVersion), "V1.2");
    EXPECT_EQ(settings->at(columns::kDownloadAddress), service->Url() + "/download");

    const QStringList images = gateway::ReadAdvertImages();
    const QStringList links = gateway::ReadAdvertLinks();
    ASSERT_EQ(images.size(), 3);
    ASSERT_EQ(links.size(), 3);
    EXPECT_EQ(images[1], service->Url() + "/adverts/advert-1.png");
    EXPECT_EQ(images[2], service->Url() + "/adverts/advert-2.png");
    EXPECT_EQ(links[1], service->Url() + "/");
    EXPECT_EQ(links[2], service->Url() + "/shop");
    // What the adverts and the download address point at is served here.
    for (const QString& address :
         {images[1], links[1], links[2], settings->at(columns::kDownloadAddress)}) {
        EXPECT_EQ(HttpGet(address).status, 200) << address.toStdString();
    }

    const QString time = gateway::ReadServerTime();
    static const QRegularExpression form(
        QStringLiteral("^\\d{4}-\\d\\d-\\d\\d \\d\\d:\\d\\d:\\d\\d$"));
    EXPECT_TRUE(form.match(time).hasMatch()) << time.toStdString();
    const QDateTime parsed = QDateTime::fromString(time, QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    EXPECT_LT(qAbs(parsed.secsTo(QDateTime::currentDateTime())), 120);
}

QDateTime Parsed(const QString& time) {
    return QDateTime::fromString(time, QStringLiteral("yyyy-MM-dd HH:mm:ss"));
}

// Behind a proxy the request's Host is the proxy's business: the addresses in replies are
// those of the configured public address.
TEST_P(EndToEnd, AddressesInRepliesUseThePublicAddress) {
    ServiceProcess::Options options = StoreOptions();
    options.extraArguments << "--public-url"
                           << "https://love.example.com/";
    OwnService behindProxy(options);
    ASSERT_TRUE(StartAndPoint(behindProxy)) << behindProxy.Error().toStdString();
    const auto settings = gateway::ReadSystemSettings();
    ASSERT_TRUE(settings);
    EXPECT_EQ(settings->at(columns::kDownloadAddress), "https://love.example.com/download");
    const QStringList images = gateway::ReadAdvertImages();
    ASSERT_EQ(images.size(), 3);
    EXPECT_EQ(images[1], "https://love.example.com/adverts/advert-1.png");
    EXPECT_EQ(gateway::ReadAdvertLinks().value(2), "https://love.example.com/shop");
}

// Every statement of the catalogue, in the order a new user meets them, with its effect.
TEST_P(EndToEnd, EveryStatementOfTheCatalogueThroughTheClient) {
    const QString user = QStringLiteral("1234567");
    const QString password = QStringLiteral("Plain-Text-Pass-77");
    const QString phone = QStringLiteral("13912345678");
    const QString where = QStringLiteral(" FROM 用户管理 WHERE 用户='1234567'");

    // Start-up: settings and adverts.
    EXPECT_EQ(gateway::ReadSystemSettings().value_or(QStringList()).value(4), "V1.2");
    EXPECT_EQ(gateway::ReadAdvertImages().size(), 3);
    EXPECT_EQ(gateway::ReadAdvertLinks().size(), 3);

    auto lookup = gateway::Query(st::RegistrationLookup(user));
    ASSERT_TRUE(lookup.delivered);
    ASSERT_TRUE(lookup.HasRecord(1));
    EXPECT_TRUE(lookup.records[1].isEmpty());

    // The service keeps its own registration time, whatever the statement says.
    const QDateTime before = Parsed(gateway::ReadServerTime());
    EXPECT_EQ(
        gateway::Execute(st::RegistrationInsert(user, password, phone, u"2000-01-01 00:00:00"))
            .text,
        "OK");
    const auto row = service->Query("SELECT 密码,手机,注册时间,是否冻结,文件名,是否在线" + where);
    ASSERT_EQ(row.size(), 1u);
    EXPECT_TRUE(row[0][0].startsWith("$argon2id$")) << row[0][0].toStdString();
    EXPECT_EQ(row[0][1], phone);
    const QDateTime registered = Parsed(row[0][2]);
    EXPECT_TRUE(registered >= before && registered <= before.addSecs(5)) << row[0][2].toStdString();
    EXPECT_EQ(row[0].mid(3), (QStringList{"0", "", "0"}));
    // The password is nowhere in the database: not in a column, not in the file's bytes.
    EXPECT_EQ(Scalar("SELECT count(*) FROM 用户管理 WHERE 密码 LIKE '%Plain-Text%'"), "0");
    if (IsSqlite()) {
        EXPECT_FALSE(DatabaseBytes(service->DatabasePath()).contains(password.toUtf8()));
    }
    EXPECT_TRUE(gateway::Query(st::RegistrationLookup(user)).HasRecord(1));

    const auto signIn = gateway::Query(st::SignInLookup(user, password)).Fields(1);
    ASSERT_TRUE(signIn);
    ASSERT_EQ(signIn->size(), 13);
    EXPECT_EQ(signIn->at(columns::kUser), user);
    EXPECT_EQ(signIn->at(columns::kPassword), password);
    EXPECT_EQ(signIn->at(columns::kPageName), "");
    EXPECT_EQ(signIn->at(columns::kFrozen), "False");
    const QString signedInAt = gateway::ReadServerTime();
    EXPECT_EQ(gateway::Execute(st::MarkOnline(signedInAt, user)).text, "OK");
    EXPECT_EQ(service->Query("SELECT 是否在线,上次登陆时间" + where)[0],
              (QStringList{QStringLiteral("－1"), signedInAt}));

    const QString name = QStringLiteral("iloveyou2026");
    EXPECT_TRUE(gateway::Query(st::PageNameLookup(name)).Fields(1)->isEmpty());
    EXPECT_EQ(gateway::Execute(st::ClaimPageName(name, QStringLiteral("文本切换"), user)).text,
              "OK");
    EXPECT_EQ(service->Query("SELECT 文件名,页面风格" + where)[0],
              (QStringList{name, QStringLiteral("文本切换")}));
    EXPECT_EQ(gateway::Query(st::PageNameLookup(name)).Fields(1)->value(columns::kPageName), name);

    const QString page = QStringLiteral(
        "<html><head><meta charset=\"GBK\"><title>给小美</title></head>"
        "<body>我喜欢你 € \"quotes\" 'single' &amp;</body></html>");
    EXPECT_EQ(gateway::UploadPage(name, page).text, "OK");
    const HttpResult published = HttpGet(service::PageAddress(name));
    EXPECT_EQ(published.status, 200);
    EXPECT_EQ(published.contentType, "text/html; charset=GBK");
    EXPECT_EQ(published.body, cp936::Encode(page));

    const QString uploadedAt = gateway::ReadServerTime();
    EXPECT_EQ(gateway::Execute(st::RecordUpload(QStringLiteral("心形"), uploadedAt, name)).text,
              "OK");
    EXPECT_EQ(service->Query("SELECT 页面风格,上传时间" + where)[0],
              (QStringList{QStringLiteral("心形"), uploadedAt}));

    const QString renamed = QStringLiteral("forever520");
    EXPECT_TRUE(gateway::Query(st::RenameLookup(renamed)).Fields(1)->isEmpty());
    EXPECT_EQ(gateway::Execute(st::RenamePageName(renamed, name)).text, "OK");
    EXPECT_EQ(gateway::RenamePage(name, renamed).text, "OK");
    EXPECT_EQ(Scalar("SELECT 文件名" + where), renamed);
    EXPECT_EQ(HttpGet(service::PageAddress(name)).status, 404);
    EXPECT_EQ(HttpGet(service::PageAddress(renamed)).body, cp936::Encode(page));

    EXPECT_EQ(gateway::Execute(st::MarkOffline(user)).text, "OK");
    EXPECT_EQ(Scalar("SELECT 是否在线" + where), "0");

    for (const st::Shape& shape : st::Catalogue()) {
        EXPECT_TRUE(service->LogContains(QStringLiteral("\"%1").arg(QLatin1String(shape.name))))
            << shape.name;
    }
}

TEST_P(EndToEnd, AdvertsComeInTheSameOrderAfterChanges) {
    OwnService own(StoreOptions());
    ASSERT_TRUE(StartAndPoint(own)) << own.Error().toStdString();
    ASSERT_EQ(own.RunCommand({"adverts", "remove", "1"}).exitCode, 0);
    ASSERT_EQ(own.RunCommand({"adverts", "add", "https://cdn.test/3.png", "https://shop.test/3"})
                  .exitCode,
              0);
    ASSERT_EQ(own.RunCommand({"adverts", "add", "/adverts/4.png", "/support"}).exitCode, 0);
    EXPECT_EQ(gateway::ReadAdvertImages().mid(1),
              (QStringList{own.Url() + "/adverts/advert-2.png", "https://cdn.test/3.png",
                           own.Url() + "/adverts/4.png"}));
    EXPECT_EQ(gateway::ReadAdvertLinks().mid(1),
              (QStringList{own.Url() + "/shop", "https://shop.test/3", own.Url() + "/support"}));
}

// Quotes left undoubled in every value slot of every statement: none of them is a statement
// of the client any more, and none changes the database.
TEST_P(EndToEnd, InjectionThroughEveryValueSlotIsRefused) {
    SignInDemo();
    const QStringList attacks{QStringLiteral("' or '1'='1"),
                              QStringLiteral("'; drop table 用户管理; --"), QStringLiteral("x' --"),
                              QStringLiteral("x'/*"), QStringLiteral("88888888' or 用户 like '%")};
    const QString rows =
        QStringLiteral("SELECT 用户||文件名||是否在线||密码 FROM 用户管理 ORDER BY 用户");
    const auto before = service->Query(rows);
    ASSERT_FALSE(before.empty());
    int sent = 0, slotCount = 0;
    for (const st::Shape& shape : st::Catalogue()) {
        slotCount += shape.values;
        for (int slot = 0; slot < shape.values; ++slot) {
            for (const QString& attack : attacks) {
                QString statement = QString::fromUtf16(shape.text);
                for (int k = 0; k < shape.values; ++k) {
                    const qsizetype at = statement.indexOf(QStringLiteral("'{}'"));
                    const QString value = k == slot ? attack : kDemoUser;
                    statement.replace(at, 4, QLatin1Char('\'') + value + QLatin1Char('\''));
                }
                const QString reply = shape.query ? gateway::Query(statement).records.join("|")
                                                  : gateway::Execute(statement).text;
                EXPECT_EQ(reply, "REFUSED") << statement.toStdString();
                ++sent;
            }
        }
    }
    EXPECT_EQ(sent, attacks.size() * slotCount);
    EXPECT_EQ(slotCount, 20);
    EXPECT_EQ(service->Query(rows), before);
    EXPECT_TRUE(
        service->LogContains(QStringLiteral("zc=2 \"REFUSED unknown statement: update 用户管理")));
    EXPECT_TRUE(service->LogContains(QStringLiteral("zc=1 \"REFUSED")));
    // Only shapes reach the log: the values (passwords among them) never do.
    EXPECT_FALSE(service->LogContains(QStringLiteral("drop table")));
}

TEST_P(EndToEnd, PageNamesThatLeaveThePageStoreAreRefused) {
    OwnService own(StoreOptions());
    ASSERT_TRUE(StartAndPoint(own)) << own.Error().toStdString();
    SignInDemo();
    ASSERT_EQ(gateway::Execute(st::ClaimPageName(u"mine", u"s", kDemoUser)).text, "OK");
    ASSERT_EQ(gateway::UploadPage("mine", "page").text, "OK");
    for (const QString& bad :
         {QStringLiteral("a/b"), QStringLiteral(".."), QStringLiteral("../mine"),
          QStringLiteral("我的网页"), QStringLiteral("mine.html"), QString()}) {
        EXPECT_EQ(gateway::UploadPage(bad, "x").text, "BADNAME") << bad.toStdString();
        EXPECT_EQ(gateway::RenamePage("mine", bad).text, "BADNAME") << bad.toStdString();
        EXPECT_EQ(gateway::RenamePage(bad, "mine").text, "BADNAME") << bad.toStdString();
    }
    EXPECT_EQ(gateway::Execute(st::RenamePageName(u"../etc", u"mine")).text, "BADNAME");
    EXPECT_EQ(own.Query("SELECT name FROM pages"), (std::vector<QStringList>{{"mine"}}));

    EXPECT_EQ(RawGet(own.Url(), "/love/mine").body, "page");
    EXPECT_EQ(RawGet(own.Url(), "/love/../asp/index.asp").status, 400);
    EXPECT_EQ(RawGet(own.Url(), "/love/..%2f..%2fetc%2fpasswd").status, 400);
    EXPECT_EQ(RawGet(own.Url(), "/love/%E6%88%91").status, 400);
    EXPECT_EQ(RawGet(own.Url(), "/love/nosuchpage").status, 404);
    const HttpResult escape = RawGet(own.Url(), "/biaobai/../../../../../../etc/passwd");
    EXPECT_EQ(escape.status, 404);
    EXPECT_FALSE(escape.body.contains("root:"));
    EXPECT_EQ(RawGet(own.Url(), "/biaobai/%2e%2e/index.html").status, 404);
    EXPECT_EQ(RawGet(own.Url(), "/adverts/..%2f..%2fsrc%2fserver%2fmain.cpp").status, 404);
    EXPECT_TRUE(own.LogContains("BADNAME"));
}

TEST_P(EndToEnd, MalformedBodiesAreRefusedAndLogged) {
    xmlhttp::Post(service::GatewayAddress(), "zc=49&sql=115A1x1");
    xmlhttp::Post(service::GatewayAddress(), "zc=49&sql=99999");
    xmlhttp::Post(service::GatewayAddress(), "zc=49&sql=115&data=97");
    xmlhttp::Post(service::GatewayAddress(), "hello");
    const QStringList lines = service->LogLines();
    auto count = [&](const QString& text) {
        return std::count_if(lines.begin(), lines.end(),
                             [&](const QString& l) { return l.contains(text); });
    };
    EXPECT_GE(count(QStringLiteral("zc=? \"BADNUMBER sql is not a number list\" 400")), 2);
    EXPECT_GE(count(QStringLiteral("zc=? \"BADFORM")), 2);
    // The service goes on answering.
    EXPECT_TRUE(gateway::ReadSystemSettings());
}

TEST_P(EndToEnd, OversizeBodyIsRefused) {
    ServiceProcess::Options options = StoreOptions();
    options.extraArguments << "--max-body"
                           << "65536";
    OwnService own(options);
    ASSERT_TRUE(StartAndPoint(own)) << own.Error().toStdString();
    SignInDemo();
    ASSERT_EQ(gateway::Execute(st::ClaimPageName(u"big", u"s", kDemoUser)).text, "OK");
    const QString huge(40000, QLatin1Char('x'));  // about 120 KB once encoded
    const auto reply = gateway::UploadPage("big", huge);
    if (reply.delivered) {
        EXPECT_EQ(reply.text, "TOOBIG");
    }
    EXPECT_TRUE(own.LogContains("\"TOOBIG body over 65536 bytes\" 413"))
        << own.ErrorOutput().toStdString();
    EXPECT_EQ(HttpGet(service::PageAddress("big")).status, 404);
    EXPECT_EQ(gateway::UploadPage("big", "small").text, "OK");
    EXPECT_EQ(HttpGet(service::PageAddress("big")).body, "small");
}

TEST_P(EndToEnd, AcknowledgedUploadSurvivesAKill) {
    OwnService own(StoreOptions());
    ASSERT_TRUE(StartAndPoint(own)) << own.Error().toStdString();
    SignInDemo();
    ASSERT_EQ(gateway::Execute(st::ClaimPageName(u"kept", u"s", kDemoUser)).text, "OK");
    QString page;
    for (int i = 0; i < 2000; ++i)
        page += QStringLiteral("第%1行 我爱你\n").arg(i);
    ASSERT_EQ(gateway::UploadPage("kept", page).text, "OK");
    own.Kill();
    ASSERT_FALSE(own.IsRunning());
    ASSERT_TRUE(own.Restart()) << own.Error().toStdString();
    EXPECT_EQ(HttpGet(own.Url() + "/love/kept").body, cp936::Encode(page));
}

// The service keeps published pages in memory, but never serves one that has changed: an
// upload, a rename and an operator's removal (another process) all show on the next visit,
// here and on a second service on the same database.
TEST_P(EndToEnd, PublishedPagesShowEveryChangeAtOnce) {
    OwnService own(StoreOptions());
    ASSERT_TRUE(StartAndPoint(own)) << own.Error().toStdString();
    ServiceProcess::Options options = StoreOptions();
    options.shareWith = &own;
    OwnService other(options);
    ASSERT_TRUE(other.Start()) << other.Error().toStdString();
    SignInDemo();
    ASSERT_EQ(gateway::Execute(st::ClaimPageName(u"fresh", u"s", kDemoUser)).text, "OK");
    const auto visit = [&](const ServiceProcess& s, const QString& name) {
        return HttpGet(s.Url() + "/love/" + name);
    };
    ASSERT_EQ(gateway::UploadPage("fresh", QStringLiteral("第一版")).text, "OK");
    EXPECT_EQ(visit(own, "fresh").body, cp936::Encode(u"第一版"));
    EXPECT_EQ(visit(other, "fresh").body, cp936::Encode(u"第一版"));
    const QByteArray firstTag = visit(own, "fresh").Header("ETag");
    EXPECT_FALSE(firstTag.isEmpty());

    // A browser holding the current version is told so; an old one gets the page.
    const HttpResult current = HttpGet(own.Url() + "/love/fresh", {{"If-None-Match", firstTag}});
    EXPECT_EQ(current.status, 304);
    EXPECT_TRUE(current.body.isEmpty());
    ASSERT_EQ(gateway::UploadPage("fresh", QStringLiteral("第二版")).text, "OK");
    EXPECT_EQ(visit(own, "fresh").body, cp936::Encode(u"第二版"));
    EXPECT_EQ(visit(other, "fresh").body, cp936::Encode(u"第二版"));
    const HttpResult changed = HttpGet(own.Url() + "/love/fresh", {{"If-None-Match", firstTag}});
    EXPECT_EQ(changed.status, 200);
    EXPECT_EQ(changed.body, cp936::Encode(u"第二版"));
    EXPECT_NE(changed.Header("ETag"), firstTag);

    // A rename through the other service.
    ASSERT_TRUE(service::SetAddress(other.Url()));
    ASSERT_EQ(gateway::Execute(st::RenamePageName(u"moved", u"fresh")).text, "OK");
    ASSERT_EQ(gateway::RenamePage("fresh", "moved").text, "OK");
    EXPECT_EQ(visit(own, "fresh").status, 404);
    EXPECT_EQ(visit(own, "moved").body, cp936::Encode(u"第二版"));

    // The operator removes it.
    ASSERT_EQ(own.RunCommand({"pages", "remove", "moved"}).exitCode, 0);
    EXPECT_EQ(visit(own, "moved").status, 404);
    EXPECT_EQ(visit(other, "moved").status, 404);
    xmlhttp::Manager().clearConnectionCache();
}

// One account walks its row along several names with the client's rename statement and uploads
// under each: it serves one page all the same, its last. The names it left answer 404 and are
// free, and a newcomer who claims one publishes its own page there.
TEST_P(EndToEnd, AnAccountServesOnePageWhereverItsRowGoes) {
    OwnService own(StoreOptions());
    ASSERT_TRUE(StartAndPoint(own)) << own.Error().toStdString();
    SignInDemo();
    const QStringList names{"walk1", "walk2", "walk3", "walk4"};
    ASSERT_EQ(gateway::Execute(st::ClaimPageName(names[0], u"s", kDemoUser)).text, "OK");
    for (qsizetype i = 0; i < names.size(); ++i) {
        if (i > 0) {
            ASSERT_EQ(gateway::Execute(st::RenamePageName(names[i], names[i - 1])).text, "OK");
        }
        ASSERT_EQ(gateway::UploadPage(names[i], QStringLiteral("walker %1").arg(i)).text, "OK");
    }
    EXPECT_EQ(HttpGet(service::PageAddress("walk4")).body, "walker 3");
    for (const QString& left : names.first(3)) {
        EXPECT_EQ(HttpGet(service::PageAddress(left)).status, 404) << left.toStdString();
        EXPECT_TRUE(gateway::Query(st::PageNameLookup(left)).Fields(1)->isEmpty())
            << left.toStdString();
    }
    EXPECT_EQ(own.Query("SELECT name FROM pages"), (std::vector<QStringList>{{"walk4"}}));

    ForgetSessions();
    const QString newcomer = QStringLiteral("7654321");
    ASSERT_EQ(gateway::Execute(st::RegistrationInsert(newcomer, u"pass-2", u"13900000000",
                                                      gateway::ReadServerTime()))
                  .text,
              "OK");
    ASSERT_TRUE(gateway::Query(st::SignInLookup(newcomer, u"pass-2")).HasRecord(1));
    ASSERT_EQ(gateway::Execute(st::ClaimPageName(u"walk2", u"s", newcomer)).text, "OK");
    EXPECT_EQ(gateway::UploadPage("walk2", QStringLiteral("newcomer")).text, "OK");
    EXPECT_EQ(HttpGet(service::PageAddress("walk2")).body, "newcomer");
    EXPECT_EQ(HttpGet(service::PageAddress("walk4")).body, "walker 3");
}

TEST_P(EndToEnd, WritesWithoutTheAccountsSessionAreDenied) {
    const QString where = QStringLiteral(" FROM 用户管理 WHERE 用户='88888888'");
    const QString before = Scalar("SELECT 是否在线||上次登陆时间||文件名" + where);
    EXPECT_EQ(gateway::Execute(st::MarkOnline(u"2026-01-01 00:00:00", kDemoUser)).text, "DENIED");
    EXPECT_EQ(gateway::Execute(st::ClaimPageName(u"hijack", u"s", kDemoUser)).text, "DENIED");
    EXPECT_EQ(gateway::UploadPage("hijack", "x").text, "DENIED");
    EXPECT_EQ(gateway::Execute(st::MarkOffline(kDemoUser)).text, "DENIED");
    // The client that never signed in marks its placeholder user offline when it closes.
    EXPECT_EQ(gateway::Execute(st::MarkOffline(QStringLiteral("用户名"))).text, "OK");
    EXPECT_EQ(Scalar("SELECT 是否在线||上次登陆时间||文件名" + where), before);
    EXPECT_TRUE(service->LogContains("\"DENIED mark-online: no session\" 403"));
}

TEST_P(EndToEnd, OperatorCommandsActOnTheRunningService) {
    OwnService own(StoreOptions());
    ASSERT_TRUE(StartAndPoint(own)) << own.Error().toStdString();
    const auto frozen = own.RunCommand({"users", "freeze", "88888888"});
    ASSERT_EQ(frozen.exitCode, 0) << frozen.output.toStdString();
    const auto fields = gateway::Query(st::SignInLookup(kDemoUser, kDemoPassword)).Fields(1);
    ASSERT_TRUE(fields);
    EXPECT_EQ(fields->value(columns::kFrozen), "True");
    EXPECT_EQ(gateway::Execute(st::MarkOnline(u"t", kDemoUser)).text, "DENIED");

    const auto refused = own.RunCommand({"settings", "set", "announcement", "一い二"});
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_TRUE(refused.output.contains(QStringLiteral("い"))) << refused.output.toStdString();
    ASSERT_EQ(
        own.RunCommand({"settings", "set", "announcement", "周末维护，暂停服务两小时"}).exitCode,
        0);
    ASSERT_EQ(own.RunCommand({"settings", "set", "state", "关闭"}).exitCode, 0);
    const auto settings = gateway::ReadSystemSettings();
    ASSERT_TRUE(settings);
    EXPECT_EQ(settings->value(columns::kServiceState), QStringLiteral("关闭"));
    EXPECT_EQ(settings->value(columns::kAnnouncement), QStringLiteral("周末维护，暂停服务两小时"));
}

TEST_P(EndToEnd, SignInAttemptsAreLimitedPerAddress) {
    ServiceProcess::Options options = StoreOptions();
    options.signInPerMinute = 2;
    OwnService own(options);
    ASSERT_TRUE(StartAndPoint(own)) << own.Error().toStdString();
    EXPECT_TRUE(gateway::Query(st::SignInLookup(kDemoUser, u"wrong")).Fields(1)->isEmpty());
    EXPECT_EQ(
        gateway::Query(st::SignInLookup(kDemoUser, kDemoPassword)).Fields(1)->value(columns::kUser),
        kDemoUser);
    const auto limited = gateway::Query(st::SignInLookup(kDemoUser, kDemoPassword));
    EXPECT_FALSE(limited.HasRecord(1));
    EXPECT_EQ(limited.records.join(""), "LIMIT");
    EXPECT_TRUE(own.LogContains("\"LIMIT sign-in-lookup\" 429"));
    EXPECT_TRUE(gateway::ReadSystemSettings());
}

TEST_P(EndToEnd, SitePagesAreServed) {
    const HttpResult home = HttpGet(service->Url() + "/");
    EXPECT_EQ(home.status, 200);
    EXPECT_EQ(home.contentType, "text/html; charset=utf-8");
    EXPECT_TRUE(QString::fromUtf8(home.body).contains(QStringLiteral("Zenri表白网页生成器")));
    for (const char* path : {"/download", "/support", "/shop", "/shop/kefu"}) {
        const HttpResult page = HttpGet(service->Url() + path);
        EXPECT_EQ(page.status, 200) << path;
        EXPECT_TRUE(page.body.contains("<html")) << path;
        // Each page's own style sheet and scripts are there as well.
        static const QRegularExpression asset(QStringLiteral("(?:href|src)=\"(/static/[^\"]+)\""));
        for (const auto& match : asset.globalMatch(QString::fromUtf8(page.body))) {
            EXPECT_EQ(HttpGet(service->Url() + match.captured(1)).status, 200)
                << path << " " << match.captured(1).toStdString();
        }
    }
    EXPECT_EQ(
        HttpGet(service->Url() + "/shop/kefu").body.contains(QStringLiteral("忘记密码").toUtf8()),
        true);
    EXPECT_EQ(HttpGet(service->Url() + "/healthz").body, "ok");
    EXPECT_EQ(HttpGet(service->Url() + "/nothing-here").status, 404);
    EXPECT_TRUE(service->LogContains("GET /nothing-here \"no such address\" 404"));
}

// What the published pages load: scripts as UTF-8, from any origin, cached, and media by byte
// ranges, as browsers play and seek them.
TEST_P(EndToEnd, PageStyleAssetsAreServedForBrowsers) {
    const QString script = service->Url() + "/biaobai/FG2/js/music.js";
    const HttpResult whole = HttpGet(script);
    ASSERT_EQ(whole.status, 200);
    EXPECT_EQ(whole.contentType, "application/javascript; charset=utf-8");
    EXPECT_EQ(whole.Header("Access-Control-Allow-Origin"), "*");
    EXPECT_EQ(whole.Header("Accept-Ranges"), "bytes");
    EXPECT_TRUE(whole.Header("Cache-Control").contains("max-age="));
    EXPECT_TRUE(QString::fromUtf8(whole.body).contains(QStringLiteral("点击开启音乐")));

    const HttpResult part = HttpGet(script, {{"Range", "bytes=10-19"}});
    EXPECT_EQ(part.status, 206);
    EXPECT_EQ(part.body, whole.body.mid(10, 10));
    EXPECT_EQ(part.Header("Content-Range"), "bytes 10-19/" + QByteArray::number(whole.body.size()));

    // Letter case of the folders is kept, and nothing outside them is served.
    EXPECT_EQ(HttpGet(service->Url() + "/biaobai/fg2/js/music.js").status, 404);
    EXPECT_EQ(HttpGet(service->Url() + "/favicon.ico").contentType, "image/png");
}

TEST_P(EndToEnd, EveryRequestIsLoggedInOneLine) {
    gateway::ReadSystemSettings();
    static const QRegularExpression line(
        QStringLiteral("^\\d{4}-\\d\\d-\\d\\d \\d\\d:\\d\\d:\\d\\d\\.\\d{3} 127\\.0\\.0\\.1 zc=1 "
                       "\"select-system-settings\" 200 \\d+\\.\\d\\dms$"));
    const QStringList lines = service->LogLines();
    ASSERT_FALSE(lines.isEmpty());
    EXPECT_TRUE(line.match(lines.last()).hasMatch()) << lines.last().toStdString();
}

TEST(ServiceLifetime, StopsCleanlyOnTerminate) {
    ServiceProcess service;
    ASSERT_TRUE(service.Start()) << service.Error().toStdString();
    EXPECT_EQ(HttpGet(service.Url() + "/healthz").status, 200);
    EXPECT_TRUE(service.Stop());
    EXPECT_FALSE(service.IsRunning());
    EXPECT_TRUE(service.ErrorOutput().contains("stopped"));
    EXPECT_EQ(HttpGet(service.Url() + "/healthz").status, 0);
}

INSTANTIATE_TEST_SUITE_P(Stores, EndToEnd,
                         ::testing::Values(TestDatabase::Kind::Sqlite,
                                           TestDatabase::Kind::Postgres),
                         [](const auto& info) { return TestDatabase::KindName(info.param); });

}  // namespace
