#include "RequestLog.h"

#include "InputRules.h"

#include <chrono>
#include <cstdio>
#include <ctime>

namespace server {
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
    std::tm local{};
    localtime_r(&seconds, &local);
    char text[96];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d.%03d", local.tm_year + 1900,
                  local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec,
                  static_cast<int>(millis));
    return QString::fromLatin1(text);
}

void RequestLog::Write(const LogEntry& entry) {
    const QByteArray line = FormatLogLine(entry).toUtf8() + '\n';
    std::lock_guard lock(mutex_);
    std::fwrite(line.constData(), 1, static_cast<size_t>(line.size()), out_);
    std::fflush(out_);
}

}  // namespace server
