#pragma once
// The embedded store: one SQLite file in WAL mode, reached through QtSql's QSQLITE driver.
//
// QtSql connections belong to the thread that opened them, so every thread that calls the store
// gets a connection of its own (with its prepared statements), closed when the thread ends or
// the store goes away. Writers are serialised inside the process and use immediate
// transactions, so a write never fails half-way on a lock held by another writer.

#include "Store.h"

#include <QString>

#include <mutex>

namespace server {

class SqliteStore final : public Store {
public:
    explicit SqliteStore(QString path);
    ~SqliteStore() override;
    SqliteStore(const SqliteStore&) = delete;
    SqliteStore& operator=(const SqliteStore&) = delete;

    const QString& Path() const { return path_; }

    bool Initialise(QString* error) override;
    int SchemaVersion() override;
    bool Healthy() override;

    std::optional<QStringList> SettingsRow() override;
    bool SetSetting(int position, const QString& value) override;

    std::optional<QStringList> AdvertImages() override;
    std::optional<QStringList> AdvertLinks() override;
    std::vector<Advert> Adverts() override;
    qint64 AddAdvert(const QString& image, const QString& link) override;
    Outcome RemoveAdvert(qint64 id) override;

    std::optional<UserRow> UserByName(const QString& user) override;
    std::optional<UserRow> UserByPageName(const QString& pageName) override;
    std::vector<UserRow> Users() override;
    Outcome InsertUser(const QString& user, const QString& passwordHash, const QString& phone,
                       const QString& registeredAt) override;
    Outcome MarkOffline(const QString& user) override;
    Outcome MarkOnline(const QString& flag, const QString& signedInAt,
                       const QString& user) override;
    Outcome ClaimPageName(const QString& pageName, const QString& pageStyle,
                          const QString& user) override;
    Outcome RecordUpload(const QString& pageStyle, const QString& uploadedAt,
                         const QString& pageName) override;
    Outcome RenamePageName(const QString& newName, const QString& oldName) override;
    Outcome SetFrozen(const QString& user, bool frozen, const QString& remark) override;
    Outcome RemoveUser(const QString& user) override;

    Outcome PutPage(const QString& name, const QByteArray& bytes, const QString& updatedAt,
                    const QString& owner) override;
    std::optional<QByteArray> Page(const QString& name) override;
    Outcome MovePage(const QString& oldName, const QString& newName,
                     const QString& owner) override;
    std::optional<qint64> PageBytesOf(const QString& owner) override;
    Outcome RemovePage(const QString& name) override;
    std::vector<PageSummary> Pages() override;

    bool CreateSession(const QString& digest, const QString& user, qint64 createdAt) override;
    std::optional<QString> SessionUser(const QString& digest, qint64 notBefore) override;
    void EndSession(const QString& digest) override;
    void PurgeSessions(qint64 before) override;

    class Connection;

private:
    Connection* ThisThreadConnection();
    // The owner of the page under the name ("" for none), and whether there is one.
    std::optional<QString> PageOwner(Connection* c, const QString& name, bool* exists);

    const QString path_;
    const quint64 id_;
    std::mutex writeMutex_;
};

}  // namespace server
