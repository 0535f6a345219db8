#include "ServiceProcess.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QUrl>

namespace {

// Generous: the sanitizer build starts and answers several times slower.
constexpr int kStartMs = 30000;
constexpr int kStopMs = 30000;
constexpr int kCommandMs = 60000;

}  // namespace

ServiceProcess::ServiceProcess() : ServiceProcess(Options()) {}

ServiceProcess::ServiceProcess(Options options) : options_(std::move(options)) {
    if (options_.shareWith) {
        databasePath_ = options_.shareWith->databasePath_;
        initialised_ = true;
    } else {
        database_ = std::make_unique<TestDatabase>(options_.store);
        databasePath_ = database_->Location();
    }
    logPath_ = folder_.filePath(QStringLiteral("service.log"));
}

ServiceProcess::~ServiceProcess() {
    if (IsRunning())
        Stop();
}

QString ServiceProcess::ProgramPath() {
    return QStringLiteral(ZR_SERVICE_BINARY);
}

bool ServiceProcess::Start() {
    error_.clear();
    if (!folder_.isValid()) {
        error_ = QStringLiteral("no temporary folder");
        return false;
    }
    if (database_ && !database_->Ready()) {
        error_ = database_->Error();
        return false;
    }
    if (!initialised_) {
        QStringList init{QStringLiteral("init"), QStringLiteral("--hash-cost"), options_.hashCost};
        if (options_.demo)
            init << QStringLiteral("--demo");
        const CommandResult result = RunCommand(init);
        if (result.exitCode != 0) {
            error_ = QStringLiteral("init failed (%1): %2").arg(result.exitCode).arg(result.output);
            return false;
        }
        initialised_ = true;
    }
    return Launch();
}

bool ServiceProcess::Launch() {
    process_ = std::make_unique<QProcess>();
    process_->setProgram(ProgramPath());
    QStringList args{QStringLiteral("serve"),
                     QStringLiteral("--listen"),
                     QStringLiteral("127.0.0.1:%1").arg(port_),
                     QStringLiteral("--db"),
                     databasePath_,
                     QStringLiteral("--hash-cost"),
                     options_.hashCost,
                     QStringLiteral("--signin-limit"),
                     QString::number(options_.signInPerMinute),
                     QStringLiteral("--register-limit"),
                     QString::number(options_.registrationPerMinute),
                     QStringLiteral("--lookup-limit"),
                     QString::number(options_.lookupsPerMinute),
                     QStringLiteral("--failure-limit"),
                     QString::number(options_.failuresPerAddress)};
    // The site folder of this source tree, wherever the build folder is.
    if (!options_.extraArguments.contains(QStringLiteral("--site")))
        args << QStringLiteral("--site") << QStringLiteral(ZR_SITE_FOLDER);
    args << options_.extraArguments;
    process_->setArguments(args);
    process_->setStandardErrorFile(logPath_, QIODevice::Append);
    process_->start();
    if (!process_->waitForStarted(kStartMs)) {
        error_ = QStringLiteral("cannot start %1: %2").arg(ProgramPath(), process_->errorString());
        return false;
    }
    static const QRegularExpression listening(QStringLiteral("listening on (http://\\S+)"));
    QByteArray output;
    QDeadlineTimer deadline(kStartMs);
    while (!deadline.hasExpired()) {
        const auto match = listening.match(QString::fromUtf8(output));
        if (match.hasMatch()) {
            url_ = match.captured(1);
            return true;
        }
        if (process_->state() != QProcess::Running)
            break;
        process_->waitForReadyRead(static_cast<int>(deadline.remainingTime()));
        output += process_->readAllStandardOutput();
    }
    error_ = QStringLiteral("the service did not report its address; output: %1 %2")
                 .arg(QString::fromUtf8(output), ErrorOutput());
    Kill();
    return false;
}

bool ServiceProcess::Stop() {
    if (!process_)
        return false;
    if (process_->state() == QProcess::NotRunning)
        return process_->exitCode() == 0;
    process_->terminate();
    if (!process_->waitForFinished(kStopMs)) {
        Kill();
        return false;
    }
    return process_->exitStatus() == QProcess::NormalExit && process_->exitCode() == 0;
}

void ServiceProcess::Kill() {
    if (!process_ || process_->state() == QProcess::NotRunning)
        return;
    process_->kill();
    process_->waitForFinished(kStopMs);
}

bool ServiceProcess::Restart() {
    if (IsRunning())
        Stop();
    return Start();
}

bool ServiceProcess::RestartOnSamePort() {
    port_ = QUrl(url_).port(0);
    const bool started = Restart();
    port_ = 0;
    return started;
}

qint64 ServiceProcess::Pid() const {
    return IsRunning() ? process_->processId() : 0;
}

double ServiceProcess::ResidentMegabytes() const {
    QFile status(QStringLiteral("/proc/%1/status").arg(Pid()));
    if (!Pid() || !status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').value(0).toDouble() / 1024.0;
    }
    return 0;
}

bool ServiceProcess::IsRunning() const {
    return process_ && process_->state() == QProcess::Running;
}

ServiceProcess::CommandResult ServiceProcess::RunCommand(const QStringList& arguments) const {
    QProcess command;
    command.setProcessChannelMode(QProcess::MergedChannels);
    command.start(ProgramPath(), QStringList(arguments) << QStringLiteral("--db") << databasePath_);
    CommandResult result;
    if (!command.waitForFinished(kCommandMs)) {
        command.kill();
        command.waitForFinished();
        result.output = QStringLiteral("did not finish");
        return result;
    }
    result.exitCode = command.exitStatus() == QProcess::NormalExit ? command.exitCode() : -1;
    result.output = QString::fromUtf8(command.readAll());
    return result;
}

QString ServiceProcess::ErrorOutput() const {
    QFile file(logPath_);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(file.readAll());
}

QStringList ServiceProcess::LogLines() const {
    static const QRegularExpression stamp(
        QStringLiteral("^\\d{4}-\\d\\d-\\d\\d \\d\\d:\\d\\d:\\d\\d\\.\\d{3} "));
    QStringList lines;
    for (const QString& line : ErrorOutput().split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
        if (stamp.match(line).hasMatch())
            lines << line;
    }
    return lines;
}

bool ServiceProcess::LogContains(const QString& text) const {
    for (const QString& line : LogLines()) {
        if (line.contains(text))
            return true;
    }
    return false;
}

std::vector<QStringList> ServiceProcess::Query(const QString& sql) const {
    const TestDatabase* db =
        options_.shareWith ? options_.shareWith->database_.get() : database_.get();
    return db ? db->Query(sql) : std::vector<QStringList>{};
}
