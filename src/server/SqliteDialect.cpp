// The store's statements and schema in SQLite's SQL.

#include "server/SqlDialect.h"
#include "server/StandardSql.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>

namespace server {
namespace {

// BEGIN IMMEDIATE takes the database's write lock at once, for the whole transaction.
constexpr SqlTexts kTexts = WithChanges(kStandardSql, {{Sql::Begin, "BEGIN IMMEDIATE"}});
static_assert(PairedInOrder(kTexts), "every statement in the order of Sql, none left out");

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
