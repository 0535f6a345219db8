#include "SqliteStore.h"

#include <QFile>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

#include <array>
#include <atomic>
#include <initializer_list>
#include <utility>

namespace server {
namespace {

constexpr int kCurrentSchema = 2;

// Every statement of the store. Values are always bound, never spliced into the text.
enum class Sql {
    Begin,
    Commit,
    Rollback,
    SelectOne,
    SettingsRow,
    AdvertImages,
    AdvertLinks,
    Adverts,
    AddAdvert,
    RemoveAdvert,
    UserByName,
    UserByPageName,
    Users,
    InsertUser,
    MarkOffline,
    MarkOnline,
    PageNameHeld,
    PageNameHeldByOther,
    ClaimPageName,
    RecordUpload,
    RenamePageName,
    SetFrozen,
    RemoveUserPage,
    RemoveUserSessions,
    RemoveUser,
    PutPage,
    CountUpload,
    Page,
    PageOwner,
    DeletePage,
    MovePage,
    Pages,
    PageBytesOf,
    CreateSession,
    TrimSessions,
    SessionUser,
    EndSession,
    PurgeSessions,
    Count
};

#define ZR_USER_COLUMNS                                                                                        \
    "\"用户\",\"密码\",\"手机\",\"注册时间\",\"是否在线\",\"上次登陆时间\",\"文件名\"," \
    "\"页面风格\","                                                                                        \
    "\"上传时间\",\"登陆次数\",\"上传次数\",\"备注\",\"是否冻结\""

constexpr std::array<const char*, static_cast<size_t>(Sql::Count)> kSql{{
    "BEGIN IMMEDIATE",
    "COMMIT",
    "ROLLBACK",
    "SELECT 1",
    "SELECT \"编号\",\"站点名称\",\"服务状态\",\"公告\",\"最新版本\",\"下载地址\" FROM "
    "\"系统设置\" "
    "WHERE \"编号\"=1",
    "SELECT \"广告链接\" FROM \"广告管理\" ORDER BY \"编号\"",
    "SELECT \"跳转地址\" FROM \"广告管理\" ORDER BY \"编号\"",
    "SELECT \"编号\",\"广告链接\",\"跳转地址\" FROM \"广告管理\" ORDER BY \"编号\"",
    "INSERT INTO \"广告管理\"(\"广告链接\",\"跳转地址\") VALUES (?,?)",
    "DELETE FROM \"广告管理\" WHERE \"编号\"=?",
    "SELECT " ZR_USER_COLUMNS " FROM \"用户管理\" WHERE \"用户\"=?",
    "SELECT " ZR_USER_COLUMNS " FROM \"用户管理\" WHERE \"文件名\"=? AND \"文件名\"<>''",
    "SELECT " ZR_USER_COLUMNS " FROM \"用户管理\" ORDER BY \"注册时间\",\"用户\"",
    "INSERT INTO \"用户管理\"(\"用户\",\"密码\",\"手机\",\"注册时间\") VALUES (?,?,?,?)",
    "UPDATE \"用户管理\" SET \"是否在线\"='0' WHERE \"用户\"=?",
    "UPDATE \"用户管理\" SET \"是否在线\"=?,\"上次登陆时间\"=?,\"登陆次数\"=\"登陆次数\"+1 "
    "WHERE \"用户\"=?",
    "SELECT 1 FROM \"用户管理\" WHERE \"文件名\"=?",
    "SELECT 1 FROM \"用户管理\" WHERE \"文件名\"=? AND \"用户\"<>?",
    "UPDATE \"用户管理\" SET \"文件名\"=?,\"页面风格\"=? WHERE \"用户\"=?",
    "UPDATE \"用户管理\" SET \"页面风格\"=?,\"上传时间\"=? WHERE \"文件名\"=? AND \"文件名\"<>''",
    "UPDATE \"用户管理\" SET \"文件名\"=? WHERE \"文件名\"=? AND \"文件名\"<>''",
    "UPDATE \"用户管理\" SET \"是否冻结\"=?,\"备注\"=? WHERE \"用户\"=?",
    "DELETE FROM pages WHERE owner=? OR (owner='' AND name IN (SELECT \"文件名\" FROM "
    "\"用户管理\" WHERE \"用户\"=? AND \"文件名\"<>''))",
    "DELETE FROM sessions WHERE user_name=?",
    "DELETE FROM \"用户管理\" WHERE \"用户\"=?",
    "INSERT INTO pages(name,content,updated_at,owner) VALUES (?,?,?,?) ON CONFLICT(name) DO "
    "UPDATE SET content=excluded.content,updated_at=excluded.updated_at,owner=excluded.owner "
    "WHERE pages.owner IN ('',excluded.owner)",
    "UPDATE \"用户管理\" SET \"上传次数\"=\"上传次数\"+1 WHERE \"文件名\"=? AND \"文件名\"<>''",
    "SELECT content FROM pages WHERE name=?",
    "SELECT owner FROM pages WHERE name=?",
    "DELETE FROM pages WHERE name=?",
    "UPDATE pages SET name=? WHERE name=? AND owner=?",
    "SELECT name,length(content),owner,updated_at FROM pages ORDER BY name",
    "SELECT COALESCE(sum(length(content)),0) FROM pages WHERE owner=?",
    "INSERT INTO sessions(token_digest,user_name,created_at) VALUES (?,?,?)",
    "DELETE FROM sessions WHERE user_name=? AND rowid NOT IN (SELECT rowid FROM sessions WHERE "
    "user_name=? ORDER BY created_at DESC, rowid DESC LIMIT ?)",
    "SELECT s.user_name FROM sessions s JOIN \"用户管理\" u ON u.\"用户\"=s.user_name WHERE "
    "s.token_digest=? AND s.created_at>=? AND u.\"是否冻结\"=0",
    "DELETE FROM sessions WHERE token_digest=?",
    "DELETE FROM sessions WHERE created_at<?",
}};

#undef ZR_USER_COLUMNS

// The schema of version 1. 用户 is unique; a non-empty 文件名 is unique too, which a partial
// index says directly. 系统设置 holds exactly one row.
constexpr const char* kSchemaV1[] = {
    "CREATE TABLE \"用户管理\" ("
    "\"用户\" TEXT PRIMARY KEY NOT NULL,"
    "\"密码\" TEXT NOT NULL,"
    "\"手机\" TEXT NOT NULL DEFAULT '',"
    "\"注册时间\" TEXT NOT NULL DEFAULT '',"
    "\"是否在线\" TEXT NOT NULL DEFAULT '0',"
    "\"上次登陆时间\" TEXT NOT NULL DEFAULT '',"
    "\"文件名\" TEXT NOT NULL DEFAULT '',"
    "\"页面风格\" TEXT NOT NULL DEFAULT '',"
    "\"上传时间\" TEXT NOT NULL DEFAULT '',"
    "\"登陆次数\" INTEGER NOT NULL DEFAULT 0,"
    "\"上传次数\" INTEGER NOT NULL DEFAULT 0,"
    "\"备注\" TEXT NOT NULL DEFAULT '',"
    "\"是否冻结\" INTEGER NOT NULL DEFAULT 0)",
    "CREATE UNIQUE INDEX \"用户管理_文件名\" ON \"用户管理\"(\"文件名\") WHERE \"文件名\"<>''",
    "CREATE TABLE \"系统设置\" ("
    "\"编号\" INTEGER PRIMARY KEY CHECK (\"编号\"=1),"
    "\"站点名称\" TEXT NOT NULL DEFAULT '',"
    "\"服务状态\" TEXT NOT NULL DEFAULT '',"
    "\"公告\" TEXT NOT NULL DEFAULT '',"
    "\"最新版本\" TEXT NOT NULL DEFAULT '',"
    "\"下载地址\" TEXT NOT NULL DEFAULT '')",
    "INSERT INTO \"系统设置\" VALUES (1,'Zenri表白网页生成器','开放','','V1.2','/download')",
    "CREATE TABLE \"广告管理\" ("
    "\"编号\" INTEGER PRIMARY KEY AUTOINCREMENT,"
    "\"广告链接\" TEXT NOT NULL,"
    "\"跳转地址\" TEXT NOT NULL)",
    "CREATE TABLE pages (name TEXT PRIMARY KEY NOT NULL, content BLOB NOT NULL, "
    "updated_at TEXT NOT NULL)",
    "CREATE TABLE sessions (token_digest TEXT PRIMARY KEY NOT NULL, user_name TEXT NOT NULL, "
    "created_at INTEGER NOT NULL)",
    "CREATE INDEX sessions_user ON sessions(user_name)",
    "INSERT INTO schema_version VALUES (1)",
};

// Version 2: every page records the account that wrote it; pages from before belong to the
// account whose row holds their name.
constexpr const char* kSchemaV2[] = {
    "ALTER TABLE pages ADD COLUMN owner TEXT NOT NULL DEFAULT ''",
    "UPDATE pages SET owner=COALESCE((SELECT \"用户\" FROM \"用户管理\" WHERE \"文件名\"=pages.name),'')",
    "CREATE INDEX pages_owner ON pages(owner)",
    "INSERT INTO schema_version VALUES (2)",
};

std::atomic<quint64> g_nextStoreId{1};
std::atomic<quint64> g_nextConnection{1};

void Warn(const QSqlQuery& query) {
    qWarning("database: %s", qPrintable(query.lastError().text()));
}

UserRow ReadUser(const QSqlQuery& q) {
    UserRow row;
    row.user = q.value(0).toString();
    row.passwordHash = q.value(1).toString();
    row.phone = q.value(2).toString();
    row.registeredAt = q.value(3).toString();
    row.online = q.value(4).toString();
    row.lastSignInAt = q.value(5).toString();
    row.pageName = q.value(6).toString();
    row.pageStyle = q.value(7).toString();
    row.uploadedAt = q.value(8).toString();
    row.signInCount = q.value(9).toLongLong();
    row.uploadCount = q.value(10).toLongLong();
    row.remark = q.value(11).toString();
    row.frozen = q.value(12).toLongLong() != 0;
    return row;
}

}  // namespace

class SqliteStore::Connection {
public:
    Connection(const QString& path, quint64 storeId)
        : name_(QStringLiteral("zr-store-%1-%2").arg(storeId).arg(g_nextConnection++)) {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name_);
        db.setDatabaseName(path);
        db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=10000"));
        if (!db.open()) {
            qWarning("database: cannot open %s: %s", qPrintable(path),
                     qPrintable(db.lastError().text()));
            return;
        }
        // WAL lets readers go on while a page is written; NORMAL syncing keeps every
        // committed transaction through a crash of the process (not of the machine).
        QSqlQuery pragma(db);
        open_ = pragma.exec(QStringLiteral("PRAGMA journal_mode=WAL")) &&
                pragma.exec(QStringLiteral("PRAGMA synchronous=NORMAL"));
        if (!open_)
            Warn(pragma);
    }

    ~Connection() {
        for (auto& q : prepared_)
            q.reset();
        {
            QSqlDatabase db = QSqlDatabase::database(name_, false);
            db.close();
        }
        QSqlDatabase::removeDatabase(name_);
    }

    bool IsOpen() const { return open_; }
    QSqlDatabase Database() const { return QSqlDatabase::database(name_, false); }

    // The statement, prepared on first use and kept for the life of the connection.
    QSqlQuery* Prepared(Sql which) {
        auto& slot = prepared_[static_cast<size_t>(which)];
        if (!slot) {
            auto query = std::make_unique<QSqlQuery>(Database());
            if (!query->prepare(QString::fromUtf8(kSql[static_cast<size_t>(which)]))) {
                Warn(*query);
                return nullptr;
            }
            slot = std::move(query);
        }
        return slot.get();
    }

    // Runs a prepared statement with its values. A select is left positioned before its first
    // row; the caller reads it and finishes it.
    QSqlQuery* Run(Sql which, std::initializer_list<QVariant> values = {}) {
        if (!open_)
            return nullptr;
        QSqlQuery* q = Prepared(which);
        if (!q)
            return nullptr;
        int i = 0;
        for (const QVariant& v : values) {
            // A null QString binds as NULL; every text column holds text, the empty one too.
            const bool nullText = v.typeId() == QMetaType::QString && v.toString().isNull();
            q->bindValue(i++, nullText ? QVariant(QStringLiteral("")) : v);
        }
        if (!q->exec()) {
            Warn(*q);
            q->finish();
            return nullptr;
        }
        return q;
    }

    // Runs a statement that gives no rows: the number of rows it changed, -1 when it failed.
    int Exec(Sql which, std::initializer_list<QVariant> values = {}) {
        QSqlQuery* q = Run(which, values);
        if (!q)
            return -1;
        const int changed = q->numRowsAffected();
        q->finish();
        return changed;
    }

    // Whether a select gives at least one row.
    std::optional<bool> Exists(Sql which, std::initializer_list<QVariant> values) {
        QSqlQuery* q = Run(which, values);
        if (!q)
            return std::nullopt;
        const bool found = q->next();
        q->finish();
        return found;
    }

    // The first column of every row.
    std::optional<QStringList> Column(Sql which) {
        QSqlQuery* q = Run(which);
        if (!q)
            return std::nullopt;
        QStringList out;
        while (q->next())
            out << q->value(0).toString();
        q->finish();
        return out;
    }

    std::optional<UserRow> OneUser(Sql which, const QString& key) {
        QSqlQuery* q = Run(which, {key});
        if (!q)
            return std::nullopt;
        std::optional<UserRow> row;
        if (q->next())
            row = ReadUser(*q);
        q->finish();
        return row;
    }

private:
    const QString name_;
    bool open_ = false;
    std::array<std::unique_ptr<QSqlQuery>, static_cast<size_t>(Sql::Count)> prepared_;
};

namespace {

// The connections of the calling thread, one per store; they close when the thread ends.
struct ThreadConnections {
    std::vector<std::pair<quint64, std::unique_ptr<SqliteStore::Connection>>> byStore;
};
thread_local ThreadConnections t_connections;

// A write transaction: in-process writers wait for each other on the mutex, and BEGIN
// IMMEDIATE takes SQLite's write lock up front (other processes wait on the busy time-out).
class WriteTransaction {
public:
    WriteTransaction(SqliteStore::Connection* c, std::mutex& m) : c_(c), lock_(m) {
        ok_ = c_ && c_->Exec(Sql::Begin) >= 0;
    }
    ~WriteTransaction() {
        if (ok_ && !done_)
            c_->Exec(Sql::Rollback);
    }
    WriteTransaction(const WriteTransaction&) = delete;
    WriteTransaction& operator=(const WriteTransaction&) = delete;

    bool ok() const { return ok_; }
    bool Commit() {
        done_ = c_->Exec(Sql::Commit) >= 0;
        return done_;
    }

private:
    SqliteStore::Connection* c_;
    std::lock_guard<std::mutex> lock_;
    bool ok_ = false;
    bool done_ = false;
};

// A write statement that must change a row: Done, NotFound when it changed none.
Outcome Changed(int rows) {
    if (rows < 0)
        return Outcome::Failed;
    return rows == 0 ? Outcome::NotFound : Outcome::Done;
}

Outcome Finish(WriteTransaction& tx, Outcome outcome) {
    if (outcome != Outcome::Done)
        return outcome;  // the destructor rolls back
    return tx.Commit() ? Outcome::Done : Outcome::Failed;
}

// The database holds password hashes, phone numbers and session digests: only the service's
// own user may read it. A new file is created so; an existing one (with its journal files,
// which SQLite creates with the database's permissions) is narrowed to it.
void KeepPrivate(const QString& path) {
    if (path.isEmpty() || path == QLatin1String(":memory:") || path.startsWith(QLatin1String("file:")))
        return;
    constexpr QFileDevice::Permissions kOwnerOnly = QFileDevice::ReadOwner | QFileDevice::WriteOwner;
    if (!QFileInfo::exists(path)) {
        QFile file(path);
        file.open(QIODevice::WriteOnly | QIODevice::NewOnly, kOwnerOnly);
        return;
    }
    for (const QString& suffix : {QString(), QStringLiteral("-wal"), QStringLiteral("-shm"),
                                  QStringLiteral("-journal")}) {
        QFile file(path + suffix);
        if (file.exists() && (file.permissions() & ~(kOwnerOnly | QFileDevice::ReadUser |
                                                     QFileDevice::WriteUser)) != 0) {
            file.setPermissions(kOwnerOnly);
        }
    }
}

}  // namespace

SqliteStore::SqliteStore(QString path) : path_(std::move(path)), id_(g_nextStoreId++) {
    KeepPrivate(path_);
}

SqliteStore::~SqliteStore() {
    auto& list = t_connections.byStore;
    std::erase_if(list, [this](const auto& entry) { return entry.first == id_; });
}

SqliteStore::Connection* SqliteStore::ThisThreadConnection() {
    for (auto& [id, connection] : t_connections.byStore) {
        if (id == id_)
            return connection.get();
    }
    auto connection = std::make_unique<Connection>(path_, id_);
    Connection* raw = connection.get();
    t_connections.byStore.emplace_back(id_, std::move(connection));
    return raw;
}

bool SqliteStore::Initialise(QString* error) {
    Connection* c = ThisThreadConnection();
    if (!c->IsOpen()) {
        if (error)
            *error = QStringLiteral("cannot open the database file %1").arg(path_);
        return false;
    }
    WriteTransaction tx(c, writeMutex_);
    if (!tx.ok()) {
        if (error)
            *error = QStringLiteral("the database is locked or not writable");
        return false;
    }
    QSqlQuery q(c->Database());
    auto fail = [&](const QString& why) {
        if (error)
            *error = why;
        return false;
    };
    if (!q.exec(QStringLiteral("CREATE TABLE IF NOT EXISTS schema_version (version INTEGER "
                               "NOT NULL)")) ||
        !q.exec(QStringLiteral("SELECT max(version) FROM schema_version"))) {
        return fail(q.lastError().text());
    }
    const int version = q.next() ? q.value(0).toInt() : 0;
    q.finish();
    if (version > kCurrentSchema) {
        return fail(QStringLiteral("the database has schema version %1; this service knows up "
                                   "to %2")
                        .arg(version)
                        .arg(kCurrentSchema));
    }
    if (version < 1) {
        for (const char* statement : kSchemaV1) {
            if (!q.exec(QString::fromUtf8(statement)))
                return fail(q.lastError().text());
        }
    }
    if (version < 2) {
        for (const char* statement : kSchemaV2) {
            if (!q.exec(QString::fromUtf8(statement)))
                return fail(q.lastError().text());
        }
    }
    // Later versions add their steps here, each ending by recording its number.
    if (!tx.Commit())
        return fail(QStringLiteral("cannot commit the schema"));
    return true;
}

int SqliteStore::SchemaVersion() {
    Connection* c = ThisThreadConnection();
    if (!c->IsOpen())
        return 0;
    QSqlQuery q(c->Database());
    if (!q.exec(QStringLiteral("SELECT max(version) FROM schema_version")) || !q.next())
        return 0;
    return q.value(0).toInt();
}

bool SqliteStore::Healthy() {
    return ThisThreadConnection()->Exists(Sql::SelectOne, {}) == true;
}

std::optional<QStringList> SqliteStore::SettingsRow() {
    QSqlQuery* q = ThisThreadConnection()->Run(Sql::SettingsRow);
    if (!q)
        return std::nullopt;
    QStringList row;
    if (q->next()) {
        for (int i = 0; i < kSettingsColumns; ++i)
            row << q->value(i).toString();
    }
    q->finish();
    return row;
}

bool SqliteStore::SetSetting(int position, const QString& value) {
    if (position <= kSettingsId || position >= kSettingsColumns)
        return false;
    Connection* c = ThisThreadConnection();
    WriteTransaction tx(c, writeMutex_);
    if (!tx.ok())
        return false;
    // The column comes from the fixed list of names, never from the caller's text.
    QSqlQuery q(c->Database());
    q.prepare(QStringLiteral("UPDATE \"系统设置\" SET \"%1\"=? WHERE \"编号\"=1")
                  .arg(SettingsColumnNames()[position]));
    q.bindValue(0, value);
    if (!q.exec() || q.numRowsAffected() != 1) {
        Warn(q);
        return false;
    }
    return tx.Commit();
}

std::optional<QStringList> SqliteStore::AdvertImages() {
    return ThisThreadConnection()->Column(Sql::AdvertImages);
}

std::optional<QStringList> SqliteStore::AdvertLinks() {
    return ThisThreadConnection()->Column(Sql::AdvertLinks);
}

std::vector<Advert> SqliteStore::Adverts() {
    std::vector<Advert> out;
    QSqlQuery* q = ThisThreadConnection()->Run(Sql::Adverts);
    if (!q)
        return out;
    while (q->next()) {
        out.push_back({q->value(0).toLongLong(), q->value(1).toString(), q->value(2).toString()});
    }
    q->finish();
    return out;
}

qint64 SqliteStore::AddAdvert(const QString& image, const QString& link) {
    Connection* c = ThisThreadConnection();
    WriteTransaction tx(c, writeMutex_);
    if (!tx.ok())
        return 0;
    QSqlQuery* q = c->Run(Sql::AddAdvert, {image, link});
    if (!q)
        return 0;
    const qint64 id = q->lastInsertId().toLongLong();
    q->finish();
    return tx.Commit() ? id : 0;
}

Outcome SqliteStore::RemoveAdvert(qint64 id) {
    Connection* c = ThisThreadConnection();
    WriteTransaction tx(c, writeMutex_);
    if (!tx.ok())
        return Outcome::Failed;
    return Finish(tx, Changed(c->Exec(Sql::RemoveAdvert, {id})));
}

std::optional<UserRow> SqliteStore::UserByName(const QString& user) {
    return ThisThreadConnection()->OneUser(Sql::UserByName, user);
}

std::optional<UserRow> SqliteStore::UserByPageName(const QString& pageName) {
    return ThisThreadConnection()->OneUser(Sql::UserByPageName, pageName);
}

std::vector<UserRow> SqliteStore::Users() {
    std::vector<UserRow> out;
    QSqlQuery* q = ThisThreadConnection()->Run(Sql::Users);
    if (!q)
        return out;
    while (q->next())
        out.push_back(ReadUser(*q));
    q->finish();
    return out;
}

Outcome SqliteStore::InsertUser(const QString& user, const QString& passwordHash,
                                const QString& phone, const QString& registeredAt) {
    Connection* c = ThisThreadConnection();
    WriteTransaction tx(c, writeMutex_);
    if (!tx.ok())
        return Outcome::Failed;
    QSqlQuery* q = c->Run(Sql::UserByName, {user});
    if (!q)
        return Outcome::Failed;
    const bool exists = q->next();
    q->finish();
    if (exists)
        return Outcome::Taken;
    return Finish(tx, Changed(c->Exec(Sql::InsertUser, {user, passwordHash, phone, registeredAt})));
}

Outcome SqliteStore::MarkOffline(const QString& user) {
    Connection* c = ThisThreadConnection();
    WriteTransaction tx(c, writeMutex_);
    if (!tx.ok())
        return Outcome::Failed;
    return Finish(tx, Changed(c->Exec(Sql::MarkOffline, {user})));
}

Outcome SqliteStore::MarkOnline(const QString& flag, const QString& signedInAt,
                                const QString& user) {
    Connection* c = ThisThreadConnection();
    WriteTransaction tx(c, writeMutex_);
    if (!tx.ok())
        return Outcome::Failed;
    return Finish(tx, Changed(c->Exec(Sql::MarkOnline, {flag, signedInAt, user})));
}

Outcome SqliteStore::ClaimPageName(const QString& pageName, const QString& pageStyle,
                                   const QString& user) {
    Connection* c = ThisThreadConnection();
    WriteTransaction tx(c, writeMutex_);
    if (!tx.ok())
        return Outcome::Failed;
    const auto taken = c->Exists(Sql::PageNameHeldByOther, {pageName, user});
    if (!taken)
        return Outcome::Failed;
    if (*taken)
        return Outcome::Taken;
    return Finish(tx, Changed(c->Exec(Sql::ClaimPageName, {pageName, pageStyle, user})));
}

Outcome SqliteStore::RecordUpload(const QString& pageStyle, const QString& uploadedAt,
                                  const QString& pageName) {
    Connection* c = ThisThreadConnection();
    WriteTransaction tx(c, writeMutex_);
    if (!tx.ok())
        return Outcome::Failed;
    return Finish(tx, Changed(c->Exec(Sql::RecordUpload, {pageStyle, uploadedAt, pageName})));
}

Outcome SqliteStore::RenamePageName(const QString& newName, const QString& oldName) {
    Connection* c = ThisThreadConnection();
    WriteTransaction tx(c, writeMutex_);
    if (!tx.ok())
        return Outcome::Failed;
    if (newName != oldName) {
        const auto taken = c->Exists(Sql::PageNameHeld, {newName});
        if (!taken)
            return Outcome::Failed;
        if (*taken)
            return Outcome::Taken;
    }
    return Finish(tx, Changed(c->Exec(Sql::RenamePageName, {newName, oldName})));
}

Outcome SqliteStore::SetFrozen(const QString& user, bool frozen, const QString& remark) {
    Connection* c = ThisThreadConnection();
    WriteTransaction tx(c, writeMutex_);
    if (!tx.ok())
        return Outcome::Failed;
    const Outcome outcome = Changed(c->Exec(Sql::SetFrozen, {frozen ? 1 : 0, remark, user}));
    if (outcome != Outcome::Done)
        return outcome;
    if (frozen && c->Exec(Sql::RemoveUserSessions, {user}) < 0)
        return Outcome::Failed;
    return Finish(tx, Outcome::Done);
}

Outcome SqliteStore::RemoveUser(const QString& user) {
    Connection* c = ThisThreadConnection();
    WriteTransaction tx(c, writeMutex_);
    if (!tx.ok() || c->Exec(Sql::RemoveUserPage, {user, user}) < 0 ||
        c->Exec(Sql::RemoveUserSessions, {user}) < 0) {
        return Outcome::Failed;
    }
    return Finish(tx, Changed(c->Exec(Sql::RemoveUser, {user})));
}

Outcome SqliteStore::PutPage(const QString& name, const QByteArray& bytes,
                             const QString& updatedAt, const QString& owner) {
    Connection* c = ThisThreadConnection();
    WriteTransaction tx(c, writeMutex_);
    if (!tx.ok())
        return Outcome::Failed;
    // The page and its count in the owner's row commit together, before the reply is sent.
    const int written = c->Exec(Sql::PutPage, {name, bytes, updatedAt, owner});
    if (written < 0 || c->Exec(Sql::CountUpload, {name}) < 0)
        return Outcome::Failed;
    return Finish(tx, written == 0 ? Outcome::Denied : Outcome::Done);
}

std::optional<QByteArray> SqliteStore::Page(const QString& name) {
    QSqlQuery* q = ThisThreadConnection()->Run(Sql::Page, {name});
    if (!q)
        return std::nullopt;
    std::optional<QByteArray> bytes;
    if (q->next())
        bytes = q->value(0).toByteArray();
    q->finish();
    return bytes;
}

std::optional<QString> SqliteStore::PageOwner(Connection* c, const QString& name,
                                              bool* exists) {
    QSqlQuery* q = c->Run(Sql::PageOwner, {name});
    if (!q)
        return std::nullopt;
    *exists = q->next();
    const QString owner = *exists ? q->value(0).toString() : QString();
    q->finish();
    return owner;
}

Outcome SqliteStore::MovePage(const QString& oldName, const QString& newName,
                              const QString& owner) {
    Connection* c = ThisThreadConnection();
    WriteTransaction tx(c, writeMutex_);
    if (!tx.ok())
        return Outcome::Failed;
    bool exists = false;
    const auto oldOwner = PageOwner(c, oldName, &exists);
    if (!oldOwner)
        return Outcome::Failed;
    if (!exists)
        return Outcome::NotFound;
    if (*oldOwner != owner)
        return Outcome::Denied;
    if (oldName == newName)
        return Finish(tx, Outcome::Done);
    const auto newOwner = PageOwner(c, newName, &exists);
    if (!newOwner)
        return Outcome::Failed;
    if (exists && !newOwner->isEmpty() && *newOwner != owner)
        return Outcome::Taken;
    if (c->Exec(Sql::DeletePage, {newName}) < 0 ||
        c->Exec(Sql::MovePage, {newName, oldName, owner}) < 0) {
        return Outcome::Failed;
    }
    return Finish(tx, Outcome::Done);
}

std::optional<qint64> SqliteStore::PageBytesOf(const QString& owner) {
    QSqlQuery* q = ThisThreadConnection()->Run(Sql::PageBytesOf, {owner});
    if (!q || !q->next())
        return std::nullopt;
    const qint64 bytes = q->value(0).toLongLong();
    q->finish();
    return bytes;
}

Outcome SqliteStore::RemovePage(const QString& name) {
    Connection* c = ThisThreadConnection();
    WriteTransaction tx(c, writeMutex_);
    if (!tx.ok())
        return Outcome::Failed;
    return Finish(tx, Changed(c->Exec(Sql::DeletePage, {name})));
}

std::vector<PageSummary> SqliteStore::Pages() {
    std::vector<PageSummary> out;
    QSqlQuery* q = ThisThreadConnection()->Run(Sql::Pages);
    if (!q)
        return out;
    while (q->next()) {
        out.push_back({q->value(0).toString(), q->value(1).toLongLong(), q->value(2).toString(),
                       q->value(3).toString()});
    }
    q->finish();
    return out;
}

bool SqliteStore::CreateSession(const QString& digest, const QString& user, qint64 createdAt) {
    Connection* c = ThisThreadConnection();
    WriteTransaction tx(c, writeMutex_);
    // Each sign-in opens a session; only the newest few of one account stay open, so that
    // sign-ins without a sign-out (a crashed client, a script) cannot fill the table.
    return tx.ok() && c->Exec(Sql::CreateSession, {digest, user, createdAt}) > 0 &&
           c->Exec(Sql::TrimSessions, {user, user, kSessionsPerAccount}) >= 0 && tx.Commit();
}

std::optional<QString> SqliteStore::SessionUser(const QString& digest, qint64 notBefore) {
    QSqlQuery* q = ThisThreadConnection()->Run(Sql::SessionUser, {digest, notBefore});
    if (!q)
        return std::nullopt;
    std::optional<QString> user;
    if (q->next())
        user = q->value(0).toString();
    q->finish();
    return user;
}

void SqliteStore::EndSession(const QString& digest) {
    Connection* c = ThisThreadConnection();
    WriteTransaction tx(c, writeMutex_);
    if (tx.ok() && c->Exec(Sql::EndSession, {digest}) >= 0)
        tx.Commit();
}

void SqliteStore::PurgeSessions(qint64 before) {
    Connection* c = ThisThreadConnection();
    WriteTransaction tx(c, writeMutex_);
    if (tx.ok() && c->Exec(Sql::PurgeSessions, {before}) >= 0)
        tx.Commit();
}

const QStringList& SettingsColumnNames() {
    static const QStringList names{QStringLiteral("编号"),     QStringLiteral("站点名称"),
                                   QStringLiteral("服务状态"), QStringLiteral("公告"),
                                   QStringLiteral("最新版本"), QStringLiteral("下载地址")};
    return names;
}

std::unique_ptr<Store> OpenStore(const QString& location, QString* error) {
    if (location.isEmpty()) {
        if (error)
            *error = QStringLiteral("no database given (--db PATH)");
        return nullptr;
    }
    return std::make_unique<SqliteStore>(location);
}

}  // namespace server
