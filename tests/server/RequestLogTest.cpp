// What a request brings into the log line stays inside its field.

#include "server/RequestLog.h"

#include <QByteArray>
#include <QList>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

using server::FormatLogLine;
using server::LogEntry;

namespace {

// The line as UTF-8, so that a failure shows it as text.
std::string Line(const LogEntry& entry) {
    return FormatLogLine(entry).toStdString();
}

LogEntry Entry(const QString& what, const QString& outcome) {
    LogEntry entry;
    entry.time = QStringLiteral("2026-01-31 20:15:02.117");
    entry.client = QStringLiteral("127.0.0.1");
    entry.what = what;
    entry.outcome = outcome;
    entry.status = 400;
    entry.milliseconds = 0.5;
    return entry;
}

// Percent signs come with every escaped request target ("%0D", "%2F") and with refused
// statements; none of them may take the place of the status or the duration.
TEST(RequestLogLine, PercentSignsInFieldsStayAsTheyCame) {
    EXPECT_EQ(Line(Entry(QStringLiteral("GET /love/%22%0D%0A"), QStringLiteral("BADNAME page"))),
              "2026-01-31 20:15:02.117 127.0.0.1 GET /love/%22%0D%0A "
              "\"BADNAME page\" 400 0.50ms");
    EXPECT_EQ(
        Line(Entry(QStringLiteral("zc=1"), QStringLiteral("REFUSED unknown statement: %1 %2F %5"))),
        "2026-01-31 20:15:02.117 127.0.0.1 zc=1 "
        "\"REFUSED unknown statement: %1 %2F %5\" 400 0.50ms");
}

// "%01" and "%%" as a request brings them ("GET /healthz?%01" was once logged as
// "GET /healthz?200 ..."), in every field of the line.
TEST(RequestLogLine, PlaceholderLikeSequencesInEveryFieldStayAsTheyCame) {
    EXPECT_EQ(Line(Entry(QStringLiteral("GET /healthz?%01"), QStringLiteral("healthy"))),
              "2026-01-31 20:15:02.117 127.0.0.1 GET /healthz?%01 \"healthy\" 400 0.50ms");
    EXPECT_EQ(Line(Entry(QStringLiteral("GET /?%%"), QStringLiteral("REFUSED %% %01 %1%2"))),
              "2026-01-31 20:15:02.117 127.0.0.1 GET /?%% \"REFUSED %% %01 %1%2\" 400 0.50ms");
    LogEntry entry = Entry(QStringLiteral("%3 %04"), QStringLiteral("%5%%6"));
    entry.time = QStringLiteral("%1");
    entry.client = QStringLiteral("%%2");
    EXPECT_EQ(Line(entry), "%1 %%2 %3 %04 \"%5%%6\" 400 0.50ms");
}

TEST(RequestLogLine, QuotesAndLineBreaksOfTheOutcomeAreEscaped) {
    EXPECT_EQ(Line(Entry(QStringLiteral("zc=?"), QStringLiteral("a \"b\" \\ c\r\nd"))),
              "2026-01-31 20:15:02.117 127.0.0.1 zc=? \"a \\\"b\\\" \\\\ c\\r\\nd\" "
              "400 0.50ms");
}

// A refused statement's shape or a client's field may hold any character; a tab, a terminal's
// escape sequence or a Unicode line separator must not reach the log as it is.
TEST(RequestLogLine, ControlCharactersOfEveryFieldAreEscaped) {
    LogEntry entry = Entry(QStringLiteral("GET\t/"),
                           QStringLiteral("REFUSED unknown statement: a\tb\x1b[31mc\x7f") +
                               QChar(0x85) + QChar(0x2028) + QStringLiteral("表白"));
    entry.time = QStringLiteral("2026-01-31\b");
    entry.client = QStringLiteral("::1") + QChar(0x2029);
    EXPECT_EQ(Line(entry),
              "2026-01-31\\x08 ::1\\u2029 GET\\x09/ "
              "\"REFUSED unknown statement: a\\x09b\\x1B[31mc\\x7F\\x85\\u2028表白\" 400 0.50ms");
}

}  // namespace

namespace {

server::LogEntry Entry(int status) {
    server::LogEntry e;
    e.time = server::LogTimestamp();
    e.client = "127.0.0.1";
    e.what = "zc=1";
    e.outcome = "select-system-settings";
    e.status = status;
    e.milliseconds = 0.5;
    return e;
}

// The log goes to a file (standard error sent to one), a pipe, or a stream in memory: each
// entry is one whole line on every kind, in the order written, also from several threads.
TEST(RequestLog, WritesWholeLinesToAFileAndToAStreamInMemory) {
    std::FILE* file = std::tmpfile();
    ASSERT_NE(file, nullptr);
    char* buffer = nullptr;
    size_t length = 0;
    std::FILE* memory = open_memstream(&buffer, &length);
    ASSERT_NE(memory, nullptr);
    {
        server::RequestLog toFile(file), toMemory(memory);
        std::vector<std::thread> writers;
        for (int t = 0; t < 4; ++t) {
            writers.emplace_back([&, t] {
                for (int i = 0; i < 250; ++i) {
                    toFile.Write(Entry(200 + t));
                    toMemory.Write(Entry(200 + t));
                }
            });
        }
        for (auto& w : writers)
            w.join();
    }
    std::fclose(memory);
    const QByteArray inMemory(buffer, static_cast<qsizetype>(length));
    std::free(buffer);
    std::rewind(file);
    QByteArray inFile;
    char chunk[4096];
    for (size_t n; (n = std::fread(chunk, 1, sizeof chunk, file)) > 0;)
        inFile.append(chunk, static_cast<qsizetype>(n));
    std::fclose(file);

    for (const QByteArray& log : {inFile, inMemory}) {
        const QList<QByteArray> lines = log.split('\n');
        ASSERT_EQ(lines.size(), 1001);  // 1000 lines and what follows the last break
        EXPECT_TRUE(lines.last().isEmpty());
        for (qsizetype i = 0; i < 1000; ++i) {
            EXPECT_TRUE(lines[i].contains(" 127.0.0.1 zc=1 \"select-system-settings\" 20"))
                << lines[i].toStdString();
            EXPECT_TRUE(lines[i].endsWith(" 0.50ms")) << lines[i].toStdString();
        }
    }
}

}  // namespace
