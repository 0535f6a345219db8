#include "RequestLog.h"

#include <chrono>
#include <cstdio>
#include <ctime>

namespace server {
namespace {

QString Hex(char16_t unit, int digits) {
    return QString::number(unit, 16).toUpper().rightJustified(digits, QLatin1Char('0'));
}

// Every field may hold what a request brought. Line breaks, control characters (a tab, a
// terminal's escape sequences) and the Unicode line separators are written as escapes, so
// that one request stays one line and the log shows what came.
QString Printable(const QString& text) {
    QString out;
    out.reserve(text.size());
    for (QChar c : text) {
        const char16_t u = c.unicode();
        if (u == u'\n') {
            out += QLatin1String("\\n");
        } else if (u == u'\r') {
            out += QLatin1String("\\r");
        } else if (c.category() == QChar::Other_Control) {
            out += QLatin1String("\\x") + Hex(u, 2);
        } else if (u == 0x2028 || u == 0x2029) {
            out += QLatin1String("\\u") + Hex(u, 4);
        } else {
            out += c;
        }
    }
    return out;
}

}  // namespace

QString FormatLogLine(const LogEntry& e) {
    QString outcome = e.outcome;
    outcome.replace(QLatin1Char('\\'), QLatin1String("\\\\"));
    outcome.replace(QLatin1Char('"'), QLatin1String("\\\""));
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
