#pragma once
// TestDatabase: a fresh, empty database for one test, on either store of the service.
//
//   SQLite      a file in a temporary folder of its own
//   PostgreSQL  a new database on the tests' PostgreSQL server (tests/support/postgres.sh,
//               started by ctest before the tests that need it), dropped again afterwards
//
// Location() is what the service takes as --db. Query() runs any statement on a connection of
// the test's own, as another program would see the data; values come back as text, binary
// values as their bytes read as UTF-8.
//
//   TestDatabase db(TestDatabase::Kind::Postgres);
//   if (!db.Ready()) GTEST_SKIP() << db.Error();    // no server: run the tests through ctest

#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <optional>
#include <ostream>
#include <vector>

class TestDatabase {
public:
    enum class Kind { Sqlite, Postgres };

    explicit TestDatabase(Kind kind);
    ~TestDatabase();
    TestDatabase(const TestDatabase&) = delete;
    TestDatabase& operator=(const TestDatabase&) = delete;

    bool Ready() const { return error_.isEmpty(); }
    QString Error() const { return error_; }
    Kind kind() const { return kind_; }
    QString Location() const { return location_; }

    std::vector<QStringList> Query(const QString& sql) const;
    // A statement's first value, or "" when it gave no row (or failed, with a warning).
    QString Scalar(const QString& sql) const;
    // The values of an expression over the rows of a table (and condition), in an order,
    // joined by commas: "a,b,c". The two databases spell it differently.
    QString Joined(const QString& expression, const QString& from, const QString& order) const;

    // The address of the tests' PostgreSQL server's maintenance database, when it runs.
    static std::optional<QString> PostgresServer();
    static const char* KindName(Kind kind) { return kind == Kind::Sqlite ? "sqlite" : "postgres"; }

private:
    Kind kind_;
    QTemporaryDir folder_;
    QString location_;
    QString name_;  // the PostgreSQL database's name
    QString error_;
};

// Test names and messages say "sqlite" or "postgres".
inline void PrintTo(TestDatabase::Kind kind, std::ostream* out) {
    *out << TestDatabase::KindName(kind);
}
