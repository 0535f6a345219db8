#pragma once
// The store on a QtSql database, its statements in the SQL of a dialect. Every change runs in
// one write transaction (Write), committed only when the whole change is done.

#include "server/SqlDialect.h"
#include "server/Store.h"

#include <QString>

#include <mutex>

namespace server {

class SqlConnection;

class SqlStore : public Store {
public:
    SqlStore(const SqlDialect& dialect, QString location);
    ~SqlStore() override;
    SqlStore(const SqlStore&) = delete;
    SqlStore& operator=(const SqlStore&) = delete;

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
    Outcome RenamePageName(const QString& newName, const QString& oldName,
                           const QString& user) override;
    Outcome SetFrozen(const QString& user, bool frozen, const QString& remark) override;
    Outcome RemoveUser(const QString& user) override;

    Outcome PutPage(const QString& name, const QByteArray& bytes, const QString& updatedAt,
                    const QString& owner) override;
    std::optional<QByteArray> Page(const QString& name) override;
    std::optional<qint64> PageVersion(const QString& name) override;
    std::optional<std::pair<QByteArray, qint64>> PageAndVersion(const QString& name) override;
    Outcome MovePage(const QString& oldName, const QString& newName, const QString& owner) override;
    std::optional<qint64> PageBytesOf(const QString& owner) override;
    Outcome RemovePage(const QString& name) override;
    std::vector<PageSummary> Pages() override;

    bool CreateSession(const QString& digest, const QString& user, qint64 createdAt) override;
    std::optional<QString> SessionUser(const QString& digest, qint64 notBefore) override;
    void EndSession(const QString& digest) override;
    void PurgeSessions(qint64 before) override;

protected:
    const QString& Location() const { return location_; }

private:
    SqlConnection* Connection();
    // Runs `change` on this thread's connection inside a write transaction; commits when it
    // gives Done and rolls back otherwise.
    template <typename Change>
    Outcome Write(Change&& change);
    std::optional<UserRow> OneUser(Sql which, const QString& key);
    // The owner of the page under the name ("" for none), and whether there is one.
    static std::optional<QString> PageOwner(SqlConnection& c, const QString& name, bool* exists);

    const SqlDialect& dialect_;
    const QString location_;
    const quint64 id_;
    std::mutex writeMutex_;
};

}  // namespace server
