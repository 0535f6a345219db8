#include "server/SqlStore.h"

#include "server/DatabaseLocation.h"
#include "server/SqlConnection.h"

#include <QSqlError>
#include <QSqlQuery>

#include <random>
#include <utility>

namespace server {
namespace {

UserRow ReadUser(const QSqlQuery& q) {
    UserRow row;
    row.user = q.value(columns::kUser).toString();
    row.passwordHash = q.value(columns::kPassword).toString();
    row.phone = q.value(columns::kPhone).toString();
    row.registeredAt = q.value(columns::kRegisteredAt).toString();
    row.online = q.value(columns::kOnline).toString();
    row.lastSignInAt = q.value(columns::kLastSignInAt).toString();
    row.pageName = q.value(columns::kPageName).toString();
    row.pageStyle = q.value(columns::kPageStyle).toString();
    row.uploadedAt = q.value(columns::kUploadedAt).toString();
    row.signInCount = q.value(columns::kSignInCount).toLongLong();
    row.uploadCount = q.value(columns::kUploadCount).toLongLong();
    row.remark = q.value(columns::kRemark).toString();
    row.frozen = q.value(columns::kFrozen).toLongLong() != 0;
    return row;
}

// A write statement that must change a row: Done, NotFound when it changed none.
Outcome Changed(int rows) {
    if (rows < 0)
        return Outcome::Failed;
    return rows == 0 ? Outcome::NotFound : Outcome::Done;
}

// A new page version: random, so that versions written by several services never meet, and
// never 0 (no page) nor negative.
qint64 NewPageVersion() {
    thread_local std::mt19937_64 random{std::random_device{}()};
    return static_cast<qint64>(random() >> 1) | 1;
}

// A statement that must succeed, whatever it changed.
Outcome Ran(int rows) {
    return rows < 0 ? Outcome::Failed : Outcome::Done;
}

}  // namespace

SqlStore::SqlStore(const SqlDialect& dialect, QString location)
    : dialect_(dialect), location_(std::move(location)), id_(SqlConnection::NewStoreId()) {}

SqlStore::~SqlStore() {
    SqlConnection::CloseForThisThread(id_);
}

SqlConnection* SqlStore::Connection() {
    return SqlConnection::ForThisThread(dialect_, location_, id_);
}

template <typename Change>
Outcome SqlStore::Write(Change&& change) {
    SqlConnection* c = Connection();
    WriteTransaction tx(c, writeMutex_);
    if (!tx.ok())
        return Outcome::Failed;
    const Outcome outcome = change(*c);
    if (outcome != Outcome::Done)
        return outcome;  // the transaction rolls back
    return tx.Commit() ? Outcome::Done : Outcome::Failed;
}

bool SqlStore::Initialise(QString* error) {
    auto fail = [&](const QString& why) {
        if (error)
            *error = why;
        return false;
    };
    if (!Connection()->IsOpen())
        return fail(QStringLiteral("cannot open the database %1").arg(Redacted(location_)));
    QString problem;
    const Outcome outcome = Write([&](SqlConnection& c) {
        QSqlQuery q(c.Database());
        const auto version =
            c.Exec(Sql::SchemaTable) >= 0 ? c.Value(Sql::SchemaVersion, {}) : std::nullopt;
        if (!version) {
            problem = QStringLiteral("cannot read the schema version");
            return Outcome::Failed;
        }
        const int current = version->toInt();
        if (current > dialect_.CurrentSchema()) {
            problem = QStringLiteral(
                          "the database has schema version %1; this service knows "
                          "up to %2")
                          .arg(current)
                          .arg(dialect_.CurrentSchema());
            return Outcome::Failed;
        }
        // Each later version adds its step to the dialect, ending by recording its number.
        for (const SchemaStep& step : dialect_.schema) {
            if (step.version <= current)
                continue;
            for (const char* statement : step.statements) {
                if (!q.exec(QString::fromUtf8(statement))) {
                    problem = q.lastError().text();
                    return Outcome::Failed;
                }
            }
        }
        return Outcome::Done;
    });
    if (outcome == Outcome::Done)
        return true;
    return fail(problem.isEmpty() ? QStringLiteral("the database is locked or not writable")
                                  : problem);
}

int SqlStore::SchemaVersion() {
    const auto version = Connection()->Value(Sql::SchemaVersion, {});
    return version ? version->toInt() : 0;
}

bool SqlStore::Healthy() {
    return Connection()->Exists(Sql::SelectOne, {}) == true;
}

std::optional<QStringList> SqlStore::SettingsRow() {
    return Connection()->Read(Sql::SettingsRow, {}, [](QSqlQuery& q) {
        QStringList row;
        if (q.next()) {
            for (int i = 0; i < columns::kSettingsCount; ++i)
                row << q.value(i).toString();
        }
        return row;
    });
}

bool SqlStore::SetSetting(int position, const QString& value) {
    if (position <= columns::kSettingsId || position >= columns::kSettingsCount)
        return false;
    return Write([&](SqlConnection& c) {
               // The column comes from the fixed list of names, never from the caller's text.
               QSqlQuery q(c.Database());
               q.prepare(QStringLiteral("UPDATE \"系统设置\" SET \"%1\"=? WHERE \"编号\"=1")
                             .arg(SettingsColumnNames()[position]));
               q.bindValue(0, value);
               if (!q.exec() || q.numRowsAffected() != 1) {
                   WarnAbout(q);
                   return Outcome::Failed;
               }
               return Outcome::Done;
           }) == Outcome::Done;
}

std::optional<QStringList> SqlStore::AdvertImages() {
    return Connection()->Column(Sql::AdvertImages);
}

std::optional<QStringList> SqlStore::AdvertLinks() {
    return Connection()->Column(Sql::AdvertLinks);
}

std::vector<Advert> SqlStore::Adverts() {
    return Connection()
        ->Read(Sql::Adverts, {},
               [](QSqlQuery& q) {
                   std::vector<Advert> out;
                   while (q.next()) {
                       out.push_back(
                           {q.value(0).toLongLong(), q.value(1).toString(), q.value(2).toString()});
                   }
                   return out;
               })
        .value_or(std::vector<Advert>());
}

qint64 SqlStore::AddAdvert(const QString& image, const QString& link) {
    qint64 id = 0;
    const Outcome outcome = Write([&](SqlConnection& c) {
        const auto value = c.Value(Sql::AddAdvert, {image, link});
        id = value ? value->toLongLong() : 0;
        return id > 0 ? Outcome::Done : Outcome::Failed;
    });
    return outcome == Outcome::Done ? id : 0;
}

Outcome SqlStore::RemoveAdvert(qint64 id) {
    return Write([&](SqlConnection& c) { return Changed(c.Exec(Sql::RemoveAdvert, {id})); });
}

std::optional<UserRow> SqlStore::OneUser(Sql which, const QString& key) {
    return Connection()
        ->Read(which, {key},
               [](QSqlQuery& q) { return q.next() ? std::optional(ReadUser(q)) : std::nullopt; })
        .value_or(std::nullopt);
}

std::optional<UserRow> SqlStore::UserByName(const QString& user) {
    return OneUser(Sql::UserByName, user);
}

std::optional<UserRow> SqlStore::UserByPageName(const QString& pageName) {
    return OneUser(Sql::UserByPageName, pageName);
}

std::vector<UserRow> SqlStore::Users() {
    return Connection()
        ->Read(Sql::Users, {},
               [](QSqlQuery& q) {
                   std::vector<UserRow> out;
                   while (q.next())
                       out.push_back(ReadUser(q));
                   return out;
               })
        .value_or(std::vector<UserRow>());
}

Outcome SqlStore::InsertUser(const QString& user, const QString& passwordHash, const QString& phone,
                             const QString& registeredAt) {
    return Write([&](SqlConnection& c) {
        const auto exists = c.Exists(Sql::UserByName, {user});
        if (!exists)
            return Outcome::Failed;
        if (*exists)
            return Outcome::Taken;
        return Changed(c.Exec(Sql::InsertUser, {user, passwordHash, phone, registeredAt}));
    });
}

Outcome SqlStore::MarkOffline(const QString& user) {
    return Write([&](SqlConnection& c) { return Changed(c.Exec(Sql::MarkOffline, {user})); });
}

Outcome SqlStore::MarkOnline(const QString& flag, const QString& signedInAt, const QString& user) {
    return Write([&](SqlConnection& c) {
        return Changed(c.Exec(Sql::MarkOnline, {flag, signedInAt, user}));
    });
}

Outcome SqlStore::ClaimPageName(const QString& pageName, const QString& pageStyle,
                                const QString& user) {
    return Write([&](SqlConnection& c) {
        const auto taken = c.Exists(Sql::PageNameHeldByOther, {pageName, user});
        if (!taken)
            return Outcome::Failed;
        if (*taken)
            return Outcome::Taken;
        // A page left under a name nobody holds is not the new holder's.
        if (c.Exec(Sql::DeleteLeftoverPage, {pageName}) < 0)
            return Outcome::Failed;
        return Changed(c.Exec(Sql::ClaimPageName, {pageName, pageStyle, user}));
    });
}

Outcome SqlStore::RecordUpload(const QString& pageStyle, const QString& uploadedAt,
                               const QString& pageName) {
    return Write([&](SqlConnection& c) {
        return Changed(c.Exec(Sql::RecordUpload, {pageStyle, uploadedAt, pageName}));
    });
}

// The row and its page move in one transaction, so that no upload or claim comes between
// them; the client's restoring rename after a failed move brings both back alike.
Outcome SqlStore::RenamePageName(const QString& newName, const QString& oldName,
                                 const QString& user) {
    return Write([&](SqlConnection& c) {
        if (newName == oldName)
            return Changed(c.Exec(Sql::RenamePageName, {newName, oldName, user}));
        const auto taken = c.Exists(Sql::PageNameHeld, {newName});
        if (!taken)
            return Outcome::Failed;
        if (*taken)
            return Outcome::Taken;
        // No row holds the new name: what is stored there is a leftover nobody is served.
        if (c.Exec(Sql::DeletePage, {newName}) < 0)
            return Outcome::Failed;
        const Outcome outcome = Changed(c.Exec(Sql::RenamePageName, {newName, oldName, user}));
        if (outcome != Outcome::Done)
            return outcome;
        return Ran(c.Exec(Sql::MoveHeldPage, {newName, oldName, user}));
    });
}

Outcome SqlStore::SetFrozen(const QString& user, bool frozen, const QString& remark) {
    return Write([&](SqlConnection& c) {
        const Outcome outcome = Changed(c.Exec(Sql::SetFrozen, {frozen ? 1 : 0, remark, user}));
        if (outcome != Outcome::Done || !frozen)
            return outcome;
        return Ran(c.Exec(Sql::RemoveUserSessions, {user}));
    });
}

Outcome SqlStore::RemoveUser(const QString& user) {
    return Write([&](SqlConnection& c) {
        if (c.Exec(Sql::RemoveUserPage, {user, user}) < 0 ||
            c.Exec(Sql::RemoveUserSessions, {user}) < 0) {
            return Outcome::Failed;
        }
        return Changed(c.Exec(Sql::RemoveUser, {user}));
    });
}

Outcome SqlStore::PutPage(const QString& name, const QByteArray& bytes, const QString& updatedAt,
                          const QString& owner) {
    // Whose the name is, the page, the removal of the owner's other pages and the count in
    // the owner's row commit together, before the reply is sent: no rename comes between the
    // check and the write.
    return Write([&](SqlConnection& c) {
        const auto holds = c.Exists(Sql::PageNameHeldBy, {name, owner});
        if (!holds)
            return Outcome::Failed;
        if (!*holds)
            return Outcome::Denied;
        if (c.Exec(Sql::PutPage, {name, bytes, updatedAt, owner, NewPageVersion()}) <= 0 ||
            c.Exec(Sql::RemoveOtherPages, {owner, name}) < 0 ||
            c.Exec(Sql::CountUpload, {name}) < 0) {
            return Outcome::Failed;
        }
        return Outcome::Done;
    });
}

std::optional<QByteArray> SqlStore::Page(const QString& name) {
    return Connection()
        ->Read(Sql::Page, {name},
               [](QSqlQuery& q) {
                   return q.next() ? std::optional(q.value(0).toByteArray()) : std::nullopt;
               })
        .value_or(std::nullopt);
}

std::optional<qint64> SqlStore::PageVersion(const QString& name) {
    const auto version = Connection()->Value(Sql::PageVersion, {name});
    if (!version)
        return std::nullopt;
    return version->isValid() ? version->toLongLong() : 0;
}

std::optional<std::pair<QByteArray, qint64>> SqlStore::PageAndVersion(const QString& name) {
    return Connection()->Read(Sql::PageAndVersion, {name}, [](QSqlQuery& q) {
        return q.next() ? std::pair(q.value(0).toByteArray(), q.value(1).toLongLong())
                        : std::pair(QByteArray(), qint64{0});
    });
}

std::optional<QString> SqlStore::PageOwner(SqlConnection& c, const QString& name, bool* exists) {
    return c.Read(Sql::PageOwner, {name}, [exists](QSqlQuery& q) {
        *exists = q.next();
        return *exists ? q.value(0).toString() : QString();
    });
}

Outcome SqlStore::MovePage(const QString& oldName, const QString& newName, const QString& owner) {
    return Write([&](SqlConnection& c) {
        const auto holds = c.Exists(Sql::PageNameHeldBy, {newName, owner});
        if (!holds)
            return Outcome::Failed;
        if (!*holds)
            return Outcome::Denied;
        if (oldName == newName)
            return Outcome::Done;
        bool exists = false;
        const auto oldOwner = PageOwner(c, oldName, &exists);
        if (!oldOwner)
            return Outcome::Failed;
        // Only the owner's own page moves: one without an owner under the old name is served
        // as the page of whoever holds that name now.
        if (!exists || *oldOwner != owner)
            return Outcome::Done;
        if (c.Exec(Sql::DeletePage, {newName}) < 0)
            return Outcome::Failed;
        return Ran(c.Exec(Sql::MovePage, {newName, oldName, owner}));
    });
}

std::optional<qint64> SqlStore::PageBytesOf(const QString& owner) {
    const auto bytes = Connection()->Value(Sql::PageBytesOf, {owner});
    if (!bytes || !bytes->isValid())
        return std::nullopt;
    return bytes->toLongLong();
}

Outcome SqlStore::RemovePage(const QString& name) {
    return Write([&](SqlConnection& c) { return Changed(c.Exec(Sql::DeletePage, {name})); });
}

std::vector<PageSummary> SqlStore::Pages() {
    return Connection()
        ->Read(Sql::Pages, {},
               [](QSqlQuery& q) {
                   std::vector<PageSummary> out;
                   while (q.next()) {
                       out.push_back({q.value(0).toString(), q.value(1).toLongLong(),
                                      q.value(2).toString(), q.value(3).toString()});
                   }
                   return out;
               })
        .value_or(std::vector<PageSummary>());
}

bool SqlStore::CreateSession(const QString& digest, const QString& user, qint64 createdAt) {
    // Each sign-in opens a session; only the newest few of one account stay open, so that
    // sign-ins without a sign-out (a crashed client, a script) cannot fill the table.
    return Write([&](SqlConnection& c) {
               if (c.Exec(Sql::CreateSession, {digest, user, createdAt}) <= 0)
                   return Outcome::Failed;
               return Ran(c.Exec(Sql::TrimSessions, {user, user, kSessionsPerAccount}));
           }) == Outcome::Done;
}

std::optional<QString> SqlStore::SessionUser(const QString& digest, qint64 notBefore) {
    const auto user = Connection()->Value(Sql::SessionUser, {digest, notBefore});
    if (!user || !user->isValid())
        return std::nullopt;
    return user->toString();
}

void SqlStore::EndSession(const QString& digest) {
    Write([&](SqlConnection& c) { return Ran(c.Exec(Sql::EndSession, {digest})); });
}

void SqlStore::PurgeSessions(qint64 before) {
    Write([&](SqlConnection& c) { return Ran(c.Exec(Sql::PurgeSessions, {before})); });
}

}  // namespace server
