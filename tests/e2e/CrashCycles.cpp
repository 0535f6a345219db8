// zr-crash-cycles: nothing the service acknowledged is lost when it is killed.
//   zr-crash-cycles [--cycles N] [--workers N] [--seed N] [--delay MIN-MAX] [--work DIR]
//                   [--service-bin PATH] [--damage page|sessions]
// Starts the service on a new database and four clients (worker processes of this program).
// Each client registers, signs in, claims a page name, then uploads and renames its page in a
// loop through the gateway, journalling every write it sends and every answer it gets. After
// a random delay (MIN-MAX ms, 100-1500 unless given) the service is killed with SIGKILL; the
// clients notice and wait. The service starts again on the same database, and before the
// clients go on every account is checked through the service: the row's page name, the exact
// bytes of the last acknowledged upload under the name of the last acknowledged rename, 404
// for every other name the client used (an unknown write, the one in flight at the kill, may
// explain the other state). PRAGMA integrity_check must say "ok". The clients then go on with
// the sessions they held: their next write must be answered OK. N cycles (20 unless given) of
// kill and restart, then a last start on which every client writes once more.
//
// --damage changes the database behind the service's back after the first kill (one page's
// bytes, or every session), to show that the checks notice; the run then fails.
// Prints a line per cycle and a summary; exits with 1 when anything failed. Failures name the
// service start they concern ("start 3" is the second restart) or the check ("restart 2").
// The work folder (database, service log, journals) is kept when a run fails or --work is
// given.

#include "CrashJournal.h"
#include "CrashWorker.h"
#include "HttpGet.h"
#include "client/gateway/Gateway.h"
#include "client/gateway/ServiceAddress.h"
#include "client/gateway/XmlHttp.h"
#include "common/Statements.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QNetworkAccessManager>
#include <QProcess>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QSaveFile>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>

#include <QTemporaryDir>
#include <QThread>
#include <QVariant>
#include <optional>

#include <signal.h>

#include <cstdio>
#include <functional>
#include <memory>
#include <vector>

namespace {

using crash::Entry;
using crash::OpKind;

struct Options {
    int cycles = 20;
    int workers = 4;
    quint64 seed = 0;
    int minDelayMs = 100;
    int maxDelayMs = 1500;
    QString work;
    QString serviceBin = QStringLiteral(ZR_SERVICE_BINARY);
    QString damage;
};

constexpr int kStartMs = 30000;
constexpr int kAnswerMs = 60000;
constexpr int kNoticeMs = 30000;

void Print(const QString& text) {
    std::printf("%s\n", qPrintable(text));
    std::fflush(stdout);
}

class Driver {
public:
    explicit Driver(Options options) : options_(std::move(options)), random_(options_.seed) {}

    int Run() {
        QElapsedTimer clock;
        clock.start();
        if (!MakeFolder())
            return 2;
        Print(QStringLiteral("crash cycles: %1 cycles, %2 workers, seed %3, work folder %4")
                  .arg(options_.cycles)
                  .arg(options_.workers)
                  .arg(options_.seed)
                  .arg(folder_));
        if (!InitDatabase())
            return 2;

        for (int cycle = 1; cycle <= options_.cycles + 1 && !aborted_; ++cycle) {
            if (!StartService())
                break;
            if (cycle > 1)
                Check(QStringLiteral("restart %1").arg(cycle - 1));
            PublishAddress();
            if (cycle == 1 && !StartWorkers())
                break;
            const int gen = gen_;
            WaitFor([&](int w) { return models_[w].AnsweredOn(gen) || models_[w].LostOn(gen); },
                    kAnswerMs, QStringLiteral("an answer to every worker"));
            if (cycle == options_.cycles + 1 || aborted_)
                break;
            if (!options_.damage.isEmpty() && cycle == 1) {
                WaitFor([&](int w) { return models_[w].acknowledged.value(OpKind::Upload) > 0; },
                        kAnswerMs, QStringLiteral("an upload of every worker"));
            }
            const int delay =
                options_.minDelayMs + static_cast<int>(random_.bounded(static_cast<quint32>(
                                          options_.maxDelayMs - options_.minDelayMs + 1)));
            PumpFor(delay);
            const int inFlightBefore = InFlightTotal();
            KillService();
            WaitFor([&](int w) { return models_[w].LostOn(gen); }, kNoticeMs,
                    QStringLiteral("every worker to notice the kill"));
            Print(QStringLiteral("cycle %1: killed after %2 ms; %3 acknowledged writes so far, "
                                 "%4 writes in flight at the kill")
                      .arg(cycle)
                      .arg(delay)
                      .arg(AcknowledgedTotal())
                      .arg(InFlightTotal() - inFlightBefore));
            if (!options_.damage.isEmpty() && cycle == 1)
                Damage();
        }

        // The end: every worker stops after its answer on the last start, then the state they
        // leave is checked once more, and the database after a clean stop.
        QFile stop(crash::StopFile(folder_));
        stop.open(QIODevice::WriteOnly);
        stop.close();
        WaitFor([&](int w) { return workers_[w]->state() == QProcess::NotRunning; }, kNoticeMs,
                QStringLiteral("every worker to stop"));
        Pump();
        for (size_t w = 0; w < workers_.size(); ++w) {
            if (workers_[w]->state() != QProcess::NotRunning) {
                workers_[w]->kill();
                workers_[w]->waitForFinished();
            } else if (workers_[w]->exitStatus() != QProcess::NormalExit ||
                       workers_[w]->exitCode() != 0) {
                Failure(QStringLiteral("worker %1 ended with exit code %2")
                            .arg(w)
                            .arg(workers_[w]->exitCode()));
            }
        }
        if (service_ && service_->state() == QProcess::Running) {
            Check(QStringLiteral("the end"));
            StopService();
            IntegrityCheck(QStringLiteral("after the stop"));
        }
        Summary(clock.elapsed());
        const bool failed = !failures_.isEmpty() || aborted_;
        // A run with --damage fails on purpose; its folder is of no interest afterwards.
        if ((failed && options_.damage.isEmpty()) || !options_.work.isEmpty()) {
            if (temporaryFolder_)
                temporaryFolder_->setAutoRemove(false);
            Print(QStringLiteral("work folder kept: %1").arg(folder_));
        }
        return failed ? 1 : 0;
    }

private:
    bool MakeFolder() {
        if (!options_.work.isEmpty()) {
            folder_ = QDir(options_.work).absolutePath();
            // A folder of an earlier run is emptied; any other folder is left alone.
            const QDir dir(folder_);
            if (dir.exists() && !dir.isEmpty()) {
                if (!dir.exists(QStringLiteral("service.db"))) {
                    Print(QStringLiteral("%1 is not empty and holds no earlier run").arg(folder_));
                    return false;
                }
                QDir(folder_).removeRecursively();
            }
            if (!QDir().mkpath(folder_)) {
                Print(QStringLiteral("cannot make %1").arg(folder_));
                return false;
            }
        } else {
            temporaryFolder_ = std::make_unique<QTemporaryDir>(
                QDir::tempPath() + QStringLiteral("/zr-crash-cycles-XXXXXX"));
            if (!temporaryFolder_->isValid()) {
                Print(QStringLiteral("no temporary folder"));
                return false;
            }
            folder_ = temporaryFolder_->path();
        }
        database_ = folder_ + QStringLiteral("/service.db");
        log_ = folder_ + QStringLiteral("/service.log");
        return true;
    }

    bool InitDatabase() {
        QProcess init;
        init.setProcessChannelMode(QProcess::MergedChannels);
        init.start(options_.serviceBin, {QStringLiteral("init"), QStringLiteral("--hash-cost"),
                                         QStringLiteral("min"), QStringLiteral("--db"), database_});
        if (!init.waitForFinished(kStartMs) || init.exitStatus() != QProcess::NormalExit ||
            init.exitCode() != 0) {
            Print(QStringLiteral("cannot create the database with %1: %2")
                      .arg(options_.serviceBin, QString::fromUtf8(init.readAll())));
            return false;
        }
        return true;
    }

    bool StartService() {
        ++gen_;
        service_ = std::make_unique<QProcess>();
        service_->setStandardErrorFile(log_, QIODevice::Append);
        service_->start(
            options_.serviceBin,
            {QStringLiteral("serve"), QStringLiteral("--listen"), QStringLiteral("127.0.0.1:0"),
             QStringLiteral("--db"), database_, QStringLiteral("--hash-cost"),
             QStringLiteral("min"), QStringLiteral("--signin-limit"), QStringLiteral("0"),
             QStringLiteral("--register-limit"), QStringLiteral("0"),
             QStringLiteral("--lookup-limit"), QStringLiteral("0")});
        static const QRegularExpression listening(QStringLiteral("listening on (http://\\S+)"));
        QByteArray output;
        QElapsedTimer waited;
        waited.start();
        while (waited.elapsed() < kStartMs) {
            const auto match = listening.match(QString::fromUtf8(output));
            if (match.hasMatch()) {
                url_ = match.captured(1);
                service::SetAddress(url_);
                return true;
            }
            if (!service_->waitForReadyRead(100) && service_->state() == QProcess::NotRunning)
                break;
            output += service_->readAllStandardOutput();
        }
        Failure(QStringLiteral("start %1: the service did not come up: %2")
                    .arg(gen_)
                    .arg(QString::fromUtf8(output)));
        aborted_ = true;
        return false;
    }

    void KillService() {
        ::kill(static_cast<pid_t>(service_->processId()), SIGKILL);
        service_->waitForFinished(kStartMs);
    }

    void StopService() {
        // The service waits for kept-alive connections to end before it stops.
        xmlhttp::Manager().clearConnectionCache();
        service_->terminate();
        if (!service_->waitForFinished(kStartMs)) {
            Failure(QStringLiteral("the service did not stop on SIGTERM"));
            KillService();
        } else if (service_->exitStatus() != QProcess::NormalExit || service_->exitCode() != 0) {
            Failure(
                QStringLiteral("the service stopped with exit code %1").arg(service_->exitCode()));
        }
    }

    void PublishAddress() {
        QSaveFile file(crash::AddressFile(folder_));
        if (!file.open(QIODevice::WriteOnly) ||
            file.write(QStringLiteral("%1 %2\n").arg(gen_).arg(url_).toLatin1()) < 0 ||
            !file.commit()) {
            Failure(QStringLiteral("cannot write the address file"));
            aborted_ = true;
        }
    }

    bool StartWorkers() {
        models_.resize(static_cast<size_t>(options_.workers));
        offsets_.assign(static_cast<size_t>(options_.workers), 0);
        partial_.assign(static_cast<size_t>(options_.workers), QByteArray());
        for (int w = 0; w < options_.workers; ++w) {
            auto worker = std::make_unique<QProcess>();
            worker->setProcessChannelMode(QProcess::ForwardedChannels);
            worker->start(QCoreApplication::applicationFilePath(),
                          {QStringLiteral("--worker"), QString::number(w), QStringLiteral("--work"),
                           folder_, QStringLiteral("--seed"),
                           QString::number(options_.seed * 1000 + static_cast<quint64>(w) + 1)});
            if (!worker->waitForStarted(kStartMs)) {
                Failure(QStringLiteral("worker %1 did not start").arg(w));
                aborted_ = true;
                return false;
            }
            workers_.push_back(std::move(worker));
        }
        return true;
    }

    // Reads what the workers journalled since the last look, and notices a worker that died.
    void Pump() {
        QCoreApplication::processEvents();
        for (size_t w = 0; w < workers_.size(); ++w) {
            QFile file(crash::JournalFile(folder_, static_cast<int>(w)));
            if (!file.open(QIODevice::ReadOnly) || !file.seek(offsets_[w]))
                continue;
            const QByteArray more = file.readAll();
            offsets_[w] += more.size();
            partial_[w] += more;
            qsizetype end;
            while ((end = partial_[w].indexOf('\n')) >= 0) {
                const QString line = QString::fromUtf8(partial_[w].left(end));
                partial_[w].remove(0, end + 1);
                const auto entry = crash::ParseEntry(line);
                if (!entry) {
                    Failure(
                        QStringLiteral("worker %1: unreadable journal line: %2").arg(w).arg(line));
                    continue;
                }
                QStringList found;
                models_[w].Feed(*entry, &found);
                for (const QString& text : found)
                    Failure(
                        QStringLiteral("start %1, worker %2: %3").arg(entry->gen).arg(w).arg(text));
            }
            if (workers_[w]->state() == QProcess::NotRunning &&
                !QFile::exists(crash::StopFile(folder_)) &&
                !reportedDead_.contains(static_cast<int>(w))) {
                reportedDead_.insert(static_cast<int>(w));
                Failure(QStringLiteral("worker %1 ended before the run was over (exit code %2)")
                            .arg(w)
                            .arg(workers_[w]->exitCode()));
                aborted_ = true;
            }
        }
    }

    void PumpFor(int ms) {
        QElapsedTimer waited;
        waited.start();
        while (waited.elapsed() < ms && !aborted_) {
            Pump();
            QThread::msleep(5);
        }
    }

    // Waits until the condition holds for every worker.
    void WaitFor(const std::function<bool(int)>& done, int ms, const QString& what) {
        QElapsedTimer waited;
        waited.start();
        while (!aborted_) {
            Pump();
            bool all = true;
            for (int w = 0; w < static_cast<int>(workers_.size()) && all; ++w)
                all = done(w);
            if (all)
                return;
            if (waited.elapsed() > ms) {
                Failure(QStringLiteral("start %1: waited %2 s for %3")
                            .arg(gen_)
                            .arg(ms / 1000)
                            .arg(what));
                aborted_ = true;
                return;
            }
            QThread::msleep(5);
        }
    }

    crash::Observation Observe(const QString& user, const QStringList& names) {
        crash::Observation seen;
        // The service tells nobody which page name an account holds; the database file does.
        const auto row = PageNameOfRow(user);
        if (!row) {
            seen.answered = false;
            seen.problem = QStringLiteral("the row of %1 in the database").arg(user);
            return seen;
        }
        seen.registered = row->has_value();
        seen.row = row->value_or(QString());
        for (const QString& name : names) {
            const HttpResult page = HttpGet(service::PageAddress(name));
            if (page.status == 0) {
                seen.answered = false;
                seen.problem = QStringLiteral("GET /love/") + name;
                return seen;
            }
            seen.status[name] = page.status;
            if (page.status == 200)
                seen.hash[name] = crash::PageHash(page.body);
        }
        return seen;
    }

    // Everything the workers were told is there: the accounts, and the database file.
    void Check(const QString& when) {
        ++checks_;
        int bad = 0;
        for (size_t w = 0; w < models_.size(); ++w) {
            const crash::WorkerModel& model = models_[w];
            const QStringList names = model.Names();
            const crash::Observation seen = Observe(crash::WorkerUser(static_cast<int>(w)), names);
            QString first;
            const crash::AccountState* matched = nullptr;
            const auto possible = model.Possible();
            for (const crash::AccountState& state : possible) {
                const QString difference = crash::Difference(state, seen, names);
                if (difference.isEmpty()) {
                    matched = &state;
                    break;
                }
                if (first.isEmpty())
                    first = difference;
            }
            if (!matched) {
                ++bad;
                Failure(QStringLiteral("%1, worker %2: %3 (acknowledged: %4%5)")
                            .arg(when)
                            .arg(w)
                            .arg(first, model.Acknowledged().Text(),
                                 model.Unknown()
                                     ? QStringLiteral("; unknown: ") + model.Unknown()->Text()
                                     : QString()));
                continue;
            }
            ++rowsCompared_;
            if (!matched->pageAt.isEmpty())
                ++pagesCompared_;
            absentCompared_ += static_cast<int>(names.size()) - (matched->pageAt.isEmpty() ? 0 : 1);
        }
        checkedAcknowledged_ = AcknowledgedTotal();
        IntegrityCheck(when);
        if (bad == 0)
            Print(QStringLiteral("  %1: every account as acknowledged").arg(when));
    }

    // The 文件名 of the account's row (nullopt inside when there is no row), read from the
    // database beside the running service; nullopt when the file could not be read.
    std::optional<std::optional<QString>> PageNameOfRow(const QString& user) {
        const QString name = QStringLiteral("zr-crash-row");
        std::optional<std::optional<QString>> result;
        {
            QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
            db.setDatabaseName(database_);
            db.setConnectOptions(
                QStringLiteral("QSQLITE_BUSY_TIMEOUT=10000;QSQLITE_OPEN_READONLY"));
            if (db.open()) {
                QSqlQuery query(db);
                query.prepare(QStringLiteral("SELECT 文件名 FROM 用户管理 WHERE 用户=?"));
                query.addBindValue(user);
                if (query.exec()) {
                    result.emplace();
                    if (query.next())
                        *result = query.value(0).toString();
                }
            }
            db.close();
        }
        QSqlDatabase::removeDatabase(name);
        return result;
    }

    void IntegrityCheck(const QString& when) {
        ++integrityChecks_;
        const QString name = QStringLiteral("zr-crash-check-%1").arg(integrityChecks_);
        QStringList rows;
        QString error;
        {
            QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
            db.setDatabaseName(database_);
            db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=10000"));
            if (db.open()) {
                QSqlQuery query(db);
                if (query.exec(QStringLiteral("PRAGMA integrity_check"))) {
                    while (query.next())
                        rows << query.value(0).toString();
                } else {
                    error = query.lastError().text();
                }
            } else {
                error = db.lastError().text();
            }
            db.close();
        }
        QSqlDatabase::removeDatabase(name);
        if (rows == QStringList{QStringLiteral("ok")}) {
            ++integrityOk_;
        } else {
            Failure(QStringLiteral("%1: PRAGMA integrity_check says %2")
                        .arg(when,
                             error.isEmpty() ? rows.join(QStringLiteral("; ")).left(500) : error));
        }
    }

    void Damage() {
        const QString name = QStringLiteral("zr-crash-damage");
        bool done = false;
        {
            QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
            db.setDatabaseName(database_);
            if (db.open()) {
                QSqlQuery query(db);
                if (options_.damage == QLatin1String("page")) {
                    done = query.exec(QStringLiteral(
                               "UPDATE pages SET content = content || X'20' WHERE rowid = "
                               "(SELECT min(rowid) FROM pages)")) &&
                           query.numRowsAffected() == 1;
                } else {
                    done = query.exec(QStringLiteral("DELETE FROM sessions")) &&
                           query.numRowsAffected() > 0;
                }
            }
            db.close();
        }
        QSqlDatabase::removeDatabase(name);
        Print(QStringLiteral("damaged the database behind the service's back: %1")
                  .arg(done ? options_.damage : QStringLiteral("nothing to damage")));
    }

    int AcknowledgedTotal() const {
        int total = 0;
        for (const auto& model : models_) {
            for (int count : model.acknowledged)
                total += count;
        }
        return total;
    }
    int InFlightTotal() const {
        int total = 0;
        for (const auto& model : models_)
            total += model.unknownWrites;
        return total;
    }

    void Failure(const QString& text) {
        failures_ << text;
        Print(QStringLiteral("FAILURE ") + text);
    }

    void Summary(qint64 ms) {
        QMap<OpKind, int> acked;
        int unknown = 0, cut = 0, done = 0, notDone = 0, noTrace = 0, sessions = 0;
        for (const auto& model : models_) {
            for (auto it = model.acknowledged.begin(); it != model.acknowledged.end(); ++it)
                acked[it.key()] += it.value();
            unknown += model.unknownWrites;
            cut += model.cutAnswers;
            done += model.unknownDone;
            notDone += model.unknownNotDone;
            noTrace += model.unknownNoTrace;
            sessions += model.sessionsKept;
        }
        Print(QStringLiteral("summary: %1 cycles (kill -9 and restart), %2 workers, seed %3, %4 s")
                  .arg(gen_ - 1)
                  .arg(options_.workers)
                  .arg(options_.seed)
                  .arg(static_cast<double>(ms) / 1000.0, 0, 'f', 1));
        Print(QStringLiteral("acknowledged writes checked: %1 (registrations %2, sign-ins %3, "
                             "page names claimed %4, uploads %5, row renames %6, page renames %7)")
                  .arg(checkedAcknowledged_)
                  .arg(acked.value(OpKind::Register))
                  .arg(acked.value(OpKind::SignIn))
                  .arg(acked.value(OpKind::Claim))
                  .arg(acked.value(OpKind::Upload))
                  .arg(acked.value(OpKind::RenameRow))
                  .arg(acked.value(OpKind::Move)));
        Print(QStringLiteral("writes without an answer at a kill: %1 (found done %2, not done %3, "
                             "sign-ins %4); of them with an answer cut short that the client's "
                             "network code took for whole: %5")
                  .arg(unknown)
                  .arg(done)
                  .arg(notDone)
                  .arg(noTrace)
                  .arg(cut));
        Print(QStringLiteral("checks: %1; account rows %2, pages compared byte for byte %3, "
                             "other page names answering 404: %4; integrity_check ok %5 of %6")
                  .arg(checks_)
                  .arg(rowsCompared_)
                  .arg(pagesCompared_)
                  .arg(absentCompared_)
                  .arg(integrityOk_)
                  .arg(integrityChecks_));
        Print(QStringLiteral("sessions kept across a restart (next write answered OK): %1")
                  .arg(sessions));
        Print(QStringLiteral("failures: %1").arg(failures_.size()));
    }

    const Options options_;
    QRandomGenerator random_;
    std::unique_ptr<QTemporaryDir> temporaryFolder_;
    QString folder_;
    QString database_;
    QString log_;

    std::unique_ptr<QProcess> service_;
    int gen_ = 0;
    QString url_;

    std::vector<std::unique_ptr<QProcess>> workers_;
    std::vector<crash::WorkerModel> models_;
    std::vector<qint64> offsets_;
    std::vector<QByteArray> partial_;
    QSet<int> reportedDead_;

    QStringList failures_;
    bool aborted_ = false;
    int checks_ = 0;
    int rowsCompared_ = 0;
    int pagesCompared_ = 0;
    int absentCompared_ = 0;
    int integrityChecks_ = 0;
    int integrityOk_ = 0;
    int checkedAcknowledged_ = 0;
};

int Usage() {
    std::fputs(
        "usage: zr-crash-cycles [--cycles N] [--workers N] [--seed N] [--delay MIN-MAX]\n"
        "                       [--work DIR] [--service-bin PATH] [--damage page|sessions]\n"
        "  --cycles N          kills and restarts of the service (20)\n"
        "  --workers N         client processes (4)\n"
        "  --seed N            seed of the delays and of the clients' choices (random)\n"
        "  --delay MIN-MAX     milliseconds from the clients' first answers to the kill\n"
        "                      (100-1500)\n"
        "  --work DIR          keep the database, the service log and the journals in DIR\n"
        "  --service-bin PATH  the zenri-service to test (the one of this build)\n"
        "  --damage KIND       change one page's bytes or drop every session after the first\n"
        "                      kill, to see the checks fail\n",
        stderr);
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    Options options;
    options.seed = QRandomGenerator::system()->bounded(1000000u);
    int worker = -1;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString& arg = args[i];
        const bool hasValue = i + 1 < args.size();
        const QString value = hasValue ? args[i + 1] : QString();
        bool ok = hasValue;
        if (arg == QLatin1String("--cycles")) {
            options.cycles = value.toInt(&ok);
            ok = ok && options.cycles >= 1;
        } else if (arg == QLatin1String("--workers")) {
            options.workers = value.toInt(&ok);
            ok = ok && options.workers >= 1;
        } else if (arg == QLatin1String("--seed")) {
            options.seed = value.toULongLong(&ok);
        } else if (arg == QLatin1String("--delay")) {
            const QStringList range = value.split(QLatin1Char('-'));
            bool first = false, second = false;
            options.minDelayMs = range.value(0).toInt(&first);
            options.maxDelayMs = range.value(1).toInt(&second);
            ok = range.size() == 2 && first && second && options.minDelayMs >= 0 &&
                 options.maxDelayMs >= options.minDelayMs;
        } else if (arg == QLatin1String("--work")) {
            options.work = value;
        } else if (arg == QLatin1String("--service-bin")) {
            options.serviceBin = value;
        } else if (arg == QLatin1String("--damage")) {
            options.damage = value;
            ok = value == QLatin1String("page") || value == QLatin1String("sessions");
        } else if (arg == QLatin1String("--help") || arg == QLatin1String("-h")) {
            Usage();
            return 0;
        } else if (arg == QLatin1String("--worker")) {
            worker = value.toInt(&ok);
        } else {
            ok = false;
        }
        if (!ok)
            return Usage();
        ++i;
    }
    if (worker >= 0) {
        if (options.work.isEmpty())
            return Usage();
        return crash::RunWorker(worker, options.work, options.seed);
    }
    return Driver(options).Run();
}
