#include "TestDatabase.h"

#include <QCoreApplication>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QUrl>
#include <QVariant>

#include <atomic>

namespace {

std::atomic<int> g_connections{0};

// Runs one statement on a new connection to a location and gives its rows.
std::vector<QStringList> RunOn(TestDatabase::Kind kind, const QString& location, const QString& sql,
                               QString* error) {
    const QString name = QStringLiteral("zr-testdb-%1").arg(++g_connections);
    std::vector<QStringList> rows;
    {
        QSqlDatabase db;
        if (kind == TestDatabase::Kind::Sqlite) {
            db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
            db.setDatabaseName(location);
            db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=10000"));
        } else {
            const QUrl url(location);
            db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), name);
            db.setHostName(url.host());
            db.setPort(url.port(5432));
            db.setUserName(url.userName());
            db.setDatabaseName(url.path().mid(1));
        }
        if (!db.open()) {
            if (error)
                *error = db.lastError().text();
        } else {
            QSqlQuery query(db);
            if (query.exec(sql)) {
                while (query.next()) {
                    QStringList row;
                    for (int i = 0; i < query.record().count(); ++i) {
                        const QVariant v = query.value(i);
                        row << (v.typeId() == QMetaType::QByteArray
                                    ? QString::fromUtf8(v.toByteArray())
                                    : v.toString());
                    }
                    rows.push_back(row);
                }
            } else if (error) {
                *error = query.lastError().text();
            } else {
                qWarning("TestDatabase: %s: %s", qPrintable(sql),
                         qPrintable(query.lastError().text()));
            }
        }
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
    return rows;
}

QString WithDatabase(const QString& server, const QString& database) {
    QUrl url(server);
    url.setPath(QLatin1Char('/') + database);
    return url.toString();
}

}  // namespace

std::optional<QString> TestDatabase::PostgresServer() {
    QFile file(QStringLiteral(ZR_TEST_PG_DIR "/url"));
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    const QString url = QString::fromUtf8(file.readAll()).trimmed();
    return url.isEmpty() ? std::nullopt : std::optional<QString>(url);
}

TestDatabase::TestDatabase(Kind kind) : kind_(kind) {
    if (kind_ == Kind::Sqlite) {
        if (!folder_.isValid())
            error_ = QStringLiteral("no temporary folder");
        location_ = folder_.filePath(QStringLiteral("service.db"));
        return;
    }
    const auto server = PostgresServer();
    if (!server) {
        error_ = QStringLiteral("no test PostgreSQL server (ctest starts it: " ZR_TEST_PG_DIR ")");
        return;
    }
    static std::atomic<int> counter{0};
    name_ = QStringLiteral("zr_%1_%2").arg(QCoreApplication::applicationPid()).arg(++counter);
    QString problem;
    RunOn(kind_, *server,
          QStringLiteral("CREATE DATABASE %1 ENCODING 'UTF8' TEMPLATE template0").arg(name_),
          &problem);
    if (!problem.isEmpty()) {
        error_ = QStringLiteral("cannot create the test database: %1").arg(problem);
        name_.clear();
        return;
    }
    location_ = WithDatabase(*server, name_);
}

TestDatabase::~TestDatabase() {
    if (kind_ == Kind::Postgres && !name_.isEmpty()) {
        if (const auto server = PostgresServer()) {
            QString problem;
            RunOn(kind_, *server,
                  QStringLiteral("DROP DATABASE IF EXISTS %1 WITH (FORCE)").arg(name_), &problem);
        }
    }
}

std::vector<QStringList> TestDatabase::Query(const QString& sql) const {
    return RunOn(kind_, location_, sql, nullptr);
}

QString TestDatabase::Scalar(const QString& sql) const {
    const auto rows = Query(sql);
    return rows.empty() || rows.front().isEmpty() ? QString() : rows.front().front();
}

QString TestDatabase::Joined(const QString& expression, const QString& from,
                             const QString& order) const {
    if (kind_ == Kind::Sqlite) {
        // group_concat follows the order of the rows it is given.
        return Scalar(QStringLiteral("SELECT group_concat(v) FROM (SELECT %1 AS v FROM %2 ORDER BY "
                                     "%3)")
                          .arg(expression, from, order));
    }
    return Scalar(QStringLiteral("SELECT string_agg((%1)::text, ',' ORDER BY %3) FROM %2")
                      .arg(expression, from, order));
}
