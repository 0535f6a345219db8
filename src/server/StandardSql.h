#pragma once
// The store's statements as both databases say them: the SQL they share. A dialect takes this
// table and changes the few statements it says otherwise (WithChanges), so that a statement
// is written once and the two stores cannot drift apart.

#include "server/SqlDialect.h"

#include <cstddef>
#include <initializer_list>

namespace server {

// A page is served when a row holds its name and the page is that row's account's, or nobody's
// (a page from before owners were kept): one read of each table by its index on the name (the
// 文件名<>'' lets both databases take the partial index on 文件名).
#define ZR_SERVED_PAGE                                                                              \
    "FROM pages p JOIN \"用户管理\" u ON u.\"文件名\"=p.name AND u.\"文件名\"<>'' WHERE " \
    "p.name=? AND p.owner IN ('',u.\"用户\")"

#define ZR_USER_COLUMNS                                                                                        \
    "\"用户\",\"密码\",\"手机\",\"注册时间\",\"是否在线\",\"上次登陆时间\",\"文件名\"," \
    "\"页面风格\",\"上传时间\",\"登陆次数\",\"上传次数\",\"备注\",\"是否冻结\""

inline constexpr SqlTexts kStandardSql{{
    {Sql::Begin, "BEGIN"},
    {Sql::LockWrites, "SELECT 1"},
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
    {Sql::PageNameHeldBy,
     "SELECT 1 FROM \"用户管理\" WHERE \"文件名\"=? AND \"用户\"=? AND \"文件名\"<>''"},
    {Sql::ClaimPageName, "UPDATE \"用户管理\" SET \"文件名\"=?,\"页面风格\"=? WHERE \"用户\"=?"},
    {Sql::RecordUpload,
     "UPDATE \"用户管理\" SET \"页面风格\"=?,\"上传时间\"=? WHERE \"文件名\"=? AND \"文件名\"<>''"},
    {Sql::RenamePageName,
     "UPDATE \"用户管理\" SET \"文件名\"=? WHERE \"文件名\"=? AND \"用户\"=? AND \"文件名\"<>''"},
    {Sql::SetFrozen, "UPDATE \"用户管理\" SET \"是否冻结\"=?,\"备注\"=? WHERE \"用户\"=?"},
    {Sql::RemoveUserPage,
     "DELETE FROM pages WHERE owner=? OR (owner='' AND name IN (SELECT \"文件名\" FROM "
     "\"用户管理\" WHERE \"用户\"=? AND \"文件名\"<>''))"},
    {Sql::RemoveUserSessions, "DELETE FROM sessions WHERE user_name=?"},
    {Sql::RemoveUser, "DELETE FROM \"用户管理\" WHERE \"用户\"=?"},
    {Sql::PutPage,
     "INSERT INTO pages(name,content,updated_at,owner,version) VALUES (?,?,?,?,?) ON "
     "CONFLICT(name) DO UPDATE SET content=excluded.content,updated_at=excluded.updated_at,"
     "owner=excluded.owner,version=excluded.version"},
    {Sql::RemoveOtherPages, "DELETE FROM pages WHERE owner=? AND name<>?"},
    {Sql::CountUpload,
     "UPDATE \"用户管理\" SET \"上传次数\"=\"上传次数\"+1 WHERE \"文件名\"=? AND \"文件名\"<>''"},
    {Sql::Page, "SELECT content FROM pages WHERE name=?"},
    {Sql::PageAndVersion, "SELECT p.content,p.version " ZR_SERVED_PAGE},
    {Sql::PageVersion, "SELECT p.version " ZR_SERVED_PAGE},
    {Sql::PageOwner, "SELECT owner FROM pages WHERE name=?"},
    {Sql::DeletePage, "DELETE FROM pages WHERE name=?"},
    {Sql::DeleteLeftoverPage,
     "DELETE FROM pages WHERE name=? AND NOT EXISTS (SELECT 1 FROM \"用户管理\" WHERE "
     "\"文件名\"=pages.name AND \"文件名\"<>'')"},
    {Sql::MovePage, "UPDATE pages SET name=? WHERE name=? AND owner=?"},
    {Sql::MoveHeldPage, "UPDATE pages SET name=? WHERE name=? AND owner IN ('',?)"},
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
static_assert(PairedInOrder(kStandardSql), "every statement in the order of Sql, none left out");

#undef ZR_USER_COLUMNS
#undef ZR_SERVED_PAGE

// The table with some statements said another way.
constexpr SqlTexts WithChanges(SqlTexts texts, std::initializer_list<SqlText> changes) {
    for (const SqlText& change : changes)
        texts[static_cast<std::size_t>(change.id)] = change;
    return texts;
}

}  // namespace server
