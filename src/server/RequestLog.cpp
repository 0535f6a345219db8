#include "server/RequestLog.h"

#include "server/InputRules.h"

#include <cerrno>
#include <chrono>
#include <climits>
#include <cstdio>
#include <ctime>

#include <unistd.h>

namespace server {
namespace {

void WriteAll(int fd, const QByteArray& bytes) {
    const char* at = bytes.constData();
    qsizetype left = bytes.size();
    while (left > 0) {
        const ssize_t written = ::write(fd, at, static_cast<size_t>(left));
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return;  // the log is gone (a closed pipe): requests go on without it
        at += written;
        left -= written;
    }
}

}  // namespace

QString FormatLogLine(const LogEntry& e) {
    QString outcome = e.outcome;
    outcome.replace(QLatin1Char('\\'), QLatin1String("\\\\"));
    outcome.replace(QLatin1Char('"'), QLatin1String("\\\""));
    // Every field may hold what a request brought: Printable keeps it one field of one line.
    // One pass over the pattern: a second arg() would take a "%0" or "%2F" of an escaped
    // request target, or a "%1" of a refused statement, for its own place.
    return QStringLiteral("%1 %2 %3 \"%4\" %5 %6ms")
        .arg(Printable(e.time), Printable(e.client), Printable(e.what), Printable(outcome),
             QString::number(e.status), QString::number(e.milliseconds, 'f', 2));
}

QString LogTimestamp() {
    const auto now = std::chrono::system_clock::now();
    const std::time_t seconds = std::chrono::system_clock::to_time_t(now);
    const auto millis =
        std::chrono::duration_cast<std::chrono::milliseconds>(now.time_since_epoch()).count() %
        1000;
    // The local time of a second is worked out once per thread: localtime_r takes the C
    // library's time-zone lock, which every request of every thread would otherwise wait on.
    thread_local std::time_t cachedSecond = -1;
    thread_local char cachedText[64];
    if (seconds != cachedSecond) {
        std::tm local{};
        localtime_r(&seconds, &local);
        std::snprintf(cachedText, sizeof cachedText, "%04d-%02d-%02d %02d:%02d:%02d",
                      local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour,
                      local.tm_min, local.tm_sec);
        cachedSecond = seconds;
    }
    char text[80];
    std::snprintf(text, sizeof text, "%s.%03d", cachedText, static_cast<int>(millis));
    return QString::fromLatin1(text);
}

void RequestLog::Write(const LogEntry& entry) {
    const QByteArray line = FormatLogLine(entry).toUtf8() + '\n';
    // One write per line, without a lock: the kernel keeps a write of a line whole (a pipe
    // up to PIPE_BUF bytes, a file at its own position). Longer lines, rare, wait for each
    // other, so that two of them never interleave on a pipe.
    const int fd = fileno(out_);
    if (fd < 0) {
        // A stream without a file (one in memory): through the stream, one line at a time.
        std::lock_guard lock(mutex_);
        std::fwrite(line.constData(), 1, static_cast<size_t>(line.size()), out_);
        std::fflush(out_);
        return;
    }
    if (line.size() > PIPE_BUF) {
        std::lock_guard lock(mutex_);
        WriteAll(fd, line);
        return;
    }
    WriteAll(fd, line);
}

}  // namespace server
