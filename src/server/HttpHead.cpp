#include "server/HttpHead.h"

#include "server/SessionTokens.h"

#include <QDateTime>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <limits>

namespace server {
namespace {

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i) {
        const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; };
        if (lower(a[i]) != lower(b[i]))
            return false;
    }
    return true;
}

// A header name must be a token: no blank, no separator, no control character. The library
// keeps "Transfer-Encoding " (a blank before the colon) as a name of its own, which a proxy
// in front might read as Transfer-Encoding.
bool IsToken(std::string_view name) {
    if (name.empty())
        return false;
    for (unsigned char c : name) {
        if (c <= 0x20 || c >= 0x7f || std::strchr("\"(),/:;<=>?@[\\]{}", c))
            return false;
    }
    return true;
}

bool IsHostChar(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '.' ||
           c == '-' || c == ':' || c == '[' || c == ']';
}

bool IsSessionToken(std::string_view text) {
    if (text.size() != size_t{kSessionTokenDigits})
        return false;
    for (char c : text) {
        if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'f')))
            return false;
    }
    return true;
}

}  // namespace

Framing ReadFraming(const std::vector<HeaderField>& fields) {
    Framing framing;
    int contentLengths = 0, transferEncodings = 0, hosts = 0;
    std::string_view length, coding;
    for (const HeaderField& field : fields) {
        if (!field.oneLine) {
            framing.refusal = QStringLiteral("a folded header line");
            return framing;
        }
        if (!IsToken(field.name)) {
            framing.refusal = QStringLiteral("a header name that is no token");
            return framing;
        }
        // A reader that ends the value at a NUL, or a line at a lone CR, reads another head.
        if (!field.wholeValue ||
            field.value.find_first_of(std::string_view("\0\r", 2)) != std::string_view::npos) {
            framing.refusal = QStringLiteral("a NUL or CR in a header value");
            return framing;
        }
        if (EqualsIgnoringCase(field.name, "Host") && ++hosts > 1) {
            framing.refusal = QStringLiteral("more than one Host");
            return framing;
        }
        if (EqualsIgnoringCase(field.name, "Content-Length")) {
            ++contentLengths;
            length = field.value;
        } else if (EqualsIgnoringCase(field.name, "Transfer-Encoding")) {
            ++transferEncodings;
            coding = field.value;
        }
    }
    if (contentLengths > 1) {
        framing.refusal = QStringLiteral("more than one Content-Length");
    } else if (transferEncodings > 1 || (transferEncodings && contentLengths)) {
        framing.refusal = QStringLiteral("Transfer-Encoding with another length");
    } else if (transferEncodings && !EqualsIgnoringCase(coding, "chunked")) {
        framing.refusal = QStringLiteral("a transfer coding other than chunked");
    } else if (contentLengths) {
        // The library has refused a value that is no number before the head gets here.
        framing.declaredLength = DeclaredLength(length);
        if (!framing.declaredLength)
            framing.refusal = QStringLiteral("a Content-Length that is no number");
    }
    framing.chunked = transferEncodings == 1 && !framing.refusal;
    return framing;
}

std::optional<unsigned long long> DeclaredLength(std::string_view value) {
    if (value.empty())
        return std::nullopt;
    constexpr unsigned long long kMax = std::numeric_limits<unsigned long long>::max();
    unsigned long long n = 0;
    for (char c : value) {
        if (c < '0' || c > '9')
            return std::nullopt;
        const unsigned digit = unsigned(c - '0');
        if (n > (kMax - digit) / 10)
            return std::nullopt;
        n = n * 10 + digit;
    }
    return n;
}

std::optional<ByteRange> ParseRange(std::string_view text, qint64 size) {
    if (text.substr(0, 6) != "bytes=" || text.find(',') != std::string_view::npos)
        return std::nullopt;
    text.remove_prefix(6);
    const size_t dash = text.find('-');
    if (dash == std::string_view::npos)
        return std::nullopt;
    // At most 18 digits: every such number fits a qint64.
    const auto number = [](std::string_view digits, qint64* out) {
        if (digits.empty() || digits.size() > 18)
            return false;
        qint64 n = 0;
        for (char c : digits) {
            if (c < '0' || c > '9')
                return false;
            n = n * 10 + (c - '0');
        }
        *out = n;
        return true;
    };
    ByteRange range;
    qint64 a = 0, b = 0;
    const std::string_view from = text.substr(0, dash), to = text.substr(dash + 1);
    if (from.empty()) {
        if (!number(to, &b) || b == 0)
            return std::nullopt;
        range.first = std::max<qint64>(0, size - b);
        range.last = size - 1;
    } else {
        if (!number(from, &a))
            return std::nullopt;
        range.first = a;
        range.last = size - 1;
        if (!to.empty()) {
            if (!number(to, &b) || b < a)
                return std::nullopt;
            range.last = std::min(b, size - 1);
        }
    }
    range.satisfiable = range.first < size && size > 0;
    return range;
}

std::optional<QString> TargetRefusal(std::string_view target) {
    for (size_t i = 0; i < target.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(target[i]);
        if (c <= 0x20 || c == 0x7f)
            return QStringLiteral("a blank or control character in the target");
        if (c == '%' && i + 2 < target.size() && target[i + 1] == '0' && target[i + 2] == '0')
            return QStringLiteral("a NUL in the target");
    }
    return std::nullopt;
}

namespace {

// Whether an If-None-Match value (a tag, a list of them, or "*") names the tag; weak tags
// compare by their text, as the weak comparison of GET allows.
bool NamesTag(std::string_view list, std::string_view etag) {
    size_t pos = 0;
    while (pos <= list.size()) {
        size_t end = list.find(',', pos);
        if (end == std::string_view::npos)
            end = list.size();
        std::string_view tag = list.substr(pos, end - pos);
        while (!tag.empty() && (tag.front() == ' ' || tag.front() == '\t'))
            tag.remove_prefix(1);
        while (!tag.empty() && (tag.back() == ' ' || tag.back() == '\t'))
            tag.remove_suffix(1);
        if (tag.substr(0, 2) == "W/")
            tag.remove_prefix(2);
        if (tag == "*" || tag == etag)
            return true;
        pos = end + 1;
    }
    return false;
}

}  // namespace

FilePart AnswerForFile(qint64 size, std::string_view etag, std::string_view lastModified,
                       std::string_view ifNoneMatch, std::string_view range,
                       std::string_view ifRange) {
    FilePart part;
    part.length = size;
    if (!ifNoneMatch.empty() && NamesTag(ifNoneMatch, etag)) {
        part.status = 304;
        part.length = 0;
        return part;
    }
    if (range.empty())
        return part;
    // If-Range compares strongly: the very tag, or the very date; anything else, and the
    // client gets the whole file rather than a piece of another version.
    if (!ifRange.empty() && ifRange != etag && ifRange != lastModified)
        return part;
    const auto asked = ParseRange(range, size);
    if (!asked)
        return part;
    if (!asked->satisfiable) {
        part.status = 416;
        part.length = 0;
        return part;
    }
    part.status = 206;
    part.first = asked->first;
    part.length = asked->last - asked->first + 1;
    return part;
}

std::string FileTag(qint64 size, qint64 modifiedSeconds) {
    char text[64];
    std::snprintf(text, sizeof text, "\"%llx-%llx\"", static_cast<unsigned long long>(size),
                  static_cast<unsigned long long>(modifiedSeconds));
    return text;
}

std::string HttpDate(qint64 secondsSinceEpoch) {
    static const char* const kDays[] = {"Mon", "Tue", "Wed", "Thu", "Fri", "Sat", "Sun"};
    static const char* const kMonths[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                          "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    const QDateTime time = QDateTime::fromSecsSinceEpoch(secondsSinceEpoch, Qt::UTC);
    const QDate date = time.date();
    const QTime clock = time.time();
    char text[64];
    std::snprintf(text, sizeof text, "%s, %02d %s %04d %02d:%02d:%02d GMT",
                  kDays[date.dayOfWeek() - 1], date.day(), kMonths[date.month() - 1], date.year(),
                  clock.hour(), clock.minute(), clock.second());
    return text;
}

bool IsUsableHost(std::string_view host) {
    return !host.empty() && host.size() <= 255 && std::all_of(host.begin(), host.end(), IsHostChar);
}

QString SessionTokenFromCookies(std::string_view header) {
    const std::string_view name(kSessionCookie);
    size_t pos = 0;
    while (pos < header.size()) {
        size_t end = header.find(';', pos);
        if (end == std::string_view::npos)
            end = header.size();
        std::string_view pair = header.substr(pos, end - pos);
        while (!pair.empty() && pair.front() == ' ')
            pair.remove_prefix(1);
        while (!pair.empty() && pair.back() == ' ')
            pair.remove_suffix(1);
        if (pair.size() > name.size() && pair.substr(0, name.size()) == name &&
            pair[name.size()] == '=') {
            const std::string_view value = pair.substr(name.size() + 1);
            if (IsSessionToken(value))
                return QString::fromLatin1(value.data(), static_cast<qsizetype>(value.size()));
        }
        pos = end + 1;
    }
    return {};
}

QString PrintableTarget(std::string_view target) {
    QString out;
    for (unsigned char c : target.substr(0, 200)) {
        if (c > 0x20 && c < 0x7f && c != '"') {
            out += QLatin1Char(static_cast<char>(c));
        } else {
            out += QStringLiteral("%%1").arg(c, 2, 16, QLatin1Char('0')).toUpper();
        }
    }
    return out;
}

}  // namespace server
