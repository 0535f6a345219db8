#include "Codepage936.h"
#include "GatewayHandler.h"
#include "GatewayProtocol.h"
#include "SessionTokens.h"
#include "SqliteStore.h"
#include "Statements.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <chrono>

using gateway::Command;
using server::GatewayReply;
using server::Outcome;
namespace st = statements;

namespace {

const QString kSite = QStringLiteral("http://example.test:8080");

// The handler on a real SQLite store, a fixed clock and a fake clock for the rate limits.
class GatewayHandlerTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        store = std::make_unique<server::SqliteStore>(dir.filePath("g.db"));
        QString error;
        ASSERT_TRUE(store->Initialise(&error)) << error.toStdString();
        MakeHandler(0, 0);
        ASSERT_EQ(store->InsertUser("10001", *hasher.Hash(u"secret1"), "13911112222", "t0"),
                  Outcome::Done);
        ASSERT_EQ(store->InsertUser("10002", *hasher.Hash(u"secret2"), "13933334444", "t0"),
                  Outcome::Done);
    }

    void MakeHandler(int signIn, int registration) {
        server::GatewayOptions options;
        options.signInPerMinute = signIn;
        options.registrationPerMinute = registration;
        options.clock = [] { return QDateTime(QDate(2026, 2, 14), QTime(9, 5, 3)); };
        options.limiterClock = [this] { return fakeNow; };
        handler = std::make_unique<server::GatewayHandler>(*store, hasher, options);
    }

    GatewayReply Send(const QByteArray& body, const QString& token = {},
                      const QString& address = "10.0.0.1") {
        server::RequestContext context{address, kSite, token};
        return handler->Handle(context, body);
    }
    GatewayReply Query(const QString& statement, const QString& token = {}) {
        return Send(gateway::StatementBody(Command::Query, statement), token);
    }
    GatewayReply Execute(const QString& statement, const QString& token = {}) {
        return Send(gateway::StatementBody(Command::Execute, statement), token);
    }
    static QString Text(const GatewayReply& reply) { return cp936::Decode(reply.body); }
    static QStringList Fields(const GatewayReply& reply) {
        const QStringList records = gateway::SplitRecords(Text(reply));
        return records.size() > 1 ? gateway::SplitFields(records[1]) : QStringList();
    }

    // Signs in and returns the session token of the cookie.
    QString SignIn(const QString& user, const QString& password) {
        const GatewayReply reply = Query(st::SignInLookup(user, password));
        const std::string prefix = std::string(server::kSessionCookie) + "=";
        if (reply.setCookie.rfind(prefix, 0) != 0)
            return {};
        return QString::fromStdString(reply.setCookie.substr(prefix.size(), 64));
    }

    QTemporaryDir dir;
    std::unique_ptr<server::SqliteStore> store;
    server::PasswordHasher hasher{server::HashCost::Min};
    std::unique_ptr<server::GatewayHandler> handler;
    std::chrono::steady_clock::time_point fakeNow{std::chrono::hours(1)};
};

TEST_F(GatewayHandlerTest, SettingsRowWithTheDownloadAddressOnThisSite) {
    ASSERT_TRUE(store->SetSetting(server::kAnnouncement, "公告"));
    GatewayReply reply = Query(st::SelectSystemSettings());
    EXPECT_EQ(reply.status, 200);
    EXPECT_EQ(reply.code, 1);
    EXPECT_EQ(Text(reply), QStringLiteral("いゼ1いZenri表白网页生成器い开放い公告いV1.2い") +
                               kSite + "/download");
    ASSERT_TRUE(store->SetSetting(server::kDownloadAddress, "https://elsewhere.test/get"));
    EXPECT_EQ(Fields(Query(st::SelectSystemSettings())).value(5), "https://elsewhere.test/get");
}

TEST_F(GatewayHandlerTest, AdvertQueriesAnswerInTheSameOrder) {
    store->AddAdvert("/adverts/a.png", "/");
    const qint64 gone = store->AddAdvert("/adverts/b.png", "/b");
    store->AddAdvert("https://cdn.test/c.png", "https://shop.test/c");
    store->RemoveAdvert(gone);
    store->AddAdvert("/adverts/d.png", "/shop");
    EXPECT_EQ(Text(Query(st::SelectAdvertImages())),
              QStringLiteral("いゼ%1/adverts/a.pngいゼhttps://cdn.test/c.pngいゼ%1/adverts/d.png")
                  .arg(kSite));
    EXPECT_EQ(Text(Query(st::SelectAdvertLinks())),
              QStringLiteral("いゼ%1/いゼhttps://shop.test/cいゼ%1/shop").arg(kSite));
}

TEST_F(GatewayHandlerTest, SignInLookupVerifiesThePasswordAndOpensASession) {
    GatewayReply ok = Query(st::SignInLookup(u"10001", u"secret1"));
    const QStringList fields = Fields(ok);
    ASSERT_EQ(fields.size(), 13);
    EXPECT_EQ(fields[0], "10001");
    EXPECT_EQ(fields[1], "secret1");  // the typed password, never the hash
    EXPECT_EQ(fields[2], "13911112222");
    EXPECT_EQ(fields[6], "");
    EXPECT_EQ(fields[12], "False");
    EXPECT_FALSE(Text(ok).contains("argon2"));
    EXPECT_NE(ok.setCookie.find("HttpOnly"), std::string::npos);
    EXPECT_NE(ok.setCookie.find("Path=/"), std::string::npos);
    EXPECT_EQ(ok.outcome, "sign-in-lookup (signed in)");

    for (const auto& [user, password] : {std::pair{u"10001", u"Secret1"},
                                         {u"10001", u""},
                                         {u"10003", u"secret1"},
                                         {u"10001", u"secret2"}}) {
        GatewayReply no = Query(st::SignInLookup(user, password));
        EXPECT_EQ(Text(no), QStringLiteral("いゼ"));
        EXPECT_TRUE(no.setCookie.empty());
    }
}

TEST_F(GatewayHandlerTest, FrozenAccountGetsItsRowButNoSession) {
    ASSERT_EQ(store->SetFrozen("10001", true, "reported"), Outcome::Done);
    GatewayReply reply = Query(st::SignInLookup(u"10001", u"secret1"));
    EXPECT_EQ(Fields(reply).value(12), "True");
    EXPECT_TRUE(reply.setCookie.empty());
}

TEST_F(GatewayHandlerTest, LookupsShowNoPasswordOrPhone) {
    ASSERT_EQ(store->ClaimPageName("page1", "风格", "10002"), Outcome::Done);
    for (const QString& statement : {st::RegistrationLookup(u"10002"), st::PageNameLookup(u"page1"),
                                     st::RenameLookup(u"page1")}) {
        const QStringList fields = Fields(Query(statement));
        ASSERT_EQ(fields.size(), 13) << statement.toStdString();
        EXPECT_EQ(fields[0], "10002");
        EXPECT_EQ(fields[1], "");
        EXPECT_EQ(fields[2], "");
        EXPECT_EQ(fields[6], "page1");
    }
    EXPECT_EQ(Text(Query(st::RegistrationLookup(u"55555"))), QStringLiteral("いゼ"));
    EXPECT_EQ(Text(Query(st::PageNameLookup(u"nothing"))), QStringLiteral("いゼ"));
    // Accounts without a page are not found by the empty name.
    EXPECT_EQ(Text(Query(st::PageNameLookup(u""))), QStringLiteral("いゼ"));
}

TEST_F(GatewayHandlerTest, RegistrationStoresAHashAndRefusesDuplicates) {
    GatewayReply reply =
        Execute(st::RegistrationInsert(u"20001", u"pa'ss", u"13800001111", u"2026-02-14 09:05:03"));
    EXPECT_EQ(Text(reply), "OK");
    const auto row = store->UserByName("20001");
    ASSERT_TRUE(row);
    EXPECT_TRUE(row->passwordHash.startsWith("$argon2id$")) << row->passwordHash.toStdString();
    EXPECT_FALSE(row->passwordHash.contains("pa'ss"));
    EXPECT_TRUE(hasher.Verify(row->passwordHash, u"pa'ss"));
    EXPECT_EQ(row->phone, "13800001111");
    EXPECT_EQ(row->registeredAt, "2026-02-14 09:05:03");
    EXPECT_FALSE(SignIn("20001", "pa'ss").isEmpty());

    GatewayReply again = Execute(st::RegistrationInsert(u"20001", u"other", u"13800001111", u"t"));
    EXPECT_EQ(Text(again), "TAKEN");
    EXPECT_EQ(again.status, 409);
    EXPECT_TRUE(hasher.Verify(store->UserByName("20001")->passwordHash, u"pa'ss"));

    for (const QString& statement : {st::RegistrationInsert(u"20002", u"pwい", u"1", u"t"),
                                     st::RegistrationInsert(u"20003", u"", u"1", u"t"),
                                     st::RegistrationInsert(u"  ", u"pw", u"1", u"t"),
                                     st::RegistrationInsert(u"20004", u"pw", u"1ゼ", u"t")}) {
        EXPECT_EQ(Text(Execute(statement)), "BADVALUE") << statement.toStdString();
    }
    EXPECT_EQ(store->Users().size(), 3u);
}

TEST_F(GatewayHandlerTest, AccountWritesNeedTheAccountsSession) {
    const QString online = st::MarkOnline(u"2026-02-14 09:05:03", u"10001");
    EXPECT_EQ(Text(Execute(online)), "DENIED");
    EXPECT_EQ(Text(Execute(online, QString(64, QLatin1Char('a')))), "DENIED");
    const QString other = SignIn("10002", "secret2");
    ASSERT_FALSE(other.isEmpty());
    GatewayReply denied = Execute(online, other);
    EXPECT_EQ(Text(denied), "DENIED");
    EXPECT_EQ(denied.status, 403);
    EXPECT_EQ(store->UserByName("10001")->online, "0");

    const QString mine = SignIn("10001", "secret1");
    ASSERT_FALSE(mine.isEmpty());
    EXPECT_EQ(Text(Execute(online, mine)), "OK");
    const auto row = store->UserByName("10001");
    EXPECT_EQ(row->online, QStringLiteral("－1"));
    EXPECT_EQ(row->lastSignInAt, "2026-02-14 09:05:03");
    EXPECT_EQ(row->signInCount, 1);

    // The online flag is part of the statement: an ASCII "-1" is some other statement.
    QString ascii = online;
    ascii.replace(QStringLiteral("'－1'"), QStringLiteral("'-1'"));
    EXPECT_EQ(Text(Execute(ascii, mine)), "REFUSED");
}

TEST_F(GatewayHandlerTest, MarkOfflineEndsTheSession) {
    EXPECT_EQ(Text(Execute(st::MarkOffline(u"用户名"))), "OK");  // nobody signed in
    EXPECT_EQ(Text(Execute(st::MarkOffline(u"10001"))), "DENIED");
    const QString token = SignIn("10001", "secret1");
    ASSERT_EQ(Text(Execute(st::MarkOnline(u"t", u"10001"), token)), "OK");
    EXPECT_EQ(Text(Execute(st::MarkOffline(u"10002"), token)), "DENIED");
    EXPECT_EQ(Text(Execute(st::MarkOffline(u"10001"), token)), "OK");
    EXPECT_EQ(store->UserByName("10001")->online, "0");
    EXPECT_EQ(Text(Execute(st::MarkOnline(u"t", u"10001"), token)), "DENIED");
}

TEST_F(GatewayHandlerTest, ClaimingAPageName) {
    const QString token = SignIn("10001", "secret1");
    EXPECT_EQ(Text(Execute(st::ClaimPageName(u"mine", u"文本切换", u"10002"), token)), "DENIED");
    for (const char16_t* bad : {u"a/b", u"..", u"我的", u"", u"abcdefghijabcdefghijabcdefghijk"}) {
        EXPECT_EQ(Text(Execute(st::ClaimPageName(bad, u"s", u"10001"), token)), "BADNAME");
    }
    EXPECT_EQ(Text(Execute(st::ClaimPageName(u"mine", u"文本切换", u"10001"), token)), "OK");
    EXPECT_EQ(store->UserByName("10001")->pageName, "mine");
    EXPECT_EQ(store->UserByName("10001")->pageStyle, QStringLiteral("文本切换"));
    // Claiming the same name again is harmless; another name needs a rename.
    EXPECT_EQ(Text(Execute(st::ClaimPageName(u"mine", u"3D画册", u"10001"), token)), "OK");
    EXPECT_EQ(Text(Execute(st::ClaimPageName(u"second", u"s", u"10001"), token)), "DENIED");

    const QString other = SignIn("10002", "secret2");
    EXPECT_EQ(Text(Execute(st::ClaimPageName(u"mine", u"s", u"10002"), other)), "TAKEN");
    EXPECT_EQ(store->UserByName("10002")->pageName, "");
}

TEST_F(GatewayHandlerTest, UploadAndRecordNeedTheAccountsOwnPageName) {
    const QString page = QStringLiteral("<html><title>给你</title>€</html>");
    const QByteArray upload = gateway::UploadBody(u"mine", page);
    EXPECT_EQ(Text(Send(upload)), "DENIED");
    const QString token = SignIn("10001", "secret1");
    EXPECT_EQ(Text(Send(upload, token)), "DENIED");  // no name claimed yet
    ASSERT_EQ(Text(Execute(st::ClaimPageName(u"mine", u"s", u"10001"), token)), "OK");
    GatewayReply ok = Send(upload, token);
    EXPECT_EQ(Text(ok), "OK");
    EXPECT_EQ(ok.code, 4);
    EXPECT_EQ(store->Page("mine"), cp936::Encode(page));
    EXPECT_EQ(store->UserByName("10001")->uploadCount, 1);

    const QString other = SignIn("10002", "secret2");
    EXPECT_EQ(Text(Send(gateway::UploadBody(u"mine", u"overwritten"), other)), "DENIED");
    EXPECT_EQ(Text(Send(gateway::UploadBody(u"../mine", u"x"), token)), "BADNAME");
    EXPECT_EQ(store->Page("mine"), cp936::Encode(page));

    const QString record = st::RecordUpload(u"心形", u"2026-02-14 09:05:03", u"mine");
    EXPECT_EQ(Text(Execute(record, other)), "DENIED");
    EXPECT_EQ(Text(Execute(record, token)), "OK");
    EXPECT_EQ(store->UserByName("10001")->uploadedAt, "2026-02-14 09:05:03");
    EXPECT_EQ(store->UserByName("10001")->pageStyle, QStringLiteral("心形"));
}

TEST_F(GatewayHandlerTest, RenameMovesTheRowAndThePage) {
    const QString token = SignIn("10001", "secret1");
    ASSERT_EQ(Text(Execute(st::ClaimPageName(u"old", u"s", u"10001"), token)), "OK");
    ASSERT_EQ(Text(Send(gateway::UploadBody(u"old", u"page"), token)), "OK");
    const QString other = SignIn("10002", "secret2");
    ASSERT_EQ(Text(Execute(st::ClaimPageName(u"hers", u"s", u"10002"), other)), "OK");
    ASSERT_EQ(Text(Send(gateway::UploadBody(u"hers", u"her page"), other)), "OK");

    // Neither the row nor the page can be moved onto a name another account holds.
    EXPECT_EQ(Text(Execute(st::RenamePageName(u"hers", u"old"), token)), "TAKEN");
    EXPECT_EQ(Text(Send(gateway::RenameBody(u"old", u"hers"), token)), "TAKEN");
    EXPECT_EQ(Text(Send(gateway::RenameBody(u"hers", u"old"), token)), "TAKEN");
    EXPECT_EQ(store->Page("hers"), "her page");
    // Another account's name cannot be renamed away.
    EXPECT_EQ(Text(Execute(st::RenamePageName(u"stolen", u"hers"), token)), "DENIED");
    EXPECT_EQ(Text(Send(gateway::RenameBody(u"hers", u"stolen"), token)), "DENIED");

    // The client's order: the row first, then the page.
    EXPECT_EQ(Text(Execute(st::RenamePageName(u"newer", u"old"), token)), "OK");
    EXPECT_EQ(store->UserByName("10001")->pageName, "newer");
    GatewayReply moved = Send(gateway::RenameBody(u"old", u"newer"), token);
    EXPECT_EQ(Text(moved), "OK");
    EXPECT_EQ(moved.code, 5);
    EXPECT_FALSE(store->Page("old"));
    EXPECT_EQ(store->Page("newer"), "page");
    EXPECT_EQ(Text(Send(gateway::RenameBody(u"old", u"newer"), token)), "NOTFOUND");
    EXPECT_EQ(Text(Send(gateway::RenameBody(u"a/b", u"newer"), token)), "BADNAME");
}

TEST_F(GatewayHandlerTest, StatementsOutsideTheCatalogueAreRefused) {
    const QString token = SignIn("10001", "secret1");
    const QStringList hostile{
        "select * from 用户管理",
        "delete from 用户管理",
        "drop table 用户管理",
        "Select * from 用户管理 where 用户='10001' and 密码='x' or '1'='1'",
        "Select * from 用户管理 where 用户='10001' -- ' and 密码='x'",
        "Select * from 用户管理 where 用户='10001'; drop table 用户管理; --' and 密码='x'",
        "select * from 系统设置; drop table 系统设置",
        "select * from 系统设置 /* comment */",
        "update 用户管理 set 是否在线='0' where 用户='10001' or 1=1",
        "update 用户管理 set 是否在线='0',密码='x' where 用户='10001'",
        "Select * from 用户管理 where 用户='open",
    };
    for (const QString& statement : hostile) {
        for (Command code : {Command::Query, Command::Execute}) {
            GatewayReply reply = Send(gateway::StatementBody(code, statement), token);
            EXPECT_EQ(Text(reply), "REFUSED") << statement.toStdString();
            EXPECT_EQ(reply.status, 403);
            EXPECT_TRUE(reply.outcome.startsWith("REFUSED")) << reply.outcome.toStdString();
            // The log shows the shape, never the values.
            EXPECT_FALSE(reply.outcome.contains("10001")) << reply.outcome.toStdString();
        }
    }
    // Catalogue statements with the wrong command code.
    EXPECT_EQ(Text(Execute(st::SelectSystemSettings())), "REFUSED");
    EXPECT_EQ(Text(Query(st::MarkOffline(u"10001"), token)), "REFUSED");
    EXPECT_EQ(store->Users().size(), 2u);
    EXPECT_EQ(store->UserByName("10001")->online, "0");
}

// Values built by the client's own statement builders travel as values, whatever they hold.
TEST_F(GatewayHandlerTest, HostileValuesStayValues) {
    for (const char16_t* value : {u"10001' or '1'='1", u"10001'; drop table 用户管理; --",
                                  u"10001' /*", u"' or ''='", u"10001\\'"}) {
        EXPECT_EQ(Text(Query(st::SignInLookup(value, u"x' or '1'='1"))), QStringLiteral("いゼ"));
        EXPECT_EQ(Text(Query(st::RegistrationLookup(value))), QStringLiteral("いゼ"));
        EXPECT_EQ(Text(Query(st::PageNameLookup(value))), QStringLiteral("いゼ"));
    }
    EXPECT_EQ(store->Users().size(), 2u);
    EXPECT_EQ(
        Text(Execute(st::RegistrationInsert(u"x'); drop table 用户管理; --", u"p", u"1", u"t"))),
        "OK");
    EXPECT_TRUE(store->UserByName("x'); drop table 用户管理; --"));
    EXPECT_EQ(store->Users().size(), 3u);
}

TEST_F(GatewayHandlerTest, OverlongValuesAndBadBodiesAreRefused) {
    const QString longName(server::kMaxValueLength + 1, QLatin1Char('1'));
    EXPECT_EQ(Text(Query(st::RegistrationLookup(longName))), "BADVALUE");
    GatewayReply bad = Send("zc=49&sql=115A1O1");
    EXPECT_EQ(Text(bad), "BADNUMBER");
    EXPECT_EQ(bad.status, 400);
    EXPECT_EQ(bad.code, 0);
    EXPECT_EQ(Text(Send("zc=55")), "BADFORM");
}

TEST_F(GatewayHandlerTest, ServerTimeIsLocalTimeInFixedForm) {
    GatewayReply reply = Send(gateway::ServerTimeBody());
    EXPECT_EQ(Text(reply), "2026-02-14 09:05:03");
    EXPECT_EQ(reply.code, 3);
}

TEST_F(GatewayHandlerTest, SignInsAndRegistrationsAreLimitedPerAddress) {
    MakeHandler(3, 2);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(Text(Query(st::SignInLookup(u"10001", u"wrong"))), QStringLiteral("いゼ"));
    }
    GatewayReply limited = Query(st::SignInLookup(u"10001", u"secret1"));
    EXPECT_EQ(Text(limited), "LIMIT");
    EXPECT_EQ(limited.status, 429);
    // Another address is counted on its own; other statements are not limited.
    GatewayReply elsewhere =
        Send(gateway::StatementBody(Command::Query, st::SignInLookup(u"10001", u"secret1")), {},
             "10.0.0.2");
    EXPECT_EQ(Fields(elsewhere).value(0), "10001");
    EXPECT_EQ(Fields(Query(st::RegistrationLookup(u"10001"))).value(0), "10001");
    fakeNow += std::chrono::seconds(61);
    EXPECT_EQ(Fields(Query(st::SignInLookup(u"10001", u"secret1"))).value(0), "10001");

    EXPECT_EQ(Text(Execute(st::RegistrationInsert(u"30001", u"p", u"1", u"t"))), "OK");
    EXPECT_EQ(Text(Execute(st::RegistrationInsert(u"30002", u"p", u"1", u"t"))), "OK");
    EXPECT_EQ(Text(Execute(st::RegistrationInsert(u"30003", u"p", u"1", u"t"))), "LIMIT");
    EXPECT_FALSE(store->UserByName("30003"));
}

TEST(GatewayHelpers, AddressesAndSeparators) {
    EXPECT_EQ(server::ExpandAddress("/shop", "http://h:1"), "http://h:1/shop");
    EXPECT_EQ(server::ExpandAddress("http://x/y", "http://h:1"), "http://x/y");
    EXPECT_EQ(server::ExpandAddress("//cdn/x", "http://h:1"), "//cdn/x");
    EXPECT_EQ(server::ExpandAddress("", "http://h:1"), "");
    EXPECT_TRUE(server::HasReplySeparator(u"公告い"));
    EXPECT_TRUE(server::HasReplySeparator(u"ゼ"));
    EXPECT_FALSE(server::HasReplySeparator(u"公告"));
}

TEST(SessionCookies, TokenComesBackFromTheCookieHeader) {
    const QString token = server::NewSessionToken();
    EXPECT_EQ(token.size(), 64);
    EXPECT_NE(token, server::NewSessionToken());
    EXPECT_NE(server::SessionDigest(token), token);
    EXPECT_EQ(server::SessionDigest(token), server::SessionDigest(token));
    const std::string header = "a=1; zr_session=" + token.toStdString() + "; b=2";
    EXPECT_EQ(server::SessionTokenFromCookies(header), token);
    EXPECT_EQ(server::SessionTokenFromCookies("zr_session=" + token.toStdString()), token);
    EXPECT_EQ(server::SessionTokenFromCookies("zr_session=short"), "");
    EXPECT_EQ(server::SessionTokenFromCookies("xzr_session=" + token.toStdString()), "");
    EXPECT_EQ(server::SessionTokenFromCookies(""), "");
}

}  // namespace
