#include "TestDatabase.h"
#include "server/SqliteStore.h"

#include <QFile>

#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

using server::Outcome;
using server::SqliteStore;

namespace {

// Every test runs on both stores: the embedded SQLite file and a PostgreSQL server. They
// must behave alike, down to letter case and the order of listings.
class StoreTest : public ::testing::TestWithParam<TestDatabase::Kind> {
protected:
    void SetUp() override {
        if (!db.Ready())
            GTEST_SKIP() << db.Error().toStdString();
        store = Open();
        QString error;
        ASSERT_TRUE(store->Initialise(&error)) << error.toStdString();
    }

    std::unique_ptr<server::Store> Open() {
        QString error;
        auto opened = server::OpenStore(db.Location(), &error);
        EXPECT_TRUE(opened) << error.toStdString();
        return opened;
    }

    // A statement on a connection of the test's own, as another program would see the data.
    QString Scalar(const QString& sql) { return db.Scalar(sql); }
    bool IsSqlite() const { return GetParam() == TestDatabase::Kind::Sqlite; }

    void AddUser(const QString& user) {
        ASSERT_EQ(store->InsertUser(user, "hash-" + user, "13800000000", "2026-01-01 10:00:00"),
                  Outcome::Done);
    }

    TestDatabase db{GetParam()};
    std::unique_ptr<server::Store> store;
};

TEST_P(StoreTest, SchemaIsCreatedOnceAndVersioned) {
    EXPECT_EQ(store->SchemaVersion(), 3);
    QString error;
    EXPECT_TRUE(store->Initialise(&error)) << error.toStdString();
    EXPECT_EQ(db.Joined("version", "schema_version", "version"), "1,2,3");
    if (IsSqlite()) {
        EXPECT_EQ(Scalar("PRAGMA journal_mode"), "wal");
    }
    // The settings row exists from the start, with the client's version.
    const auto row = store->SettingsRow();
    ASSERT_TRUE(row);
    ASSERT_EQ(row->size(), columns::kSettingsCount);
    EXPECT_EQ(row->at(columns::kNewestVersion), "V1.2");
    EXPECT_EQ(row->at(columns::kServiceState), QStringLiteral("开放"));
}

// Password hashes, phones and session digests are for the service's own user alone.
// (A PostgreSQL server keeps its files its own way.)
TEST(SqliteStoreFiles, AreReadableByTheirOwnerOnly) {
    TestDatabase db(TestDatabase::Kind::Sqlite);
    auto store = std::make_unique<SqliteStore>(db.Location());
    QString error;
    ASSERT_TRUE(store->Initialise(&error)) << error.toStdString();
    constexpr QFileDevice::Permissions kOwnerOnly =
        QFileDevice::ReadOwner | QFileDevice::WriteOwner;
    const auto others = [](const QString& path) {
        return QFile(path).permissions() &
               (QFileDevice::ReadGroup | QFileDevice::WriteGroup | QFileDevice::ReadOther |
                QFileDevice::WriteOther | QFileDevice::ExeGroup | QFileDevice::ExeOther);
    };
    ASSERT_EQ(store->InsertUser("10001", "h", "13800000000", "t"), Outcome::Done);
    const QString path = db.Location();
    ASSERT_TRUE(QFile::exists(path + "-wal"));
    EXPECT_EQ(others(path), 0);
    EXPECT_EQ(others(path + "-wal"), 0);
    EXPECT_EQ(others(path + "-shm"), 0);

    // A database made readable by others before is narrowed when the service opens it.
    store.reset();
    ASSERT_TRUE(
        QFile(path).setPermissions(kOwnerOnly | QFileDevice::ReadGroup | QFileDevice::ReadOther));
    ASSERT_NE(others(path), 0);
    SqliteStore again(path);
    EXPECT_EQ(others(path), 0);
    EXPECT_TRUE(again.UserByName("10001"));
}

TEST_P(StoreTest, RefusesADatabaseOfANewerVersion) {
    Scalar("INSERT INTO schema_version VALUES (7)");
    auto again = Open();
    QString error;
    EXPECT_FALSE(again->Initialise(&error));
    EXPECT_TRUE(error.contains("7")) << error.toStdString();
}

// A database of the first version gains page owners: each page belongs to the account whose
// row holds its name, a page nobody names to no account. Its pages gain versions, each its own.
// Nothing is deleted, but only the page a row holds is served.
TEST_P(StoreTest, OlderDatabaseGainsPageOwnersAndVersions) {
    AddUser("10001");
    ASSERT_EQ(store->ClaimPageName("kept", "s", "10001"), Outcome::Done);
    store.reset();
    Scalar("DROP INDEX pages_owner");
    Scalar("ALTER TABLE pages DROP COLUMN owner");
    Scalar("ALTER TABLE pages DROP COLUMN version");
    Scalar("DELETE FROM schema_version WHERE version>1");
    Scalar("INSERT INTO pages(name,content,updated_at) VALUES('kept','a','t'),('stray','b','t')");
    ASSERT_EQ(Scalar("SELECT max(version) FROM schema_version"), "1");

    store = Open();
    QString error;
    ASSERT_TRUE(store->Initialise(&error)) << error.toStdString();
    EXPECT_EQ(store->SchemaVersion(), 3);
    EXPECT_EQ(db.Joined("name||'='||owner", "pages", "name"), "kept=10001,stray=");
    EXPECT_EQ(Scalar("SELECT count(DISTINCT version) FROM pages WHERE version>0"), "2");
    EXPECT_GT(store->PageVersion("kept").value_or(0), 0);
    EXPECT_EQ(store->PageVersion("stray"), 0);
    AddUser("10002");
    EXPECT_EQ(store->PutPage("kept", "new", "t", "10002"), Outcome::Denied);
    EXPECT_EQ(store->PutPage("stray", "mine now", "t", "10002"), Outcome::Denied);
    EXPECT_EQ(store->Page("kept"), "a");
}

TEST_P(StoreTest, NewUserRowHasDefaultsAndUniqueName) {
    AddUser("10001");
    const auto row = store->UserByName("10001");
    ASSERT_TRUE(row);
    EXPECT_FALSE(row->frozen);
    EXPECT_EQ(row->pageName, "");
    EXPECT_EQ(row->online, "0");
    EXPECT_EQ(row->passwordHash, "hash-10001");
    EXPECT_EQ(store->InsertUser("10001", "other", "1", "t"), Outcome::Taken);
    EXPECT_EQ(store->UserByName("10001")->passwordHash, "hash-10001");
    EXPECT_FALSE(store->UserByName("1000"));
}

TEST_P(StoreTest, PageNamesAreUniqueOnlyWhenSet) {
    AddUser("10001");
    AddUser("10002");
    AddUser("10003");
    // Accounts without a page all hold the empty name; it does not find them.
    EXPECT_FALSE(store->UserByPageName(""));
    EXPECT_EQ(store->ClaimPageName("ours", "风格", "10001"), Outcome::Done);
    EXPECT_EQ(store->ClaimPageName("ours", "风格", "10002"), Outcome::Taken);
    EXPECT_EQ(store->ClaimPageName("theirs", "风格", "10002"), Outcome::Done);
    EXPECT_EQ(store->RenamePageName("theirs", "ours", "10001"), Outcome::Taken);
    EXPECT_EQ(store->RenamePageName("fresh", "ours", "10002"), Outcome::NotFound);
    EXPECT_EQ(store->RenamePageName("fresh", "ours", "10001"), Outcome::Done);
    EXPECT_EQ(store->UserByPageName("fresh")->user, "10001");
    EXPECT_FALSE(store->UserByPageName("ours"));
    EXPECT_EQ(store->ClaimPageName("x", "s", "nobody"), Outcome::NotFound);
    // Letter case makes a different name.
    EXPECT_EQ(store->ClaimPageName("Fresh", "风格", "10003"), Outcome::Done);
    // The database itself refuses a duplicate, whatever writes it.
    EXPECT_EQ(Scalar("UPDATE 用户管理 SET 文件名='fresh' WHERE 用户='10002' RETURNING 1"), "");
    EXPECT_EQ(store->UserByName("10002")->pageName, "theirs");
}

TEST_P(StoreTest, OnlineFlagAndCounts) {
    AddUser("10001");
    EXPECT_EQ(store->MarkOnline(QStringLiteral("－1"), "2026-02-02 12:00:00", "10001"),
              Outcome::Done);
    auto row = store->UserByName("10001");
    EXPECT_EQ(row->online, QStringLiteral("－1"));
    EXPECT_EQ(row->lastSignInAt, "2026-02-02 12:00:00");
    EXPECT_EQ(row->signInCount, 1);
    EXPECT_EQ(store->MarkOffline("10001"), Outcome::Done);
    EXPECT_EQ(store->UserByName("10001")->online, "0");
    EXPECT_EQ(store->MarkOffline("99999"), Outcome::NotFound);
}

TEST_P(StoreTest, PagesMoveAndCountTheirUploads) {
    AddUser("10001");
    ASSERT_EQ(store->ClaimPageName("first", "s", "10001"), Outcome::Done);
    const QByteArray bytes("<html>\x80\xce\xd2</html>", 16);
    EXPECT_EQ(store->PutPage("first", bytes, "t1", "10001"), Outcome::Done);
    EXPECT_EQ(store->PutPage("first", bytes + "2", "t2", "10001"), Outcome::Done);
    EXPECT_EQ(store->Page("first"), bytes + "2");
    EXPECT_EQ(store->UserByName("10001")->uploadCount, 2);
    // Each write gives the page a new version; reading it alone or with the page agrees.
    const auto version = store->PageVersion("first");
    ASSERT_TRUE(version);
    EXPECT_GT(*version, 0);
    EXPECT_EQ(store->PageAndVersion("first"), std::make_pair(bytes + "2", *version));
    EXPECT_EQ(store->PageVersion("none"), 0);
    EXPECT_EQ(store->PageAndVersion("none")->second, 0);
    ASSERT_EQ(store->PutPage("first", bytes + "2", "t3", "10001"), Outcome::Done);
    EXPECT_NE(store->PageVersion("first"), version);
    ASSERT_EQ(store->PutPage("first", bytes + "2", "t2", "10001"), Outcome::Done);
    EXPECT_EQ(store->UserByName("10001")->uploadCount, 4);
    EXPECT_EQ(store->PageBytesOf("10001"), bytes.size() + 1);

    // A page without an owner left under the new name is replaced by the moved one.
    Scalar("INSERT INTO pages(name,content,updated_at,owner) VALUES('second','stale','t','')");
    ASSERT_EQ(store->Page("second"), "stale");
    EXPECT_EQ(store->RenamePageName("second", "first", "10001"), Outcome::Done);
    EXPECT_FALSE(store->Page("first"));
    EXPECT_EQ(store->Page("second"), bytes + "2");
    EXPECT_EQ(store->RemovePage("second"), Outcome::Done);
    EXPECT_EQ(store->RemovePage("second"), Outcome::NotFound);
    EXPECT_EQ(store->PageBytesOf("10001"), 0);
}

// Nobody overwrites, moves or takes over the page of another account.
TEST_P(StoreTest, PagesStayWithTheirOwner) {
    AddUser("10001");
    AddUser("10002");
    ASSERT_EQ(store->ClaimPageName("alice", "s", "10001"), Outcome::Done);
    ASSERT_EQ(store->PutPage("alice", "mine", "t", "10001"), Outcome::Done);
    EXPECT_EQ(store->PutPage("alice", "theirs", "t", "10002"), Outcome::Denied);
    EXPECT_EQ(store->Page("alice"), "mine");
    EXPECT_EQ(store->UserByName("10001")->uploadCount, 1);  // a refused write counts nothing

    EXPECT_EQ(store->MovePage("alice", "bob", "10002"), Outcome::Denied);
    ASSERT_EQ(store->ClaimPageName("bob", "s", "10002"), Outcome::Done);
    ASSERT_EQ(store->PutPage("bob", "bob's", "t", "10002"), Outcome::Done);
    EXPECT_EQ(store->MovePage("alice", "bob", "10001"), Outcome::Denied);
    EXPECT_EQ(store->MovePage("alice", "bob", "10002"), Outcome::Done);  // nothing of 10002's moves
    EXPECT_EQ(store->Page("alice"), "mine");
    EXPECT_EQ(store->Page("bob"), "bob's");
    EXPECT_EQ(store->PageBytesOf("10002"), 5);
    EXPECT_EQ(store->Pages().front().owner, "10001");
}

// The client renames the row (the statement), then asks for the page's move (code 5), and after
// a refused move renames the row back. The page goes with the row each time; the move after
// the statement finds it in place.
TEST_P(StoreTest, APageMovesWithItsRow) {
    AddUser("10001");
    ASSERT_EQ(store->ClaimPageName("first", "s", "10001"), Outcome::Done);
    ASSERT_EQ(store->PutPage("first", "page", "t", "10001"), Outcome::Done);
    const auto version = store->PageVersion("first");

    ASSERT_EQ(store->RenamePageName("second", "first", "10001"), Outcome::Done);
    EXPECT_FALSE(store->Page("first"));
    EXPECT_EQ(store->PageVersion("second"), version);
    EXPECT_EQ(store->MovePage("first", "second", "10001"), Outcome::Done);
    EXPECT_EQ(store->Page("second"), "page");
    EXPECT_EQ(store->MovePage("second", "third", "10001"), Outcome::Denied);

    ASSERT_EQ(store->RenamePageName("first", "second", "10001"), Outcome::Done);
    EXPECT_EQ(store->Page("first"), "page");
    EXPECT_FALSE(store->Page("second"));
    EXPECT_EQ(store->PageVersion("first"), version);
    EXPECT_EQ(store->Pages().size(), 1u);
}

// Only the page of the account whose row holds the name is served there (or one without an
// owner): pages left where a row moved on stay stored but unseen, and go with that account's
// next upload or with the next holder of the name.
TEST_P(StoreTest, AddressesServeTheirHoldersPageOnly) {
    AddUser("10001");
    AddUser("10002");
    AddUser("10003");
    ASSERT_EQ(store->ClaimPageName("his", "s", "10001"), Outcome::Done);
    ASSERT_EQ(store->ClaimPageName("hers", "s", "10002"), Outcome::Done);
    // Pages left behind before pages moved with their rows: 10001's under a name nobody holds
    // and under 10002's name; pages without an owner under 10001's name (served as its page)
    // and under a name nobody holds.
    Scalar(
        "INSERT INTO pages(name,content,updated_at,owner,version) VALUES "
        "('gone','a','t','10001',11),('hers','b','t','10001',12),('his','c','t','',13),"
        "('orphan','d','t','',14)");
    EXPECT_EQ(store->PageVersion("gone"), 0);
    EXPECT_EQ(store->PageVersion("hers"), 0);
    EXPECT_EQ(store->PageAndVersion("hers"), std::make_pair(QByteArray(), qint64{0}));
    EXPECT_EQ(store->PageAndVersion("his"), std::make_pair(QByteArray("c"), qint64{13}));
    EXPECT_EQ(store->PageVersion("orphan"), 0);

    // A write goes under the writer's own name only, in place of what stands there.
    EXPECT_EQ(store->PutPage("orphan", "x", "t", "10001"), Outcome::Denied);
    EXPECT_EQ(store->PutPage("hers", "x", "t", "10001"), Outcome::Denied);
    ASSERT_EQ(store->PutPage("hers", "her page", "t", "10002"), Outcome::Done);
    EXPECT_EQ(store->PageAndVersion("hers")->first, "her page");
    EXPECT_EQ(store->PageBytesOf("10001"), 1);
    ASSERT_EQ(store->PutPage("his", "his page", "t", "10001"), Outcome::Done);
    EXPECT_FALSE(store->Page("gone"));
    EXPECT_EQ(store->PageBytesOf("10001"), 8);

    // Claiming a name clears what was left under it.
    ASSERT_EQ(store->ClaimPageName("orphan", "s", "10003"), Outcome::Done);
    EXPECT_FALSE(store->Page("orphan"));
    EXPECT_EQ(db.Joined("name||'='||owner", "pages", "name"), "hers=10002,his=10001");
}

TEST_P(StoreTest, SessionsEndWithTimeFreezeAndRemoval) {
    AddUser("10001");
    ASSERT_TRUE(store->CreateSession("digest-a", "10001", 1000));
    EXPECT_EQ(store->SessionUser("digest-a", 1000), "10001");
    EXPECT_FALSE(store->SessionUser("digest-a", 1001));  // too old
    EXPECT_FALSE(store->SessionUser("digest-b", 0));

    ASSERT_EQ(store->SetFrozen("10001", true, "reported"), Outcome::Done);
    EXPECT_FALSE(store->SessionUser("digest-a", 0));
    EXPECT_EQ(store->UserByName("10001")->remark, "reported");
    ASSERT_EQ(store->SetFrozen("10001", false, ""), Outcome::Done);
    ASSERT_TRUE(store->CreateSession("digest-c", "10001", 2000));
    EXPECT_EQ(store->SessionUser("digest-c", 0), "10001");
    store->EndSession("digest-c");
    EXPECT_FALSE(store->SessionUser("digest-c", 0));

    ASSERT_TRUE(store->CreateSession("digest-d", "10001", 100));
    ASSERT_TRUE(store->CreateSession("digest-e", "10001", 3000));
    store->PurgeSessions(2000);
    EXPECT_EQ(db.Joined("token_digest", "sessions", "token_digest"), "digest-e");

    ASSERT_EQ(store->ClaimPageName("mine", "s", "10001"), Outcome::Done);
    ASSERT_EQ(store->PutPage("mine", "x", "t", "10001"), Outcome::Done);
    EXPECT_EQ(store->RemoveUser("10001"), Outcome::Done);
    EXPECT_FALSE(store->Page("mine"));
    EXPECT_EQ(Scalar("SELECT count(*) FROM sessions"), "0");
    EXPECT_EQ(store->RemoveUser("10001"), Outcome::NotFound);
}

// An account keeps its newest sessions only; the sessions of other accounts are not touched.
TEST_P(StoreTest, SessionsPerAccountAreBounded) {
    AddUser("10001");
    AddUser("10002");
    ASSERT_TRUE(store->CreateSession("other", "10002", 1));
    for (int i = 0; i < server::kSessionsPerAccount + 2; ++i)
        ASSERT_TRUE(store->CreateSession(QStringLiteral("s%1").arg(i), "10001", 100 + i));
    EXPECT_FALSE(store->SessionUser("s0", 0));
    EXPECT_FALSE(store->SessionUser("s1", 0));
    for (int i = 2; i < server::kSessionsPerAccount + 2; ++i)
        EXPECT_EQ(store->SessionUser(QStringLiteral("s%1").arg(i), 0), "10001") << i;
    EXPECT_EQ(store->SessionUser("other", 0), "10002");
    EXPECT_EQ(Scalar("SELECT count(*) FROM sessions WHERE user_name='10001'"),
              QString::number(server::kSessionsPerAccount));
}

TEST_P(StoreTest, AdvertsKeepTheirOrder) {
    const qint64 a = store->AddAdvert("/a.png", "/a");
    const qint64 b = store->AddAdvert("/b.png", "/b");
    const qint64 c = store->AddAdvert("/c.png", "/c");
    EXPECT_EQ(store->RemoveAdvert(b), Outcome::Done);
    store->AddAdvert("/d.png", "/d");
    EXPECT_EQ(store->AdvertImages(), (QStringList{"/a.png", "/c.png", "/d.png"}));
    EXPECT_EQ(store->AdvertLinks(), (QStringList{"/a", "/c", "/d"}));
    EXPECT_EQ(store->Adverts().front().id, a);
    EXPECT_EQ(store->Adverts().at(1).id, c);
    EXPECT_EQ(store->RemoveAdvert(b), Outcome::NotFound);
}

TEST_P(StoreTest, SettingsChangeByPosition) {
    EXPECT_TRUE(store->SetSetting(columns::kAnnouncement, "新公告"));
    EXPECT_EQ(store->SettingsRow()->at(columns::kAnnouncement), QStringLiteral("新公告"));
    EXPECT_FALSE(store->SetSetting(columns::kSettingsId, "2"));
    EXPECT_FALSE(store->SetSetting(columns::kSettingsCount, "x"));
    EXPECT_EQ(store->SettingsRow()->at(columns::kSettingsId), "1");
}

// Every thread gets a connection of its own; writers from several threads at once all land.
TEST_P(StoreTest, ManyThreadsWriteAndReadAtOnce) {
    constexpr int kThreads = 6;
    constexpr int kEach = 25;
    std::atomic<int> failures{0};
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back([&, t] {
            for (int i = 0; i < kEach; ++i) {
                const QString user = QStringLiteral("u%1x%2").arg(t).arg(i);
                const QString page = QStringLiteral("p%1x%2").arg(t).arg(i);
                if (store->InsertUser(user, "h", "p", "t") != Outcome::Done ||
                    store->ClaimPageName(page, "s", user) != Outcome::Done ||
                    store->PutPage(page, page.toLatin1(), "t", user) != Outcome::Done ||
                    store->Page(page) != page.toLatin1() || !store->SettingsRow()) {
                    ++failures;
                }
            }
        });
    }
    for (auto& t : threads)
        t.join();
    EXPECT_EQ(failures.load(), 0);
    EXPECT_EQ(store->Users().size(), size_t{kThreads * kEach});
    EXPECT_EQ(store->Pages().size(), size_t{kThreads * kEach});
    EXPECT_EQ(store->Pages().front().owner, "u0x0");
}

INSTANTIATE_TEST_SUITE_P(Stores, StoreTest,
                         ::testing::Values(TestDatabase::Kind::Sqlite,
                                           TestDatabase::Kind::Postgres),
                         [](const auto& info) { return TestDatabase::KindName(info.param); });

}  // namespace
