// The store's statements and schema in SQLite's SQL.

#include "server/SqlDialect.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>

namespace server {
namespace {

#define ZR_USER_COLUMNS                                                                                        \
    "\"用户\",\"密码\",\"手机\",\"注册时间\",\"是否在线\",\"上次登陆时间\",\"文件名\"," \
    "\"页面风格\",\"上传时间\",\"登陆次数\",\"上传次数\",\"备注\",\"是否冻结\""

constexpr SqlTexts kTexts{{
    {Sql::Begin, "BEGIN IMMEDIATE"},
    {Sql::LockWrites, "SELECT 1"},  // BEGIN IMMEDIATE has taken the lock already
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
    {Sql::Pages, "SELECT name,length(content),owner,updated_at FROM pages ORDER BY name"},
    {Sql::PageBytesOf, "SELECT COALESCE(sum(length(content)),0) FROM pages WHERE owner=?"},
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

#undef ZR_USER_COLUMNS

// Version 1. 用户 is unique; a non-empty 文件名 is unique too, which a partial index says
// directly. 系统设置 holds exactly one row.
constexpr const char* kVersion1[] = {
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
constexpr const char* kVersion2[] = {
    "ALTER TABLE pages ADD COLUMN owner TEXT NOT NULL DEFAULT ''",
    "UPDATE pages SET owner=COALESCE((SELECT \"用户\" FROM \"用户管理\" WHERE "
    "\"文件名\"=pages.name),'')",
    "CREATE INDEX pages_owner ON pages(owner)",
    "INSERT INTO schema_version VALUES (2)",
};

// Version 3: every write of a page gives it a new version, a random number, so that a copy
// of the page kept in memory is known to be current by its version alone.
constexpr const char* kVersion3[] = {
    "ALTER TABLE pages ADD COLUMN version INTEGER NOT NULL DEFAULT 0",
    "UPDATE pages SET version=(random() & 9223372036854775807) | 1",
    "INSERT INTO schema_version VALUES (3)",
};

constexpr SchemaStep kSchema[] = {{1, kVersion1}, {2, kVersion2}, {3, kVersion3}};

bool Configure(QSqlDatabase& db, const QString& location, QString*) {
    db.setDatabaseName(location);
    db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=10000"));
    return true;
}

// WAL lets readers go on while a page is written; NORMAL syncing keeps every committed
// transaction through a crash of the process (not of the machine).
bool SetUp(QSqlDatabase& db) {
    QSqlQuery pragma(db);
    if (pragma.exec(QStringLiteral("PRAGMA journal_mode=WAL")) &&
        pragma.exec(QStringLiteral("PRAGMA synchronous=NORMAL"))) {
        return true;
    }
    qWarning("database: %s", qPrintable(pragma.lastError().text()));
    return false;
}

}  // namespace

const SqlDialect& SqliteDialect() {
    static const SqlDialect dialect{"QSQLITE", &kTexts, kSchema, &Configure, &SetUp};
    return dialect;
}

}  // namespace server
