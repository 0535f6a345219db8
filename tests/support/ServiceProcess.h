#pragma once
// ServiceProcess: the real zenri-service program, for tests that talk to the service.
//
// Start() creates a fresh temporary folder with a database made by "init --demo" (settings
// row, two adverts, the demo account 88888888 / zenri520) and runs
//   zenri-service serve --listen 127.0.0.1:0 --db <database> --hash-cost min ...
// then waits (with a deadline, no sleeps) for its "listening on http://HOST:PORT" line.
// Everything goes away with the object: the process is stopped, the folder removed.
//
//   ServiceProcess service;
//   ASSERT_TRUE(service.Start()) << service.Error();
//   service::SetAddress(service.Url());          // point the client code at it
//   ... gateway::Query(...) ...
//   EXPECT_EQ(service.Query("SELECT 文件名 FROM 用户管理 WHERE 用户='88888888'"),
//             (std::vector<QStringList>{{"abc"}}));
//   EXPECT_TRUE(service.LogContains("REFUSED"));
//
// Stop() (and the destructor) waits until the service has ended, which takes until its idle
// kept-alive client connections have timed out (5 s): a test that talked to it through the
// client's network manager calls xmlhttp::Manager().clearConnectionCache() first.
//
// Query() reads the database on a connection of its own (SQLite in WAL mode lets it read while
// the service writes); values come back as text, BLOBs as their bytes read as UTF-8. With
// Options::store a test runs on PostgreSQL instead; DatabasePath() is then the address.
// RunCommand() runs an operator command on the same database ("users", "freeze", "88888888"),
// the running service notices its effect on the next request. LogLines() are the request log
// lines written so far; the service writes a request's line before it sends the reply, so the
// line of a request that has returned is always there.

#include "TestDatabase.h"

#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <memory>
#include <vector>

class QProcess;

class ServiceProcess {
public:
    struct Options {
        // Sign-in lookups, registrations and name lookups per client address per minute, and
        // failed sign-ins of one account from one address per hour; 0: no limit.
        int signInPerMinute = 0;
        int registrationPerMinute = 0;
        int lookupsPerMinute = 0;
        int failuresPerAddress = 0;
        // Password hash cost of the service and of the demo account: min keeps tests fast.
        QString hashCost = QStringLiteral("min");
        bool demo = true;  // init --demo, else a bare init
        // The store: a fresh SQLite file, or a fresh database on the tests' PostgreSQL server.
        TestDatabase::Kind store = TestDatabase::Kind::Sqlite;
        // Another service's database instead of a fresh one: several services, one store.
        const ServiceProcess* shareWith = nullptr;
        QStringList extraArguments;  // further options for serve ("--max-body", "4096")
    };

    ServiceProcess();
    explicit ServiceProcess(Options options);
    ~ServiceProcess();
    ServiceProcess(const ServiceProcess&) = delete;
    ServiceProcess& operator=(const ServiceProcess&) = delete;

    // Creates the database (first start only) and starts the service. On failure Error() says
    // why, with the service's own output.
    bool Start();
    // SIGTERM, then waits for the process to end; true when it ended with exit code 0.
    bool Stop();
    // SIGKILL, as a crash would end it.
    void Kill();
    // Starts again on the same database (a new port: take Url() again).
    bool Restart();
    // Starts again on the same database and the same address, as a service with a fixed
    // address comes back.
    bool RestartOnSamePort();
    bool IsRunning() const;
    // The running service's process id (0 when it is not running), and its resident memory.
    qint64 Pid() const;
    double ResidentMegabytes() const;

    QString Url() const { return url_; }  // "http://127.0.0.1:PORT"
    QString DatabasePath() const { return databasePath_; }
    QString Error() const { return error_; }

    struct CommandResult {
        int exitCode = -1;
        QString output;  // standard output and standard error together
    };
    // Runs "zenri-service <arguments> --db <database>" and waits for it.
    CommandResult RunCommand(const QStringList& arguments) const;

    // The request log lines so far (standard error lines that start with a time).
    QStringList LogLines() const;
    bool LogContains(const QString& text) const;
    // Everything the service wrote on standard error.
    QString ErrorOutput() const;

    // Rows of a SELECT on the database, each as its column values.
    std::vector<QStringList> Query(const QString& sql) const;
    // A write on the database behind the running service's back (another client's doing).
    void Execute(const QString& sql) const { Query(sql); }

    static QString ProgramPath();

private:
    bool Launch();

    Options options_;
    QTemporaryDir folder_;
    std::unique_ptr<TestDatabase> database_;  // none when sharing another service's
    QString databasePath_;
    QString logPath_;
    QString url_;
    QString error_;
    int port_ = 0;  // 0: a free one
    bool initialised_ = false;
    std::unique_ptr<QProcess> process_;
};
