#include "common/Codepage936.h"
#include "common/GatewayProtocol.h"
#include "server/RequestBody.h"

#include <gtest/gtest.h>

using gateway::Command;
using server::BodyError;
using server::DecodeGatewayBody;
using server::IsValidPageName;

namespace {

TEST(RequestBody, EachCommandFormIsTakenApart) {
    const QString statement = QStringLiteral("select * from 系统设置");
    auto query = DecodeGatewayBody(gateway::StatementBody(Command::Query, statement), nullptr);
    ASSERT_TRUE(query);
    EXPECT_EQ(query->code, Command::Query);
    EXPECT_EQ(query->statement, statement);

    auto execute = DecodeGatewayBody(gateway::StatementBody(Command::Execute, u"x='1'"), nullptr);
    ASSERT_TRUE(execute);
    EXPECT_EQ(execute->code, Command::Execute);

    auto time = DecodeGatewayBody("zc=51", nullptr);
    ASSERT_TRUE(time);
    EXPECT_EQ(time->code, Command::ServerTime);

    auto rename = DecodeGatewayBody(gateway::RenameBody(u"old1", u"new2"), nullptr);
    ASSERT_TRUE(rename);
    EXPECT_EQ(rename->code, Command::RenamePage);
    EXPECT_EQ(rename->oldName, QStringLiteral("old1"));
    EXPECT_EQ(rename->newName, QStringLiteral("new2"));
}

// The page is kept as the exact code-page-936 bytes the client produced, "€" (the one-byte
// 0x80) and Chinese text included, not re-encoded from decoded text.
TEST(RequestBody, UploadKeepsTheExactPageBytes) {
    const QString page = QStringLiteral("<html>€ 我爱你 <b>\"'</b>\r\n</html>");
    auto upload = DecodeGatewayBody(gateway::UploadBody(u"abc123", page), nullptr);
    ASSERT_TRUE(upload);
    EXPECT_EQ(upload->code, Command::UploadPage);
    EXPECT_EQ(upload->pageName, QStringLiteral("abc123"));
    EXPECT_EQ(upload->pageBytes, cp936::Encode(page));
    EXPECT_EQ(upload->pageBytes.at(6), '\x80');

    auto empty = DecodeGatewayBody(gateway::UploadBody(u"abc", u""), nullptr);
    ASSERT_TRUE(empty);
    EXPECT_TRUE(empty->pageBytes.isEmpty());
}

TEST(RequestBody, MalformedNumbersAreRefused) {
    for (const char* body : {"zc=49&sql=115A", "zc=49&sql=115AA101", "zc=49&sql=-0",
                             "zc=49&sql=256", "zc=49&sql=-32769", "zc=49&sql=1x5",
                             "zc=49&sql=115A+101", "zc=4-9&sql=115", "zc=4950&sql=115"}) {
        BodyError error;
        EXPECT_FALSE(DecodeGatewayBody(body, &error)) << body;
        EXPECT_STREQ(error.word.text, "BADNUMBER") << body;
    }
    BodyError error;
    EXPECT_FALSE(DecodeGatewayBody("zc=52&File=97&data=60A-1x", &error));
    EXPECT_STREQ(error.word.text, "BADNUMBER");
}

TEST(RequestBody, WrongFieldsAndCodesAreRefused) {
    for (const char* body :
         {"", "sql=115", "zc=48&sql=115", "zc=54&sql=115", "zc=49A50&sql=115", "zc=49",
          "zc=49&sql=115&File=97", "zc=51&sql=115", "zc=52&File=97", "zc=53&File1=97&data=97",
          "zc=49&sql=115&sql=115", "zc=49&=115", "zc=49&sql"}) {
        BodyError error;
        EXPECT_FALSE(DecodeGatewayBody(body, &error)) << body;
        EXPECT_STREQ(error.word.text, "BADFORM") << body;
    }
}

TEST(RequestBody, PageNamesAreSmallLettersAndDigitsUpToThirty) {
    EXPECT_TRUE(IsValidPageName(u"a"));
    EXPECT_TRUE(IsValidPageName(u"love520xyz"));
    EXPECT_FALSE(IsValidPageName(u"Love520xyz"));  // no name differs from another by case
    EXPECT_TRUE(IsValidPageName(QString(30, QLatin1Char('z'))));
    EXPECT_FALSE(IsValidPageName(QString(31, QLatin1Char('z'))));
    for (const char16_t* bad : {u"", u"a/b", u"..", u".", u"a.b", u"a b", u"我爱你", u"ａbc",
                                u"a-b", u"a_b", u"a%2F", u"a\\b", u"é"}) {
        EXPECT_FALSE(IsValidPageName(bad)) << QString::fromUtf16(bad).toStdString();
    }
}

}  // namespace
