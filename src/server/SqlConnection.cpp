#include "server/SqlConnection.h"

#include "server/DatabaseLocation.h"

#include <QSqlError>

#include <atomic>
#include <utility>
#include <vector>

namespace server {
namespace {

std::atomic<quint64> g_nextStoreId{1};
std::atomic<quint64> g_nextConnection{1};

// The connections of the calling thread, one per store; they close when the thread ends.
struct ThreadConnections {
    std::vector<std::pair<quint64, std::unique_ptr<SqlConnection>>> byStore;
};
thread_local ThreadConnections t_connections;

}  // namespace

void WarnAbout(const QSqlQuery& query) {
    qWarning("database: %s", qPrintable(query.lastError().text()));
}

SqlConnection::SqlConnection(const SqlDialect& dialect, const QString& location, quint64 storeId)
    : dialect_(dialect),
      name_(QStringLiteral("zr-store-%1-%2").arg(storeId).arg(g_nextConnection++)) {
    QSqlDatabase db = QSqlDatabase::addDatabase(QLatin1String(dialect.driver), name_);
    QString problem;
    if (!dialect.configure(db, location, &problem)) {
        qWarning("database: cannot use %s: %s", qPrintable(Redacted(location)),
                 qPrintable(problem));
        return;
    }
    if (!db.open()) {
        qWarning("database: cannot open %s: %s", qPrintable(Redacted(location)),
                 qPrintable(db.lastError().text()));
        return;
    }
    open_ = dialect.setUp(db);
}

SqlConnection::~SqlConnection() {
    for (auto& q : prepared_)
        q.reset();
    {
        QSqlDatabase db = QSqlDatabase::database(name_, false);
        db.close();
    }
    QSqlDatabase::removeDatabase(name_);
}

QSqlQuery* SqlConnection::Prepared(Sql which) {
    auto& slot = prepared_[static_cast<size_t>(which)];
    if (!slot) {
        auto query = std::make_unique<QSqlQuery>(Database());
        if (!query->prepare(QString::fromUtf8(dialect_.Text(which)))) {
            WarnAbout(*query);
            return nullptr;
        }
        slot = std::move(query);
    }
    return slot.get();
}

QSqlQuery* SqlConnection::Run(Sql which, std::initializer_list<QVariant> values) {
    if (!open_)
        return nullptr;
    QSqlQuery* q = Prepared(which);
    if (!q)
        return nullptr;
    int i = 0;
    for (const QVariant& v : values) {
        // A null QString binds as NULL; every text column holds text, the empty one too.
        const bool nullText = v.typeId() == QMetaType::QString && v.toString().isNull();
        q->bindValue(i++, nullText ? QVariant(QStringLiteral("")) : v);
    }
    if (!q->exec()) {
        WarnAbout(*q);
        q->finish();
        return nullptr;
    }
    return q;
}

int SqlConnection::Exec(Sql which, std::initializer_list<QVariant> values) {
    // Transaction control and the schema run as they are: PostgreSQL prepares only
    // statements on rows.
    if (which == Sql::Begin || which == Sql::Commit || which == Sql::Rollback ||
        which == Sql::SchemaTable) {
        if (!open_)
            return -1;
        QSqlQuery control(Database());
        if (!control.exec(QString::fromUtf8(dialect_.Text(which)))) {
            WarnAbout(control);
            return -1;
        }
        return 0;
    }
    QSqlQuery* q = Run(which, values);
    if (!q)
        return -1;
    const int changed = q->numRowsAffected();
    q->finish();
    return changed;
}

std::optional<bool> SqlConnection::Exists(Sql which, std::initializer_list<QVariant> values) {
    return Read(which, values, [](QSqlQuery& q) { return q.next(); });
}

std::optional<QVariant> SqlConnection::Value(Sql which, std::initializer_list<QVariant> values) {
    return Read(which, values, [](QSqlQuery& q) { return q.next() ? q.value(0) : QVariant(); });
}

std::optional<QStringList> SqlConnection::Column(Sql which) {
    return Read(which, {}, [](QSqlQuery& q) {
        QStringList out;
        while (q.next())
            out << q.value(0).toString();
        return out;
    });
}

SqlConnection* SqlConnection::ForThisThread(const SqlDialect& dialect, const QString& location,
                                            quint64 storeId) {
    for (auto& [id, connection] : t_connections.byStore) {
        if (id == storeId)
            return connection.get();
    }
    auto connection = std::make_unique<SqlConnection>(dialect, location, storeId);
    SqlConnection* raw = connection.get();
    t_connections.byStore.emplace_back(storeId, std::move(connection));
    return raw;
}

void SqlConnection::CloseForThisThread(quint64 storeId) {
    std::erase_if(t_connections.byStore,
                  [storeId](const auto& entry) { return entry.first == storeId; });
}

quint64 SqlConnection::NewStoreId() {
    return g_nextStoreId++;
}

WriteTransaction::WriteTransaction(SqlConnection* c, std::mutex& m) : c_(c), lock_(m) {
    ok_ = c_ && c_->Exec(Sql::Begin) >= 0;
    if (ok_ && c_->Exec(Sql::LockWrites) < 0) {
        c_->Exec(Sql::Rollback);
        ok_ = false;
    }
}

WriteTransaction::~WriteTransaction() {
    if (ok_ && !done_)
        c_->Exec(Sql::Rollback);
}

bool WriteTransaction::Commit() {
    done_ = c_->Exec(Sql::Commit) >= 0;
    return done_;
}

}  // namespace server
