#pragma once
// What the service reads itself from a request's head, beyond what libmicrohttpd checks: plain
// functions of the bytes that came, so that they are tested and fuzzed without a connection.
//
//   ReadFraming(fields)          whether a head says unambiguously how long its body is, and
//                                the length it declares
//   DeclaredLength(value)        a Content-Length value as a number
//   TargetRefusal(target)        whether a request target is one the service will not read
//   ParseRange(header, size)     the one byte range a Range header asks of a file
//   AnswerForFile(...)           304, 200, 206 or 416: what the conditional and range headers
//                                of a request make of a file
//   FileTag(size, mtime), HttpDate(seconds)   a file's ETag and Last-Modified
//   IsUsableHost(host)           whether a Host header may become part of reply addresses
//   SessionTokenFromCookies(h)   the session token of a Cookie header
//   PrintableTarget(target)      the request target as the log shows it
//
// A proxy in front of the service reads the same head. Wherever the two could read it
// differently (two lengths, a blank before a colon, a folded line), the head is refused
// rather than read one way here and another way there.

#include <QString>
#include <QtGlobal>

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace server {

// One header of a head, as the library handed it over.
struct HeaderField {
    std::string_view name;
    std::string_view value;
    // False when the header was put together from several lines (an obsolete line folding):
    // readers of the head differ on what such a header says.
    bool oneLine = true;
    // False when the value went on past a NUL at which the library stopped it.
    bool wholeValue = true;
};

// How a request's body is delimited.
struct Framing {
    // Why the head is refused (HTTP 400); nothing when its framing is taken.
    std::optional<QString> refusal;
    // The Content-Length when there is one and the framing is taken.
    std::optional<unsigned long long> declaredLength;
    bool chunked = false;
};

// Takes a head whose header names are all tokens, which has no folded line, no NUL or CR in a
// value, at most one Host, at most one Content-Length (a decimal number), and no
// Transfer-Encoding other than a lone "chunked" without a Content-Length beside it.
Framing ReadFraming(const std::vector<HeaderField>& fields);

// The decimal number of a Content-Length value: one or more ASCII digits, nothing else, at
// most the largest unsigned long long.
std::optional<unsigned long long> DeclaredLength(std::string_view value);

// Why the service will not read a request target as it came, or nothing: a NUL written as
// %00 (the path would end there for the library, and ".mp3%00.txt" be served as ".mp3"), or a
// blank or control character, which no client puts in a target.
std::optional<QString> TargetRefusal(std::string_view target);

// One byte range of a file: "bytes=FIRST-LAST", "bytes=FIRST-" or "bytes=-SUFFIX". Nothing for
// a header this service does not take apart (several ranges, any other form), which gets the
// whole file. A range that starts at or past the end of the file is not satisfiable (416).
struct ByteRange {
    qint64 first = 0, last = 0;  // both within the file when satisfiable
    bool satisfiable = true;
};
std::optional<ByteRange> ParseRange(std::string_view header, qint64 size);

// What to answer a request for a file of `size` bytes with the tag `etag` (as FileTag makes
// it) and the Last-Modified `lastModified`, given the request's If-None-Match, Range and
// If-Range headers (empty when absent). A Range counts only without If-Range or with an
// If-Range that names this very file (its tag, or its date); otherwise the whole file is sent.
struct FilePart {
    int status = 200;  // 200, 206, 304 or 416
    qint64 first = 0, length = 0;
};
FilePart AnswerForFile(qint64 size, std::string_view etag, std::string_view lastModified,
                       std::string_view ifNoneMatch, std::string_view range,
                       std::string_view ifRange);

// A file's tag: its size and the time it was last written, as a strong ETag ("\"SIZE-TIME\"").
std::string FileTag(qint64 size, qint64 modifiedSeconds);
// A time as HTTP writes it: "Thu, 10 Dec 2026 14:52:19 GMT".
std::string HttpDate(qint64 secondsSinceEpoch);

// A Host header that may stand in the addresses the service puts in its replies: 1 to 255
// letters, digits, dots, hyphens, colons and the brackets of an IPv6 address.
bool IsUsableHost(std::string_view host);

// The token from a Cookie request header, or the empty text. A token that is not 64 small
// hexadecimal digits is ignored.
QString SessionTokenFromCookies(std::string_view cookieHeader);

// The first 200 bytes of a request target, with every byte that is not printable ASCII (and the
// quote, which delimits the next field of a log line) written as %XX.
QString PrintableTarget(std::string_view target);

}  // namespace server
