// Fuzzes what the service reads itself from a request's head: the framing of the body, the
// declared length, byte ranges, the Host check, the session cookie and the target of the log.
// The input is a head's header lines ("name: value", one a line; a line that starts with a
// blank or a tab continues the one before); every value also goes through each value parser.
//
// Properties: a head's framing is refused exactly when the rule, written out here another way,
// refuses it (a NUL or CR in a value and a second Host among its reasons), and a refused framing
// never yields a length or a coding; a length that parses is the value's decimal number; a byte
// range that parses lies inside the file and reads back the same from its own "bytes=FIRST-LAST"; a
// usable host holds nothing that could end an address; a session token comes back only as it stands
// in the header, and always when it stands there alone; a logged target is printable ASCII without
// blanks or quotes, the same as the target when that already was.

#include "FuzzSupport.h"
#include "server/HttpHead.h"
#include "server/SessionTokens.h"

#include <charconv>
#include <cstring>
#include <deque>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

namespace {

using server::HeaderField;

bool SameIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i) {
        const char x = a[i] >= 'A' && a[i] <= 'Z' ? char(a[i] + 32) : a[i];
        const char y = b[i] >= 'A' && b[i] <= 'Z' ? char(b[i] + 32) : b[i];
        if (x != y)
            return false;
    }
    return true;
}

// The characters of RFC 9110's token.
bool IsTokenText(std::string_view name) {
    static const char kTokenSigns[] = "!#$%&'*+-.^_`|~";
    if (name.empty())
        return false;
    for (char c : name) {
        const bool alphanumeric =
            (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
        if (!alphanumeric && (c == '\0' || !std::strchr(kTokenSigns, c)))
            return false;
    }
    return true;
}

// The decimal number of a text of digits, by the standard library.
std::optional<unsigned long long> DecimalNumber(std::string_view text) {
    if (text.empty() || text.find_first_not_of("0123456789") != std::string_view::npos)
        return std::nullopt;
    unsigned long long n = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), n);
    if (error != std::errc() || end != text.data() + text.size())
        return std::nullopt;
    return n;
}

// The header lines of the input, as libmicrohttpd 0.9.75 hands them over: the name before the
// first colon, the value after it without the blanks that follow the colon. A line that starts
// with a blank or a tab continues the one before: the library glues its text, blanks taken
// off, to that header's name, which then no longer stands on one line.
struct Head {
    std::deque<std::string> gluedNames;
    std::vector<HeaderField> fields;
};

Head HeadOf(std::string_view input) {
    Head head;
    size_t pos = 0;
    while (pos < input.size()) {
        size_t end = input.find('\n', pos);
        if (end == std::string_view::npos)
            end = input.size();
        std::string_view line = input.substr(pos, end - pos);
        pos = end + 1;
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        const auto dropBlanks = [](std::string_view text) {
            while (!text.empty() && (text.front() == ' ' || text.front() == '\t'))
                text.remove_prefix(1);
            return text;
        };
        if (!head.fields.empty() && !line.empty() &&
            (line.front() == ' ' || line.front() == '\t')) {
            HeaderField& last = head.fields.back();
            head.gluedNames.push_back(std::string(last.name) + std::string(dropBlanks(line)));
            last.name = head.gluedNames.back();
            last.oneLine = false;
            continue;
        }
        const size_t colon = line.find(':');
        const std::string_view name = line.substr(0, colon);
        const std::string_view value = colon == std::string_view::npos
                                           ? std::string_view()
                                           : dropBlanks(line.substr(colon + 1));
        head.fields.push_back({name, value, true});
    }
    return head;
}

void CheckFraming(const std::vector<HeaderField>& fields) {
    const server::Framing framing = server::ReadFraming(fields);
    bool refused = false;
    int lengths = 0, codings = 0, hosts = 0;
    std::string_view length, coding;
    for (const HeaderField& field : fields) {
        refused = refused || !field.oneLine || !IsTokenText(field.name);
        refused = refused || field.value.find('\0') != std::string_view::npos ||
                  field.value.find('\r') != std::string_view::npos;
        hosts += SameIgnoringCase(field.name, "host");
        if (SameIgnoringCase(field.name, "content-length")) {
            ++lengths;
            length = field.value;
        }
        if (SameIgnoringCase(field.name, "transfer-encoding")) {
            ++codings;
            coding = field.value;
        }
    }
    refused = refused || hosts > 1 || lengths > 1 || codings > 1 || (lengths && codings) ||
              (codings && !SameIgnoringCase(coding, "chunked")) ||
              (lengths && !DecimalNumber(length));
    FUZZ_CHECK(framing.refusal.has_value() == refused);
    if (refused) {
        FUZZ_CHECK(!framing.declaredLength && !framing.chunked);
        FUZZ_CHECK(!framing.refusal->isEmpty());
        return;
    }
    FUZZ_CHECK(framing.chunked == (codings == 1));
    FUZZ_CHECK(framing.declaredLength == (lengths ? DecimalNumber(length) : std::nullopt));
}

void CheckValue(std::string_view value) {
    FUZZ_CHECK(server::DeclaredLength(value) == DecimalNumber(value));

    for (const qint64 size : {qint64{0}, qint64{1}, qint64{100}, qint64{910438}, qint64{1} << 40}) {
        const auto range = server::ParseRange(value, size);
        if (!range)
            continue;
        FUZZ_CHECK(value.substr(0, 6) == "bytes=" && value.find(',') == std::string_view::npos);
        if (!range->satisfiable) {
            FUZZ_CHECK(size == 0 || range->first >= size);
            continue;
        }
        FUZZ_CHECK(0 <= range->first && range->first <= range->last && range->last < size);
        const std::string again =
            "bytes=" + std::to_string(range->first) + "-" + std::to_string(range->last);
        const auto reread = server::ParseRange(again, size);
        FUZZ_CHECK(reread && reread->satisfiable && reread->first == range->first &&
                   reread->last == range->last);
    }

    if (server::IsUsableHost(value)) {
        FUZZ_CHECK(!value.empty() && value.size() <= 255);
        FUZZ_CHECK(value.find_first_of("/?#@\\\"'<> \t\r\n%") == std::string_view::npos);
        for (unsigned char c : value)
            FUZZ_CHECK(c > 0x20 && c < 0x7f);
    }

    const std::string cookie = std::string(server::kSessionCookie) + "=";
    const QString token = server::SessionTokenFromCookies(value);
    if (!token.isEmpty()) {
        FUZZ_CHECK(token.size() == server::kSessionTokenDigits);
        for (QChar c : token)
            FUZZ_CHECK((c >= u'0' && c <= u'9') || (c >= u'a' && c <= u'f'));
        FUZZ_CHECK(value.find(cookie + token.toStdString()) != std::string_view::npos);
    }
    // A token of the value's bytes, after the other cookies of the value: found whenever the
    // value names no session cookie itself.
    if (value.find(server::kSessionCookie) == std::string_view::npos) {
        std::string hex;
        for (int i = 0; i < server::kSessionTokenDigits; ++i)
            hex += "0123456789abcdef"[i < int(value.size()) ? value[i] & 15 : i & 15];
        const std::string header = std::string(value) + "; " + cookie + hex;
        FUZZ_CHECK(server::SessionTokenFromCookies(header) == QString::fromLatin1(hex.c_str()));
    }
}

void CheckTarget(std::string_view target) {
    const QString printed = server::PrintableTarget(target);
    FUZZ_CHECK(printed.size() <= 3 * 200);
    for (QChar c : printed)
        FUZZ_CHECK(c.unicode() > 0x20 && c.unicode() < 0x7f && c != u'"');
    const std::string_view shown = target.substr(0, 200);
    bool plain = true;
    for (unsigned char c : shown)
        plain = plain && c > 0x20 && c < 0x7f && c != '"';
    if (plain)
        FUZZ_CHECK(printed == QLatin1String(shown.data(), qsizetype(shown.size())));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    const Head head = HeadOf(input);
    CheckFraming(head.fields);
    for (const HeaderField& field : head.fields)
        CheckValue(field.value);
    CheckValue(input);
    CheckTarget(input);
    return 0;
}
