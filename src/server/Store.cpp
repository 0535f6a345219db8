#include "server/Store.h"

#include "server/DatabaseLocation.h"
#include "server/SqliteStore.h"

namespace server {

const QStringList& SettingsColumnNames() {
    static const QStringList names{QStringLiteral("编号"),     QStringLiteral("站点名称"),
                                   QStringLiteral("服务状态"), QStringLiteral("公告"),
                                   QStringLiteral("最新版本"), QStringLiteral("下载地址")};
    return names;
}

std::unique_ptr<Store> OpenStore(const QString& location, QString* error) {
    if (location.isEmpty()) {
        if (error)
            *error = QStringLiteral("no database given (--db PATH)");
        return nullptr;
    }
    if (IsPostgresLocation(location)) {
        if (!ParsePostgresLocation(location, error))
            return nullptr;
        return std::make_unique<SqlStore>(PostgresDialect(), location);
    }
    return std::make_unique<SqliteStore>(location);
}

}  // namespace server
