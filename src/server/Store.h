#pragma once
// The service's database behind one interface, so that everything about the SQL dialect stays
// inside the implementation. Every method is one prepared statement, or one short transaction
// of them, with its values bound: no text received from the network ever becomes SQL.
//
// Implementations are safe to call from many threads at once.

#include "common/Columns.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <memory>
#include <optional>
#include <utility>
#include <vector>

namespace server {

// A row of 用户管理 in column order; a "select *" on the table gives these 13 fields.
struct UserRow {
    QString user;            // 0 用户
    QString passwordHash;    // 1 密码, an Argon2id string, never sent out
    QString phone;           // 2 手机
    QString registeredAt;    // 3 注册时间
    QString online;          // 4 是否在线
    QString lastSignInAt;    // 5 上次登陆时间
    QString pageName;        // 6 文件名, empty until a name is claimed
    QString pageStyle;       // 7 页面风格
    QString uploadedAt;      // 8 上传时间
    qint64 signInCount = 0;  // 9 登陆次数
    qint64 uploadCount = 0;  // 10 上传次数
    QString remark;          // 11 备注 (the operator's note, e.g. why an account is frozen)
    bool frozen = false;     // 12 是否冻结
};

// 系统设置 has one row of the columns of columns::Settings, read by position.
const QStringList& SettingsColumnNames();

struct Advert {
    qint64 id = 0;
    QString image;  // 广告链接
    QString link;   // 跳转地址
};

struct PageSummary {
    QString name;
    qint64 size = 0;
    QString owner;  // the account that wrote it; empty for a page from before owners were kept
    QString updatedAt;
};

// Sessions open at once for one account: one per computer it is signed in on.
inline constexpr int kSessionsPerAccount = 10;

// Denied: the row or page belongs to another account.
enum class Outcome { Done, NotFound, Taken, Denied, Failed };

class Store {
public:
    virtual ~Store() = default;

    // Creates the schema when it is missing and brings an older one up to date. Fails on a
    // database written by a newer version of the service.
    virtual bool Initialise(QString* error) = 0;
    virtual int SchemaVersion() = 0;
    virtual bool Healthy() = 0;

    // 系统设置
    virtual std::optional<QStringList> SettingsRow() = 0;
    virtual bool SetSetting(int position, const QString& value) = 0;

    // 广告管理; both address lists come in the same order, that of Adverts().
    virtual std::optional<QStringList> AdvertImages() = 0;
    virtual std::optional<QStringList> AdvertLinks() = 0;
    virtual std::vector<Advert> Adverts() = 0;
    virtual qint64 AddAdvert(const QString& image, const QString& link) = 0;
    virtual Outcome RemoveAdvert(qint64 id) = 0;

    // 用户管理. An account serves at most one page, the one under the name its row holds: the
    // page goes where the row goes. A page stored under a name no row holds is served to
    // nobody, and goes when a row takes the name.
    virtual std::optional<UserRow> UserByName(const QString& user) = 0;
    virtual std::optional<UserRow> UserByPageName(const QString& pageName) = 0;
    virtual std::vector<UserRow> Users() = 0;
    virtual Outcome InsertUser(const QString& user, const QString& passwordHash,
                               const QString& phone, const QString& registeredAt) = 0;
    virtual Outcome MarkOffline(const QString& user) = 0;
    virtual Outcome MarkOnline(const QString& flag, const QString& signedInAt,
                               const QString& user) = 0;
    // Taken when another row holds the name; a page left under it goes.
    virtual Outcome ClaimPageName(const QString& pageName, const QString& pageStyle,
                                  const QString& user) = 0;
    virtual Outcome RecordUpload(const QString& pageStyle, const QString& uploadedAt,
                                 const QString& pageName) = 0;
    // Moves the account's row from the old name to the new one, and its page with it, in one
    // transaction: NotFound when the account's row does not hold the old name, Taken when
    // another row holds the new one. A page left under the new name goes.
    virtual Outcome RenamePageName(const QString& newName, const QString& oldName,
                                   const QString& user) = 0;
    virtual Outcome SetFrozen(const QString& user, bool frozen, const QString& remark) = 0;
    // Removes the account together with its page and its sessions.
    virtual Outcome RemoveUser(const QString& user) = 0;

    // Published pages: the exact bytes that were uploaded, and the account that wrote them.
    // A page is written only under the name the owner's row holds (Denied otherwise), in
    // place of whatever stands there; the owner's pages under other names go with the same
    // write.
    virtual Outcome PutPage(const QString& name, const QByteArray& bytes, const QString& updatedAt,
                            const QString& owner) = 0;
    // The bytes stored under the name, whether they are served or not.
    virtual std::optional<QByteArray> Page(const QString& name) = 0;
    // Every write of a page gives it a new version, a number other than 0 that no earlier
    // write of any page had: the same name and version mean the same bytes. For a copy kept in
    // memory: the version of the page served under the name (0 when none is), and that page
    // with its version in one read. Served is a page under a name a row holds that is the
    // row's account's or has no owner. Nothing when the database failed.
    virtual std::optional<qint64> PageVersion(const QString& name) = 0;
    virtual std::optional<std::pair<QByteArray, qint64>> PageAndVersion(const QString& name) = 0;
    // Moves the owner's page from the old name to the new one, which the owner's row must
    // hold (Denied otherwise), replacing what stands there. Done as well when there is no
    // page of the owner under the old name: RenamePageName has moved it already, or there
    // never was one.
    virtual Outcome MovePage(const QString& oldName, const QString& newName,
                             const QString& owner) = 0;
    // The bytes of every page the account owns.
    virtual std::optional<qint64> PageBytesOf(const QString& owner) = 0;
    virtual Outcome RemovePage(const QString& name) = 0;
    virtual std::vector<PageSummary> Pages() = 0;

    // Sessions, kept in the database so that several service instances can share them. The
    // token itself is never stored, only its digest.
    // Keeps the account's newest kSessionsPerAccount sessions and ends the older ones.
    virtual bool CreateSession(const QString& digest, const QString& user, qint64 createdAt) = 0;
    // The user of a session created at or after notBefore whose account is not frozen.
    virtual std::optional<QString> SessionUser(const QString& digest, qint64 notBefore) = 0;
    virtual void EndSession(const QString& digest) = 0;
    virtual void PurgeSessions(qint64 before) = 0;
};

// Opens the store at a location: a PostgreSQL address (postgresql://...) or a file path,
// which means SQLite. Fails on an address that cannot be read.
std::unique_ptr<Store> OpenStore(const QString& location, QString* error);

}  // namespace server
