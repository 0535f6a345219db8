// Fuzzes the service's request log line: whatever a request brings into the fields of an
// entry (client address, method and target, a refused statement's shape) is written as one
// line of the log.
//
// Properties: the line written holds no control character and no line break but the one at
// its end, and it ends with the entry's status and duration.

#include "FuzzSupport.h"
#include "server/RequestLog.h"

#include <QStringList>

#include <cstdio>
#include <cstdlib>

namespace {

// Control characters (C0, DEL, C1) and the Unicode line and paragraph separators.
bool BreaksTheLine(QChar c) {
    return c.category() == QChar::Other_Control || c.unicode() == 0x2028 || c.unicode() == 0x2029;
}

QByteArray Written(const server::LogEntry& entry) {
    char* buffer = nullptr;
    size_t length = 0;
    std::FILE* out = open_memstream(&buffer, &length);
    FUZZ_CHECK(out != nullptr);
    {
        server::RequestLog log(out);
        log.Write(entry);
    }
    std::fclose(out);
    QByteArray line(buffer, static_cast<qsizetype>(length));
    std::free(buffer);
    return line;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // The fields one after the other, each ended by a NUL: time, client, what, outcome,
    // status, duration.
    const QStringList pieces = QString::fromUtf8(fuzz::BytesOf(data, size)).split(QChar(u'\0'));
    const auto piece = [&](qsizetype i) { return i < pieces.size() ? pieces[i] : QString(); };
    server::LogEntry entry;
    entry.time = piece(0);
    entry.client = piece(1);
    entry.what = piece(2);
    entry.outcome = piece(3);
    entry.status = piece(4).toInt();
    entry.milliseconds = piece(5).toDouble();

    const QByteArray line = Written(entry);
    FUZZ_CHECK(line.endsWith('\n') && line.count('\n') == 1);
    const QString text = QString::fromUtf8(line.chopped(1));
    for (QChar c : text)
        FUZZ_CHECK(!BreaksTheLine(c));
    const QString tail =
        QStringLiteral("\" %1 %2ms").arg(entry.status).arg(entry.milliseconds, 0, 'f', 2);
    FUZZ_CHECK(text.endsWith(tail));
    FUZZ_CHECK(server::FormatLogLine(entry) == text);
    return 0;
}
