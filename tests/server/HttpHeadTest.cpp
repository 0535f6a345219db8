// What the service reads itself from a request's head, one value at a time: the cases a proxy
// and the service could read differently, and the edges of lengths and byte ranges.

#include "server/HttpHead.h"

#include <gtest/gtest.h>

#include <limits>
#include <string>
#include <vector>

using server::ByteRange;
using server::Framing;
using server::HeaderField;

namespace {

Framing Read(std::vector<HeaderField> fields) {
    return server::ReadFraming(fields);
}

TEST(HttpHead, FramingIsTakenWhenItCanBeReadOneWayOnly) {
    const Framing length = Read({{"Host", "x"}, {"Content-Length", "51"}});
    EXPECT_FALSE(length.refusal);
    EXPECT_EQ(length.declaredLength, 51u);
    EXPECT_FALSE(length.chunked);

    const Framing chunked = Read({{"transfer-encoding", "Chunked"}});
    EXPECT_FALSE(chunked.refusal);
    EXPECT_TRUE(chunked.chunked);
    EXPECT_FALSE(chunked.declaredLength);

    const Framing none = Read({{"Host", "x"}, {"Content-Type", "text/plain"}});
    EXPECT_FALSE(none.refusal);
    EXPECT_FALSE(none.declaredLength);
    EXPECT_FALSE(none.chunked);
}

TEST(HttpHead, FramingThatCouldBeReadTwoWaysIsRefused) {
    struct Case {
        const char* what;
        std::vector<HeaderField> fields;
    };
    const Case cases[] = {
        {"a folded line", {{"X-Note", "ab", false}, {"Content-Length", "5"}}},
        {"two equal lengths", {{"Content-Length", "5"}, {"content-length", "5"}}},
        {"a length and chunked", {{"Content-Length", "5"}, {"Transfer-Encoding", "chunked"}}},
        {"two codings", {{"Transfer-Encoding", "chunked"}, {"Transfer-Encoding", "chunked"}}},
        {"identity, chunked", {{"Transfer-Encoding", "identity, chunked"}}},
        {"a blank before the colon", {{"Transfer-Encoding ", "chunked"}}},
        {"a control character in a name", {{"X-\x01", "1"}, {"Content-Length", "5"}}},
        {"an empty name", {{"", "1"}}},
        {"a length that is no number", {{"Content-Length", "5, 5"}}},
    };
    for (const Case& c : cases) {
        const Framing framing = Read(c.fields);
        EXPECT_TRUE(framing.refusal) << c.what;
        EXPECT_FALSE(framing.declaredLength) << c.what;
        EXPECT_FALSE(framing.chunked) << c.what;
    }
    EXPECT_EQ(Read({{"X-Note", "ab", false}}).refusal, QStringLiteral("a folded header line"));
}

TEST(HttpHead, DeclaredLengthIsTheDecimalNumberOrNothing) {
    EXPECT_EQ(server::DeclaredLength("0"), 0u);
    EXPECT_EQ(server::DeclaredLength("9000000000"), 9000000000u);
    EXPECT_EQ(server::DeclaredLength("000000000000000000000000042"), 42u);
    EXPECT_EQ(server::DeclaredLength("18446744073709551615"),
              std::numeric_limits<unsigned long long>::max());
    for (const char* bad : {"18446744073709551616", "99999999999999999999999", "", "-1", "+5", " 5",
                            "5 ", "0x10", "5.0"}) {
        EXPECT_FALSE(server::DeclaredLength(bad)) << bad;
    }
}

TEST(HttpHead, ByteRangesStayInsideTheFile) {
    const auto range = [](const char* header, qint64 size) {
        const auto parsed = server::ParseRange(header, size);
        if (!parsed)
            return std::string("whole file");
        if (!parsed->satisfiable)
            return std::string("unsatisfiable");
        return std::to_string(parsed->first) + "-" + std::to_string(parsed->last);
    };
    EXPECT_EQ(range("bytes=0-99", 1000), "0-99");
    EXPECT_EQ(range("bytes=900-2000", 1000), "900-999");
    EXPECT_EQ(range("bytes=500-", 1000), "500-999");
    EXPECT_EQ(range("bytes=-100", 1000), "900-999");
    EXPECT_EQ(range("bytes=-5000", 1000), "0-999");
    EXPECT_EQ(range("bytes=999-999", 1000), "999-999");
    EXPECT_EQ(range("bytes=1000-", 1000), "unsatisfiable");
    EXPECT_EQ(range("bytes=0-0", 0), "unsatisfiable");
    EXPECT_EQ(range("bytes=-1", 0), "unsatisfiable");
    EXPECT_EQ(range("bytes=999999999999999999-", 10), "unsatisfiable");
    // Forms this service does not take apart get the whole file.
    for (const char* other : {"", "bytes=0-1,5-6", "bytes=5-3", "bytes=-0", "bytes=-", "bytes=a-b",
                              "items=0-1", "bytes= 0-1", "bytes=1000000000000000000-"}) {
        EXPECT_EQ(range(other, 1000), "whole file") << other;
    }
}

TEST(HttpHead, OnlyPlainHostsGoIntoAddresses) {
    for (const char* host : {"zenri.example", "zenri.example:8080", "127.0.0.1:8080", "[::1]:80"})
        EXPECT_TRUE(server::IsUsableHost(host)) << host;
    for (const char* host :
         {"", "evil.example/x", "a\"b", "a b", "x@evil.example", "a\r\nb", "例子.example"}) {
        EXPECT_FALSE(server::IsUsableHost(host)) << host;
    }
    EXPECT_TRUE(server::IsUsableHost(std::string(255, 'a')));
    EXPECT_FALSE(server::IsUsableHost(std::string(256, 'a')));
}

TEST(HttpHead, LoggedTargetsArePrintableAndShort) {
    EXPECT_EQ(server::PrintableTarget("/healthz?%01"), "/healthz?%01");
    EXPECT_EQ(server::PrintableTarget("/a b\"\x01\x7f\xe6\x88\x91"), "/a%20b%22%01%7F%E6%88%91");
    EXPECT_EQ(server::PrintableTarget(std::string(300, 'x')), QString(200, QLatin1Char('x')));
}

}  // namespace
