#pragma once
// One line per request on the service's log (standard error):
//   2026-01-31 20:15:02.117 127.0.0.1 zc=1 "select-system-settings" 200 0.41ms
// time, client address, command code (or method and target), statement shape name or refusal
// reason, HTTP status, duration.

#include <QString>

#include <cstdio>
#include <mutex>

namespace server {

struct LogEntry {
    QString time;  // LogTimestamp()
    QString client;
    QString what;     // "zc=1", or "GET /love/abc"
    QString outcome;  // shape name, or refusal word and reason
    int status = 0;
    double milliseconds = 0;
};

QString FormatLogLine(const LogEntry& entry);

// The local time now as "YYYY-MM-DD HH:MM:SS.mmm". Cheaper than QDateTime's local time, which
// re-reads the time zone on every call.
QString LogTimestamp();

class RequestLog {
public:
    explicit RequestLog(std::FILE* out) : out_(out) {}
    void Write(const LogEntry& entry);

private:
    std::FILE* out_;
    std::mutex mutex_;
};

}  // namespace server
