#pragma once
// The embedded store: one SQLite file in WAL mode, reached through QtSql's QSQLITE driver.
// Writers are serialised inside the process and use immediate transactions, so a write never
// fails half-way on a lock held by another writer. The file is for its owner's eyes only.

#include "server/SqlStore.h"

namespace server {

class SqliteStore final : public SqlStore {
public:
    explicit SqliteStore(QString path);

    const QString& Path() const { return Location(); }
};

}  // namespace server
