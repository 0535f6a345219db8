#include "server/SqliteStore.h"

#include <QFile>
#include <QFileInfo>

namespace server {
namespace {

// The database holds password hashes, phone numbers and session digests: only the service's
// own user may read it. A new file is created so; an existing one (with its journal files,
// which SQLite creates with the database's permissions) is narrowed to it.
void KeepPrivate(const QString& path) {
    if (path.isEmpty() || path == QLatin1String(":memory:") ||
        path.startsWith(QLatin1String("file:"))) {
        return;
    }
    constexpr QFileDevice::Permissions kOwnerOnly =
        QFileDevice::ReadOwner | QFileDevice::WriteOwner;
    if (!QFileInfo::exists(path)) {
        QFile file(path);
        file.open(QIODevice::WriteOnly | QIODevice::NewOnly, kOwnerOnly);
        return;
    }
    for (const QString& suffix :
         {QString(), QStringLiteral("-wal"), QStringLiteral("-shm"), QStringLiteral("-journal")}) {
        QFile file(path + suffix);
        if (file.exists() && (file.permissions() & ~(kOwnerOnly | QFileDevice::ReadUser |
                                                     QFileDevice::WriteUser)) != 0) {
            file.setPermissions(kOwnerOnly);
        }
    }
}

const QString& Narrowed(const QString& path) {
    KeepPrivate(path);
    return path;
}

}  // namespace

SqliteStore::SqliteStore(QString path) : SqlStore(SqliteDialect(), Narrowed(path)) {}

}  // namespace server
