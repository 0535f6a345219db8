#pragma once
// One thread's connection to the store's database, with the statements it has prepared, and
// the write transaction every change runs in.
//
// QtSql connections belong to the thread that opened them, so every thread that calls a store
// gets a connection of its own, closed when the thread ends or the store goes away.

#include "server/SqlDialect.h"

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <array>
#include <initializer_list>
#include <memory>
#include <mutex>
#include <optional>
#include <utility>

namespace server {

class SqlConnection {
public:
    SqlConnection(const SqlDialect& dialect, const QString& location, quint64 storeId);
    ~SqlConnection();
    SqlConnection(const SqlConnection&) = delete;
    SqlConnection& operator=(const SqlConnection&) = delete;

    bool IsOpen() const { return open_; }
    QSqlDatabase Database() const { return QSqlDatabase::database(name_, false); }

    // Runs a statement with its values, prepared on first use and kept. A select is left
    // positioned before its first row; the caller reads it and finishes it. Nothing when it
    // failed (the error is logged).
    QSqlQuery* Run(Sql which, std::initializer_list<QVariant> values = {});
    // A statement that gives no rows: the number of rows it changed, -1 when it failed.
    int Exec(Sql which, std::initializer_list<QVariant> values = {});
    // Runs a select and gives what `reader` makes of its rows (it is handed the query,
    // positioned before the first row); nothing when the statement failed.
    template <typename Reader>
    auto Read(Sql which, std::initializer_list<QVariant> values, Reader reader)
        -> std::optional<decltype(reader(std::declval<QSqlQuery&>()))> {
        QSqlQuery* q = Run(which, values);
        if (!q)
            return std::nullopt;
        auto result = reader(*q);
        q->finish();
        return result;
    }
    // Whether a select gives at least one row.
    std::optional<bool> Exists(Sql which, std::initializer_list<QVariant> values);
    // The first column of the first row, or of every row.
    std::optional<QVariant> Value(Sql which, std::initializer_list<QVariant> values);
    std::optional<QStringList> Column(Sql which);

    // The calling thread's connection for the store with this id, opened on first use.
    static SqlConnection* ForThisThread(const SqlDialect& dialect, const QString& location,
                                        quint64 storeId);
    // Closes the calling thread's connection of the store (the others close with their
    // threads, or find the store gone when the id comes again: ids are never reused).
    static void CloseForThisThread(quint64 storeId);
    static quint64 NewStoreId();

private:
    QSqlQuery* Prepared(Sql which);

    const SqlDialect& dialect_;
    const QString name_;
    bool open_ = false;
    std::array<std::unique_ptr<QSqlQuery>, kSqlCount> prepared_;
};

// A write transaction: writers of this process wait for each other on the mutex, and the
// dialect's Begin takes the database's write lock up front (another process waits on the busy
// time-out), so a write never fails half-way on a lock another writer holds. Rolls back unless
// committed.
class WriteTransaction {
public:
    WriteTransaction(SqlConnection* c, std::mutex& m);
    ~WriteTransaction();
    WriteTransaction(const WriteTransaction&) = delete;
    WriteTransaction& operator=(const WriteTransaction&) = delete;

    bool ok() const { return ok_; }
    bool Commit();

private:
    SqlConnection* c_;
    std::lock_guard<std::mutex> lock_;
    bool ok_ = false;
    bool done_ = false;
};

void WarnAbout(const QSqlQuery& query);

}  // namespace server
