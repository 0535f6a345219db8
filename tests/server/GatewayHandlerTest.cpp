#include "common/Codepage936.h"
#include "common/GatewayProtocol.h"
#include "common/Statements.h"
#include "server/GatewayHandler.h"
#include "server/HttpHead.h"
#include "server/SessionTokens.h"
#include "server/SqliteStore.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <vector>

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
        MakeHandler({});
        ASSERT_EQ(store->InsertUser("10001", *hasher.Hash(u"secret1"), "13911112222", "t0"),
                  Outcome::Done);
        ASSERT_EQ(store->InsertUser("10002", *hasher.Hash(u"secret2"), "13933334444", "t0"),
                  Outcome::Done);
    }

    // Limits not given are off.
    struct Limits {
        int signIn = 0, registration = 0, lookups = 0, failures = 0;
        qint64 pageBytes = qint64{1} << 20, quota = qint64{2} << 20;
    };
    // The handler hashes with `with` when given (the fixture's cheapest hasher otherwise).
    void MakeHandler(Limits limits, server::PasswordHasher* with = nullptr) {
        server::GatewayOptions options;
        options.signInPerMinute = limits.signIn;
        options.registrationPerMinute = limits.registration;
        options.lookupsPerMinute = limits.lookups;
        options.failuresPerAddress = limits.failures;
        options.maxPageBytes = limits.pageBytes;
        options.pageQuotaBytes = limits.quota;
        options.clock = [] { return QDateTime(QDate(2026, 2, 14), QTime(9, 5, 3)); };
        options.limiterClock = [this] { return fakeNow; };
        handler = std::make_unique<server::GatewayHandler>(*store, with ? *with : hasher, options);
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
    static int RowCount(const GatewayReply& reply) {
        return int(gateway::SplitRecords(Text(reply)).size()) - 1;
    }
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

    // A statement on the database from a connection of the test's own, as another program
    // would write it.
    void RunBehindTheStore(const QString& sql) {
        const QString connection = QStringLiteral("behind-the-store");
        {
            QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connection);
            db.setDatabaseName(dir.filePath("g.db"));
            ASSERT_TRUE(db.open()) << db.lastError().text().toStdString();
            QSqlQuery q(db);
            EXPECT_TRUE(q.exec(sql)) << q.lastError().text().toStdString();
        }
        QSqlDatabase::removeDatabase(connection);
    }

    QTemporaryDir dir;
    std::unique_ptr<server::SqliteStore> store;
    server::PasswordHasher hasher{server::HashCost::Min};
    std::unique_ptr<server::GatewayHandler> handler;
    std::chrono::steady_clock::time_point fakeNow{std::chrono::hours(1)};
};

TEST_F(GatewayHandlerTest, SettingsRowWithTheDownloadAddressOnThisSite) {
    ASSERT_TRUE(store->SetSetting(columns::kAnnouncement, "公告"));
    GatewayReply reply = Query(st::SelectSystemSettings());
    EXPECT_EQ(reply.status, 200);
    EXPECT_EQ(reply.code, 1);
    EXPECT_EQ(Text(reply), QStringLiteral("いゼ1いZenri表白网页生成器い开放い公告いV1.2い") +
                               kSite + "/download");
    ASSERT_TRUE(store->SetSetting(columns::kDownloadAddress, "https://elsewhere.test/get"));
    EXPECT_EQ(Fields(Query(st::SelectSystemSettings())).value(columns::kDownloadAddress),
              "https://elsewhere.test/get");
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
    EXPECT_EQ(fields[columns::kUser], "10001");
    EXPECT_EQ(fields[columns::kPassword], "secret1");  // the typed password, never the hash
    EXPECT_EQ(fields[columns::kPhone], "13911112222");
    EXPECT_EQ(fields[columns::kPageName], "");
    EXPECT_EQ(fields[columns::kFrozen], "False");
    EXPECT_FALSE(Text(ok).contains("argon2"));
    EXPECT_NE(ok.setCookie.find("HttpOnly"), std::string::npos);
    EXPECT_NE(ok.setCookie.find("Path=/asp/;"), std::string::npos);  // no page elsewhere sees it
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

// A sign-in for an account that does not exist costs a password check all the same: how long
// it takes must not tell which accounts exist. Without the check against a stand-in hash, a
// missing account is answered in well under a millisecond against tens of milliseconds for a
// wrong password at the real cost. Medians of several tries, and only "at least half as long":
// a comparison of times, not a race.
TEST_F(GatewayHandlerTest, SignInTakesAsLongForAMissingAccountAsForAWrongPassword) {
    server::PasswordHasher standard(server::HashCost::Standard);
    MakeHandler({}, &standard);
    ASSERT_EQ(store->InsertUser("10009", *standard.Hash(u"secret9"), "13977778888", "t0"),
              Outcome::Done);
    const auto median = [&](const QString& user) {
        std::vector<double> ms;
        for (int i = 0; i < 7; ++i) {
            const auto start = std::chrono::steady_clock::now();
            const GatewayReply reply = Query(st::SignInLookup(user, u"not-the-password"));
            ms.push_back(
                std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
                    .count());
            EXPECT_EQ(Text(reply), QStringLiteral("いゼ"));  // refused either way
        }
        std::sort(ms.begin(), ms.end());
        return ms[ms.size() / 2];
    };
    median(QStringLiteral("10010"));  // the stand-in hash is made on first use
    const double wrongPassword = median(QStringLiteral("10009"));
    const double missingAccount = median(QStringLiteral("10010"));
    RecordProperty("wrong_password_ms", QString::number(wrongPassword, 'f', 1).toStdString());
    RecordProperty("missing_account_ms", QString::number(missingAccount, 'f', 1).toStdString());
    EXPECT_GE(missingAccount, wrongPassword / 2)
        << "missing account " << missingAccount << " ms, wrong password " << wrongPassword << " ms";
}

// Sessions past their days leave the database while the service runs, not only at its start.
TEST_F(GatewayHandlerTest, SignInsClearSessionsPastTheirDays) {
    const qint64 now = QDateTime(QDate(2026, 2, 14), QTime(9, 5, 3)).toSecsSinceEpoch();
    ASSERT_TRUE(store->CreateSession("stale", "10002", now - 31 * 86400));
    ASSERT_TRUE(store->CreateSession("recent", "10002", now - 29 * 86400));
    ASSERT_FALSE(SignIn("10001", "secret1").isEmpty());
    EXPECT_FALSE(store->SessionUser("stale", 0));
    EXPECT_EQ(store->SessionUser("recent", 0), "10002");
}

TEST_F(GatewayHandlerTest, FrozenAccountGetsItsRowButNoSession) {
    ASSERT_EQ(store->SetFrozen("10001", true, "reported"), Outcome::Done);
    GatewayReply reply = Query(st::SignInLookup(u"10001", u"secret1"));
    EXPECT_EQ(Fields(reply).value(columns::kFrozen), "True");
    EXPECT_TRUE(reply.setCookie.empty());
}

// A lookup about a name tells whether it is taken, and of a page name the name itself (field 6,
// which the upload reads); the account behind a page only to that account's own session.
TEST_F(GatewayHandlerTest, LookupsTellOnlyWhatTheClientReads) {
    ASSERT_EQ(store->ClaimPageName("page1", "风格", "10002"), Outcome::Done);
    ASSERT_EQ(store->MarkOnline(QStringLiteral("－1"), "2026-02-01 08:00:00", "10002"),
              Outcome::Done);
    const QString hers = SignIn("10002", "secret2");
    const QString mine = SignIn("10001", "secret1");
    ASSERT_FALSE(hers.isEmpty());
    ASSERT_FALSE(mine.isEmpty());
    const QStringList nothing(13, QString());

    for (const QString& token : {QString(), mine, hers}) {
        const GatewayReply taken = Query(st::RegistrationLookup(u"10002"), token);
        EXPECT_EQ(RowCount(taken), 1);
        EXPECT_EQ(Fields(taken), nothing);
    }
    for (const QString& statement : {st::PageNameLookup(u"page1"), st::RenameLookup(u"page1")}) {
        QStringList expected = nothing;
        expected[columns::kPageName] = "page1";
        EXPECT_EQ(Fields(Query(statement)), expected) << statement.toStdString();
        EXPECT_EQ(Fields(Query(statement, mine)), expected) << statement.toStdString();
        expected[columns::kUser] = "10002";
        EXPECT_EQ(Fields(Query(statement, hers)), expected) << statement.toStdString();
    }
    EXPECT_EQ(Text(Query(st::RegistrationLookup(u"55555"))), QStringLiteral("いゼ"));
    EXPECT_EQ(Text(Query(st::RegistrationLookup(u"１００２"))), QStringLiteral("いゼ"));
    EXPECT_EQ(Text(Query(st::PageNameLookup(u"nothing"))), QStringLiteral("いゼ"));
    // Accounts without a page are not found by the empty name.
    EXPECT_EQ(Text(Query(st::PageNameLookup(u""))), QStringLiteral("いゼ"));
}

TEST_F(GatewayHandlerTest, RegistrationStoresAHashAndRefusesDuplicates) {
    // The registration time is the service's own, whatever the statement says.
    GatewayReply reply =
        Execute(st::RegistrationInsert(u"20001", u"pa'ss", u"13800001111", u"2000-01-01 00:00:00"));
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

    const QString phone = QStringLiteral("13800001111");
    for (const QString& statement :
         {st::RegistrationInsert(u"20002", u"pwい", phone, u"t"),
          st::RegistrationInsert(u"20003", u"", phone, u"t"),
          st::RegistrationInsert(u"20004", u"pw\tx", phone, u"t"),
          st::RegistrationInsert(u"20004", u"pw", u"1380000111ゼ", u"t")}) {
        GatewayReply refused = Execute(statement);
        EXPECT_EQ(Text(refused), "BADVALUE") << statement.toStdString();
        EXPECT_EQ(refused.status, 422);
    }
    EXPECT_EQ(store->Users().size(), 3u);
}

// Account names are QQ numbers, phone numbers mobile numbers: nothing that only looks like one.
TEST_F(GatewayHandlerTest, AccountNamesAndPhonesAreAsciiDigits) {
    const QString phone = QStringLiteral("13800001111");
    for (const QString& user :
         {QStringLiteral("88888888 "), QStringLiteral(" 88888888"),
          QStringLiteral("８８８８８８８８"), QStringLiteral("1234"), QStringLiteral("12345678901"),
          QStringLiteral("8888a888"), QStringLiteral("\x1b[2J8888"), QStringLiteral("8888\n8888"),
          QStringLiteral("8888") + QChar(0) + QStringLiteral("8888"), QStringLiteral("8888\t888"),
          QString()}) {
        EXPECT_EQ(Text(Execute(st::RegistrationInsert(user, u"pw", phone, u"t"))), "BADVALUE")
            << user.toStdString();
    }
    for (const QString& badPhone : {QStringLiteral("1380000111"), QStringLiteral("138000011112"),
                                    QStringLiteral("１3800001111"), QStringLiteral("13800001111 "),
                                    QStringLiteral("+8613800001")}) {
        EXPECT_EQ(Text(Execute(st::RegistrationInsert(u"20001", u"pw", badPhone, u"t"))),
                  "BADVALUE")
            << badPhone.toStdString();
    }
    EXPECT_EQ(store->Users().size(), 2u);
    EXPECT_EQ(Text(Execute(st::RegistrationInsert(u"12345", u"pw", phone, u"t"))), "OK");
    EXPECT_EQ(Text(Execute(st::RegistrationInsert(u"1234567890", u"pw", phone, u"t"))), "OK");
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
    // The sign-in time is the service's own.
    EXPECT_EQ(Text(Execute(st::MarkOnline(u"not-a-time", u"10001"), mine)), "OK");
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
    for (const char16_t* bad :
         {u"a/b", u"..", u"我的", u"", u"abcdefghijabcdefghijabcdefghijk", u"Mine", u"MINE"}) {
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

    const QString record = st::RecordUpload(u"心形", u"2000-01-01 00:00:00", u"mine");
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

    // Neither the row nor the page can be moved onto a name another account holds, and no
    // page moves to a name that is not the caller's, nor away from another account.
    EXPECT_EQ(Text(Execute(st::RenamePageName(u"hers", u"old"), token)), "TAKEN");
    EXPECT_EQ(Text(Send(gateway::RenameBody(u"old", u"hers"), token)), "DENIED");
    EXPECT_EQ(Text(Send(gateway::RenameBody(u"hers", u"old"), token)), "OK");
    EXPECT_EQ(store->Page("hers"), "her page");
    EXPECT_EQ(store->Page("old"), "page");
    // Another account's name cannot be renamed away.
    EXPECT_EQ(Text(Execute(st::RenamePageName(u"stolen", u"hers"), token)), "DENIED");
    EXPECT_EQ(Text(Send(gateway::RenameBody(u"hers", u"stolen"), token)), "DENIED");

    // The client's order: the row first, which takes the page along, then the page.
    EXPECT_EQ(Text(Execute(st::RenamePageName(u"newer", u"old"), token)), "OK");
    EXPECT_EQ(store->UserByName("10001")->pageName, "newer");
    EXPECT_FALSE(store->Page("old"));
    EXPECT_EQ(store->Page("newer"), "page");
    GatewayReply moved = Send(gateway::RenameBody(u"old", u"newer"), token);
    EXPECT_EQ(Text(moved), "OK");
    EXPECT_EQ(moved.code, 5);
    EXPECT_EQ(store->Page("newer"), "page");
    EXPECT_EQ(Text(Send(gateway::RenameBody(u"a/b", u"newer"), token)), "BADNAME");
    EXPECT_EQ(Text(Send(gateway::RenameBody(u"newer", u"newer"), token)), "OK");
    EXPECT_EQ(Text(Send(gateway::RenameBody(u"old", u"newer"))), "DENIED");  // no session
}

// The two requests of a rename are checked apart; between them, or without the first, nobody
// takes the page of another account or leaves a page that nobody owns.
TEST_F(GatewayHandlerTest, ARenameNeverHandsAPageToAnotherAccount) {
    ASSERT_EQ(store->InsertUser("10003", *hasher.Hash(u"secret3"), "13955556666", "t0"),
              Outcome::Done);
    const QString victim = SignIn("10001", "secret1");
    const QString attacker = SignIn("10002", "secret2");
    ASSERT_EQ(Text(Execute(st::ClaimPageName(u"vicpage", u"s", u"10001"), victim)), "OK");
    ASSERT_EQ(Text(Send(gateway::UploadBody(u"vicpage", u"victim's page"), victim)), "OK");

    // A name differing only in letter case cannot be held beside it.
    EXPECT_EQ(Text(Execute(st::ClaimPageName(u"VICPAGE", u"s", u"10002"), attacker)), "BADNAME");
    ASSERT_EQ(Text(Execute(st::ClaimPageName(u"atk", u"s", u"10002"), attacker)), "OK");

    // The victim's row moves on and takes the page along; the attacker's moves, from the old
    // name or the new one, find nothing of the attacker's to move.
    ASSERT_EQ(Text(Execute(st::RenamePageName(u"vic2", u"vicpage"), victim)), "OK");
    EXPECT_EQ(Text(Send(gateway::RenameBody(u"vicpage", u"atk"), attacker)), "OK");
    EXPECT_EQ(Text(Send(gateway::RenameBody(u"vic2", u"atk"), attacker)), "OK");
    EXPECT_EQ(Text(Send(gateway::RenameBody(u"vicpage", u"VICPAGE"), attacker)), "BADNAME");
    EXPECT_FALSE(store->Page("atk"));
    // The old name is free now, to claim and to write under.
    const QString third = SignIn("10003", "secret3");
    ASSERT_EQ(Text(Execute(st::ClaimPageName(u"vicpage", u"s", u"10003"), third)), "OK");
    EXPECT_EQ(Text(Send(gateway::UploadBody(u"vicpage", u"third's page"), third)), "OK");
    EXPECT_EQ(Text(Send(gateway::RenameBody(u"vicpage", u"vicpage"), third)), "OK");

    // The victim's own move, late, finds its page in place and takes nothing from the name's
    // new holder.
    EXPECT_EQ(Text(Send(gateway::RenameBody(u"vicpage", u"vic2"), victim)), "OK");
    EXPECT_EQ(store->Page("vic2"), "victim's page");
    EXPECT_EQ(store->Page("vicpage"), "third's page");

    // A move to a free name the row does not hold is refused, so no page is left unowned.
    ASSERT_EQ(Text(Send(gateway::UploadBody(u"atk", u"attacker's page"), attacker)), "OK");
    EXPECT_EQ(Text(Send(gateway::RenameBody(u"atk", u"free"), attacker)), "DENIED");
    EXPECT_EQ(store->Page("atk"), "attacker's page");
    EXPECT_FALSE(store->Page("free"));
    for (const auto& page : store->Pages())
        EXPECT_FALSE(page.owner.isEmpty()) << page.name.toStdString();
}

TEST_F(GatewayHandlerTest, PagesHaveASizeLimitAndAccountsAQuota) {
    MakeHandler({.pageBytes = 100, .quota = 150});
    const QString token = SignIn("10001", "secret1");
    ASSERT_EQ(Text(Execute(st::ClaimPageName(u"mine", u"s", u"10001"), token)), "OK");
    EXPECT_EQ(Text(Send(gateway::UploadBody(u"mine", QString(100, QLatin1Char('a'))), token)),
              "OK");
    GatewayReply big = Send(gateway::UploadBody(u"mine", QString(101, QLatin1Char('b'))), token);
    EXPECT_EQ(Text(big), "TOOBIG");
    EXPECT_EQ(big.status, 413);
    // Replacing the page counts the new bytes in place of the old.
    EXPECT_EQ(Text(Send(gateway::UploadBody(u"mine", QString(99, QLatin1Char('c'))), token)), "OK");
    EXPECT_EQ(store->Page("mine"), QByteArray(99, 'c'));
    // An empty page is refused with a word of its own, and the page stays as it was.
    const GatewayReply empty = Send(gateway::UploadBody(u"mine", u""), token);
    EXPECT_EQ(Text(empty), "BADVALUE");
    EXPECT_EQ(empty.status, 422);
    EXPECT_EQ(store->Page("mine"), QByteArray(99, 'c'));
    // Fields far over their limits are refused as such, whatever follows in them.
    QByteArray numbers("zc=49&sql=49");
    for (int i = 0; i < 100000; ++i)
        numbers += "A49";
    EXPECT_EQ(Text(Send(numbers + "Ax", token)), "BADVALUE");
    EXPECT_EQ(Text(Send("zc=52&File=97&data=" + numbers.mid(10) + "Ax", token)), "TOOBIG");

    // A page the account left under another name (before pages moved with their rows) does
    // not count: the upload takes it away.
    RunBehindTheStore(
        "INSERT INTO pages(name,content,updated_at,owner,version) VALUES "
        "('left',zeroblob(100),'t','10001',1)");
    ASSERT_EQ(store->PageBytesOf("10001"), 199);
    EXPECT_EQ(Text(Send(gateway::UploadBody(u"mine", QString(98, QLatin1Char('d'))), token)), "OK");
    EXPECT_FALSE(store->Page("left"));
    EXPECT_EQ(store->PageBytesOf("10001"), 98);

    // A quota below the page limit bounds the page.
    MakeHandler({.pageBytes = 100, .quota = 50});
    EXPECT_EQ(Text(Send(gateway::UploadBody(u"mine", QString(51, QLatin1Char('e'))), token)),
              "TOOBIG");
    EXPECT_EQ(Text(Send(gateway::UploadBody(u"mine", QString(50, QLatin1Char('e'))), token)), "OK");
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
    const QString password = QStringLiteral("x'); drop table 用户管理; --");
    EXPECT_EQ(Text(Execute(st::RegistrationInsert(u"30001", password, u"13800001111", u"t"))),
              "OK");
    EXPECT_EQ(store->Users().size(), 3u);
    EXPECT_FALSE(SignIn("30001", password).isEmpty());
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
    MakeHandler({.signIn = 3, .registration = 2});
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
    EXPECT_EQ(Fields(elsewhere).value(columns::kUser), "10001");
    EXPECT_EQ(RowCount(Query(st::RegistrationLookup(u"10001"))), 1);
    fakeNow += std::chrono::seconds(61);
    EXPECT_EQ(Fields(Query(st::SignInLookup(u"10001", u"secret1"))).value(columns::kUser), "10001");

    const QString phone = QStringLiteral("13800001111");
    EXPECT_EQ(Text(Execute(st::RegistrationInsert(u"30001", u"p", phone, u"t"))), "OK");
    EXPECT_EQ(Text(Execute(st::RegistrationInsert(u"30002", u"p", phone, u"t"))), "OK");
    EXPECT_EQ(Text(Execute(st::RegistrationInsert(u"30003", u"p", phone, u"t"))), "LIMIT");
    EXPECT_FALSE(store->UserByName("30003"));
}

// Lookups are limited per address, and the addresses of one IPv6 network count together.
TEST_F(GatewayHandlerTest, LookupsAreLimitedPerAddressAndNetwork) {
    MakeHandler({.lookups = 3});
    const auto lookup = [this](const QString& statement, const QString& address) {
        return Text(Send(gateway::StatementBody(Command::Query, statement), {}, address));
    };
    EXPECT_TRUE(lookup(st::RegistrationLookup(u"10001"), "2001:db8:1:2::1").startsWith(u"いゼい"));
    EXPECT_EQ(lookup(st::PageNameLookup(u"any"), "2001:db8:1:2::2"), QStringLiteral("いゼ"));
    EXPECT_EQ(lookup(st::RenameLookup(u"any"), "2001:db8:1:2:ffff::9"), QStringLiteral("いゼ"));
    EXPECT_EQ(lookup(st::RegistrationLookup(u"10001"), "2001:db8:1:2::1"), "LIMIT");
    EXPECT_EQ(lookup(st::PageNameLookup(u"any"), "2001:db8:1:2:abcd::1"), "LIMIT");
    // Another /64, another IPv4 address: counted on their own.
    EXPECT_EQ(lookup(st::PageNameLookup(u"any"), "2001:db8:1:3::1"), QStringLiteral("いゼ"));
    EXPECT_EQ(lookup(st::PageNameLookup(u"any"), "10.0.0.9"), QStringLiteral("いゼ"));
    // The settings and adverts are asked at every start and are not limited.
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(RowCount(Send(gateway::StatementBody(Command::Query, st::SelectSystemSettings()),
                                {}, "2001:db8:1:2::1")),
                  1);
    fakeNow += std::chrono::seconds(61);
    EXPECT_TRUE(lookup(st::RegistrationLookup(u"10001"), "2001:db8:1:2::1").startsWith(u"いゼい"));
}

// Guessing a password: an address that failed too often is refused on that account, and
// nobody else is; the owner's right password from an address that has not failed signs in at
// once. Addresses that have failed wait for the account's turns, which move apart as the
// failures mount, and are refused only when the next turn is too far off.
TEST_F(GatewayHandlerTest, GuessersAreSlowedAndTheOwnerIsNeverLockedOut) {
    MakeHandler({.failures = 3});
    const auto attempt = [this](const QString& password, const QString& address) {
        const QByteArray body =
            gateway::StatementBody(Command::Query, st::SignInLookup(u"10001", password));
        const server::RequestContext context{address, kSite, {}};
        const server::PreparedRequest prepared = handler->Prepare(context, body);
        return std::make_pair(prepared.notBefore, handler->Handle(context, prepared));
    };
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(Text(attempt("guess", "10.1.0.1").second), QStringLiteral("いゼ"));
    const auto [at, refused] = attempt("secret1", "10.1.0.1");
    EXPECT_EQ(Text(refused), "LIMIT");
    EXPECT_TRUE(refused.setCookie.empty());
    const auto [owner, signedIn] = attempt("secret1", "10.9.9.9");
    EXPECT_EQ(owner, fakeNow);
    EXPECT_FALSE(signedIn.setCookie.empty());

    // Twenty addresses guess once each; then each of them waits for a turn, spaced out more
    // and more, while a fresh address is not slowed.
    for (int i = 0; i < 20; ++i)
        attempt("guess", QStringLiteral("10.2.%1.1").arg(i));
    std::vector<std::chrono::steady_clock::time_point> turns;
    for (int i = 0; i < 20; ++i) {
        const auto [turn, reply] = attempt("guess", QStringLiteral("10.2.%1.1").arg(i));
        if (Text(reply) == "LIMIT" && turn == std::chrono::steady_clock::time_point())
            break;
        turns.push_back(turn);
    }
    ASSERT_GE(turns.size(), 3u);
    EXPECT_LT(turns.size(), 20u) << "turns too far off are refused";
    for (size_t i = 1; i < turns.size(); ++i) {
        EXPECT_GE(turns[i] - turns[i - 1], std::chrono::milliseconds(250)) << i;
        if (i > 1) {
            EXPECT_GE(turns[i] - turns[i - 1], turns[i - 1] - turns[i - 2]) << i;
        }
    }
    EXPECT_LE(turns.back() - fakeNow, server::SignInGuard::kLongestWait);
    EXPECT_EQ(attempt("secret1", "10.3.0.1").first, fakeNow);

    // An hour on, the first guesser may try again.
    fakeNow += std::chrono::minutes(61);
    EXPECT_FALSE(attempt("secret1", "10.1.0.1").second.setCookie.empty());
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
