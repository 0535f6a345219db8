// The store's statements and schema in PostgreSQL's SQL.
//
// Names compare as in SQLite: exactly, code unit for code unit. Every text column is declared
// COLLATE "C", so that "=" and the unique indexes never treat two spellings as one and
// listings sort by bytes, whatever locale the operator's database was created with.
//
// Several service instances write at once. Each write transaction first takes one
// transaction-level advisory lock, the counterpart of SQLite's database write lock: the
// read-then-write steps of a change (is the name free? then claim it) see no other writer
// between them, in this process or another.

#include "server/DatabaseLocation.h"
#include "server/SqlDialect.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>

namespace server {
namespace {

#define ZR_USER_COLUMNS                                                                                        \
    "\"用户\",\"密码\",\"手机\",\"注册时间\",\"是否在线\",\"上次登陆时间\",\"文件名\"," \
    "\"页面风格\",\"上传时间\",\"登陆次数\",\"上传次数\",\"备注\",\"是否冻结\""

// The key of the advisory lock that serialises writers; any fixed number does.
#define ZR_WRITE_LOCK "7236180520"

constexpr SqlTexts kTexts{{
    {Sql::Begin, "BEGIN"},
    {Sql::LockWrites, "SELECT pg_advisory_xact_lock(" ZR_WRITE_LOCK ")"},
    {Sql::Commit, "COMMIT"},
    {Sql::Rollback, "ROLLBACK"},
    {Sql::SelectOne, "SELECT 1"},
    {Sql::SettingsRow,
     "SELECT \"编号\",\"站点名称\",\"服务状态\",\"公告\",\"最新版本\",\"下载地址\" FROM "
     "\"系统设置\" WHERE \"编号\"=1"},
    {Sql::AdvertImages, "SELECT \"广告链接\" FROM \"广告管理\" ORDER BY \"编号\""},
    {Sql::AdvertLinks, "SELECT \"跳转地址\" FROM \"广告管理\" ORDER BY \"编号\""},
    {Sql::Adverts, "SELECT \"编号\",\"广告链接\",\"跳转地址\" FROM \"广告管理\" ORDER BY \"编号\""},
    {Sql::AddAdvert,
     "INSERT INTO \"广告管理\"(\"广告链接\",\"跳转地址\") VALUES (?,?) RETURNING \"编号\""},
    {Sql::RemoveAdvert, "DELETE FROM \"广告管理\" WHERE \"编号\"=?"},
    {Sql::UserByName, "SELECT " ZR_USER_COLUMNS " FROM \"用户管理\" WHERE \"用户\"=?"},
    {Sql::UserByPageName,
     "SELECT " ZR_USER_COLUMNS " FROM \"用户管理\" WHERE \"文件名\"=? AND \"文件名\"<>''"},
    {Sql::Users, "SELECT " ZR_USER_COLUMNS " FROM \"用户管理\" ORDER BY \"注册时间\",\"用户\""},
    {Sql::InsertUser,
     "INSERT INTO \"用户管理\"(\"用户\",\"密码\",\"手机\",\"注册时间\") VALUES (?,?,?,?)"},
    {Sql::MarkOffline, "UPDATE \"用户管理\" SET \"是否在线\"='0' WHERE \"用户\"=?"},
    {Sql::MarkOnline,
     "UPDATE \"用户管理\" SET \"是否在线\"=?,\"上次登陆时间\"=?,\"登陆次数\"=\"登陆次数\"+1 "
     "WHERE \"用户\"=?"},
    {Sql::PageNameHeld, "SELECT 1 FROM \"用户管理\" WHERE \"文件名\"=?"},
    {Sql::PageNameHeldByOther, "SELECT 1 FROM \"用户管理\" WHERE \"文件名\"=? AND \"用户\"<>?"},
    {Sql::ClaimPageName, "UPDATE \"用户管理\" SET \"文件名\"=?,\"页面风格\"=? WHERE \"用户\"=?"},
    {Sql::RecordUpload,
     "UPDATE \"用户管理\" SET \"页面风格\"=?,\"上传时间\"=? WHERE \"文件名\"=? AND \"文件名\"<>''"},
    {Sql::RenamePageName,
     "UPDATE \"用户管理\" SET \"文件名\"=? WHERE \"文件名\"=? AND \"文件名\"<>''"},
    {Sql::SetFrozen, "UPDATE \"用户管理\" SET \"是否冻结\"=?,\"备注\"=? WHERE \"用户\"=?"},
    {Sql::RemoveUserPage,
     "DELETE FROM pages WHERE owner=? OR (owner='' AND name IN (SELECT \"文件名\" FROM "
     "\"用户管理\" WHERE \"用户\"=? AND \"文件名\"<>''))"},
    {Sql::RemoveUserSessions, "DELETE FROM sessions WHERE user_name=?"},
    {Sql::RemoveUser, "DELETE FROM \"用户管理\" WHERE \"用户\"=?"},
    {Sql::PutPage,
     "INSERT INTO pages(name,content,updated_at,owner,version) VALUES (?,?,?,?,?) ON "
     "CONFLICT(name) DO UPDATE SET content=excluded.content,updated_at=excluded.updated_at,"
     "owner=excluded.owner,version=excluded.version WHERE pages.owner IN ('',excluded.owner)"},
    {Sql::CountUpload,
     "UPDATE \"用户管理\" SET \"上传次数\"=\"上传次数\"+1 WHERE \"文件名\"=? AND \"文件名\"<>''"},
    {Sql::Page, "SELECT content FROM pages WHERE name=?"},
    {Sql::PageAndVersion, "SELECT content,version FROM pages WHERE name=?"},
    {Sql::PageVersion, "SELECT version FROM pages WHERE name=?"},
    {Sql::PageOwner, "SELECT owner FROM pages WHERE name=?"},
    {Sql::DeletePage, "DELETE FROM pages WHERE name=?"},
    {Sql::MovePage, "UPDATE pages SET name=? WHERE name=? AND owner=?"},
    {Sql::Pages, "SELECT name,octet_length(content),owner,updated_at FROM pages ORDER BY name"},
    {Sql::PageBytesOf,
     "SELECT COALESCE(sum(octet_length(content)),0)::bigint FROM pages WHERE owner=?"},
    {Sql::CreateSession, "INSERT INTO sessions(token_digest,user_name,created_at) VALUES (?,?,?)"},
    {Sql::TrimSessions,
     "DELETE FROM sessions WHERE user_name=? AND token_digest NOT IN (SELECT token_digest FROM "
     "sessions WHERE user_name=? ORDER BY created_at DESC, token_digest DESC LIMIT ?)"},
    {Sql::SessionUser,
     "SELECT s.user_name FROM sessions s JOIN \"用户管理\" u ON u.\"用户\"=s.user_name WHERE "
     "s.token_digest=? AND s.created_at>=? AND u.\"是否冻结\"=0"},
    {Sql::EndSession, "DELETE FROM sessions WHERE token_digest=?"},
    {Sql::PurgeSessions, "DELETE FROM sessions WHERE created_at<?"},
    {Sql::SchemaTable, "CREATE TABLE IF NOT EXISTS schema_version (version INTEGER NOT NULL)"},
    {Sql::SchemaVersion, "SELECT max(version) FROM schema_version"},
}};
static_assert(PairedInOrder(kTexts), "every statement in the order of Sql, none left out");

#undef ZR_WRITE_LOCK
#undef ZR_USER_COLUMNS

#define ZR_TEXT "TEXT COLLATE \"C\" NOT NULL"

// Version 1: the tables of the SQLite store, in PostgreSQL's types.
constexpr const char* kVersion1[] = {
    "CREATE TABLE \"用户管理\" ("
    "\"用户\" " ZR_TEXT
    " PRIMARY KEY,"
    "\"密码\" " ZR_TEXT
    ","
    "\"手机\" " ZR_TEXT
    " DEFAULT '',"
    "\"注册时间\" " ZR_TEXT
    " DEFAULT '',"
    "\"是否在线\" " ZR_TEXT
    " DEFAULT '0',"
    "\"上次登陆时间\" " ZR_TEXT
    " DEFAULT '',"
    "\"文件名\" " ZR_TEXT
    " DEFAULT '',"
    "\"页面风格\" " ZR_TEXT
    " DEFAULT '',"
    "\"上传时间\" " ZR_TEXT
    " DEFAULT '',"
    "\"登陆次数\" BIGINT NOT NULL DEFAULT 0,"
    "\"上传次数\" BIGINT NOT NULL DEFAULT 0,"
    "\"备注\" " ZR_TEXT
    " DEFAULT '',"
    "\"是否冻结\" INTEGER NOT NULL DEFAULT 0)",
    "CREATE UNIQUE INDEX \"用户管理_文件名\" ON \"用户管理\"(\"文件名\") WHERE \"文件名\"<>''",
    "CREATE TABLE \"系统设置\" ("
    "\"编号\" INTEGER PRIMARY KEY CHECK (\"编号\"=1),"
    "\"站点名称\" " ZR_TEXT
    " DEFAULT '',"
    "\"服务状态\" " ZR_TEXT
    " DEFAULT '',"
    "\"公告\" " ZR_TEXT
    " DEFAULT '',"
    "\"最新版本\" " ZR_TEXT
    " DEFAULT '',"
    "\"下载地址\" " ZR_TEXT " DEFAULT '')",
    "INSERT INTO \"系统设置\" VALUES (1,'Zenri表白网页生成器','开放','','V1.2','/download')",
    "CREATE TABLE \"广告管理\" ("
    "\"编号\" BIGINT GENERATED BY DEFAULT AS IDENTITY PRIMARY KEY,"
    "\"广告链接\" " ZR_TEXT
    ","
    "\"跳转地址\" " ZR_TEXT ")",
    "CREATE TABLE pages (name " ZR_TEXT
    " PRIMARY KEY, content BYTEA NOT NULL, "
    "updated_at " ZR_TEXT ")",
    "CREATE TABLE sessions (token_digest " ZR_TEXT " PRIMARY KEY, user_name " ZR_TEXT
    ", "
    "created_at BIGINT NOT NULL)",
    "CREATE INDEX sessions_user ON sessions(user_name)",
    "INSERT INTO schema_version VALUES (1)",
};

// Version 2: every page records the account that wrote it.
constexpr const char* kVersion2[] = {
    "ALTER TABLE pages ADD COLUMN owner " ZR_TEXT " DEFAULT ''",
    "UPDATE pages SET owner=COALESCE((SELECT \"用户\" FROM \"用户管理\" WHERE "
    "\"文件名\"=pages.name),'')",
    "CREATE INDEX pages_owner ON pages(owner)",
    "INSERT INTO schema_version VALUES (2)",
};

// Version 3: every write of a page gives it a new version (see the SQLite store).
constexpr const char* kVersion3[] = {
    "ALTER TABLE pages ADD COLUMN version BIGINT NOT NULL DEFAULT 0",
    "UPDATE pages SET version=floor(random()*9.2e18)::bigint | 1",
    "INSERT INTO schema_version VALUES (3)",
};

#undef ZR_TEXT

constexpr SchemaStep kSchema[] = {{1, kVersion1}, {2, kVersion2}, {3, kVersion3}};

bool Configure(QSqlDatabase& db, const QString& location, QString* error) {
    const auto address = ParsePostgresLocation(location, error);
    if (!address)
        return false;
    db.setHostName(address->host);
    db.setPort(address->port);
    db.setDatabaseName(address->database);
    db.setUserName(address->user);
    db.setPassword(address->password);
    db.setConnectOptions(ConnectOptions(*address));
    return true;
}

// The schema's names are Chinese; the database must hold them as they are. The server's
// notices ("already exists, skipping") are not for the operator's screen.
bool SetUp(QSqlDatabase& db) {
    QSqlQuery q(db);
    q.exec(QStringLiteral("SET client_min_messages TO warning"));
    if (q.exec(QStringLiteral("SHOW server_encoding")) && q.next() &&
        q.value(0).toString().compare(QLatin1String("UTF8"), Qt::CaseInsensitive) == 0) {
        return true;
    }
    qWarning("database: the PostgreSQL database must have the encoding UTF8 (it has %s)",
             qPrintable(q.value(0).toString()));
    return false;
}

}  // namespace

const SqlDialect& PostgresDialect() {
    static const SqlDialect dialect{"QPSQL", &kTexts, kSchema, &Configure, &SetUp};
    return dialect;
}

}  // namespace server
