#pragma once
// What the service reads itself from a request's head, beyond what libmicrohttpd checks: plain
// functions of the bytes that came, so that they are tested and fuzzed without a connection.
//
//   ReadFraming(fields)          whether a head says unambiguously how long its body is, and
//                                the length it declares
//   DeclaredLength(value)        a Content-Length value as a number
//   ParseRange(header, size)     the one byte range a Range header asks of a file
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
};

// How a request's body is delimited.
struct Framing {
    // Why the head is refused (HTTP 400); nothing when its framing is taken.
    std::optional<QString> refusal;
    // The Content-Length when there is one and the framing is taken.
    std::optional<unsigned long long> declaredLength;
    bool chunked = false;
};

// Takes a head whose header names are all tokens, which has no folded line, at most one
// Content-Length (a decimal number), and no Transfer-Encoding other than a lone "chunked"
// without a Content-Length beside it.
Framing ReadFraming(const std::vector<HeaderField>& fields);

// The decimal number of a Content-Length value: one or more ASCII digits, nothing else, at
// most the largest unsigned long long.
std::optional<unsigned long long> DeclaredLength(std::string_view value);

// One byte range of a file: "bytes=FIRST-LAST", "bytes=FIRST-" or "bytes=-SUFFIX". Nothing for
// a header this service does not take apart (several ranges, any other form), which gets the
// whole file. A range that starts at or past the end of the file is not satisfiable (416).
struct ByteRange {
    qint64 first = 0, last = 0;  // both within the file when satisfiable
    bool satisfiable = true;
};
std::optional<ByteRange> ParseRange(std::string_view header, qint64 size);

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
