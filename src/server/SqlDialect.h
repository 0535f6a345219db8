#pragma once
// What one database product needs of the store: the text of every statement, the schema steps
// from one version to the next, and how a new connection is set up. The store's methods are
// written once against these; a dialect only says them in its own SQL.

#include <QString>

#include <array>
#include <cstddef>
#include <span>

class QSqlDatabase;

namespace server {

// Every statement of the store. Values are always bound, never spliced into the text.
enum class Sql {
    Begin,       // a write transaction
    LockWrites,  // run first in it: holds the database's write lock until it ends
    Commit,
    Rollback,
    SelectOne,
    SettingsRow,
    AdvertImages,
    AdvertLinks,
    Adverts,
    AddAdvert,  // gives the new advert's number as its one row
    RemoveAdvert,
    UserByName,
    UserByPageName,
    Users,
    InsertUser,
    MarkOffline,
    MarkOnline,
    PageNameHeld,
    PageNameHeldByOther,
    PageNameHeldBy,  // the row of this account holds the name
    ClaimPageName,
    RecordUpload,
    RenamePageName,
    SetFrozen,
    RemoveUserPage,
    RemoveUserSessions,
    RemoveUser,
    PutPage,           // replaces whatever page stands under the name
    RemoveOtherPages,  // the account's pages under names other than the one given
    CountUpload,
    Page,
    PageAndVersion,  // this and PageVersion find only a page that is served
    PageVersion,
    PageOwner,
    DeletePage,
    DeleteLeftoverPage,  // the page under a name no row holds
    MovePage,            // the account's own page
    MoveHeldPage,        // the page served under the account's name, one without an owner too
    Pages,
    PageBytesOf,
    CreateSession,
    TrimSessions,
    SessionUser,
    EndSession,
    PurgeSessions,
    SchemaTable,    // creates schema_version when it is missing
    SchemaVersion,  // the highest version recorded
    Count
};

inline constexpr std::size_t kSqlCount = static_cast<std::size_t>(Sql::Count);

// A statement's text beside the name it is used by.
struct SqlText {
    Sql id;
    const char* text;
};
using SqlTexts = std::array<SqlText, kSqlCount>;

// Each text stands at the place of its name: a table with an entry left out or two swapped
// does not compile (static_assert), where a plain array of texts would give a null pointer.
constexpr bool PairedInOrder(const SqlTexts& texts) {
    for (std::size_t i = 0; i < texts.size(); ++i) {
        if (static_cast<std::size_t>(texts[i].id) != i || texts[i].text == nullptr)
            return false;
    }
    return true;
}

// The statements that bring the schema from version - 1 to version; the last one records
// the version in schema_version.
struct SchemaStep {
    int version;
    std::span<const char* const> statements;
};

struct SqlDialect {
    const char* driver;  // the QtSql driver
    const SqlTexts* texts;
    std::span<const SchemaStep> schema;  // in order of version
    // Gives a new connection the store's location (a file, a server's address); false
    // with the reason when the location cannot be used.
    bool (*configure)(QSqlDatabase& db, const QString& location, QString* error);
    // Run on every new connection before it is used (journal mode, time-outs); false when
    // the connection cannot be used.
    bool (*setUp)(QSqlDatabase& db);

    const char* Text(Sql id) const { return (*texts)[static_cast<std::size_t>(id)].text; }
    int CurrentSchema() const { return schema.empty() ? 0 : schema.back().version; }
};

// The embedded database: SQLite in WAL mode.
const SqlDialect& SqliteDialect();
// A PostgreSQL server, shared by any number of service instances.
const SqlDialect& PostgresDialect();

}  // namespace server
