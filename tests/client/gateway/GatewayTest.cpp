#include "RawHttpServer.h"
#include "client/gateway/Gateway.h"
#include "client/gateway/ServiceAddress.h"
#include "common/Codepage936.h"
#include "common/ValueEncoding.h"

#include <gtest/gtest.h>

namespace {

class GatewayReaders : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(service::SetAddress(server.Url())); }
    void Reply(const char* utf8) { server.Queue({200, cp936::Encode(QString::fromUtf8(utf8))}); }
    // The statement of request i, decoded as the service would.
    QString StatementOf(int i) const {
        const QByteArray raw = server.requests.at(i);
        const QByteArray body = raw.mid(raw.indexOf("\r\n\r\n") + 4);
        return DecodeValue(body.mid(body.indexOf("&sql=") + 5)).value_or(QString());
    }
    RawHttpServer server;
};

TEST_F(GatewayReaders, SystemSettingsFieldsOfRecordOne) {
    Reply("いゼ1い2い开放い公告内容いV1.2いhttp://x/download");
    const auto fields = gateway::ReadSystemSettings();
    ASSERT_TRUE(fields.has_value());
    EXPECT_EQ(fields->size(), 6);
    EXPECT_EQ(fields->at(columns::kAnnouncement), QString::fromUtf8("公告内容"));
    EXPECT_EQ(*gateway::FieldAt(fields, columns::kNewestVersion), "V1.2");
    EXPECT_FALSE(gateway::FieldAt(fields, columns::kSettingsCount).has_value());
    EXPECT_EQ(StatementOf(0), QString::fromUtf8("select * from 系统设置"));
}

TEST_F(GatewayReaders, SettingsReadFailureIsDistinctFromAnEmptyRow) {
    Reply("いゼ");
    Reply("");
    Reply("<html>error page</html>");
    const auto emptyRow = gateway::ReadSystemSettings();
    ASSERT_TRUE(emptyRow.has_value());
    EXPECT_TRUE(emptyRow->isEmpty());
    EXPECT_FALSE(gateway::ReadSystemSettings().has_value());
    EXPECT_FALSE(gateway::ReadSystemSettings().has_value());
}

TEST_F(GatewayReaders, AnnouncementHoldingTheSeparatorShiftsTheVersion) {
    Reply("いゼ1い2い开放い公告い内容いV1.2いhttp://x/download");
    const auto fields = gateway::ReadSystemSettings();
    EXPECT_EQ(*gateway::FieldAt(fields, columns::kAnnouncement), QString::fromUtf8("公告"));
    EXPECT_EQ(*gateway::FieldAt(fields, columns::kNewestVersion), QString::fromUtf8("内容"));
}

TEST_F(GatewayReaders, AdvertRecordsInOrder) {
    Reply("いゼhttp://a/1.pngいゼhttp://a/2.pngいゼhttp://a/3.png");
    Reply("いゼhttp://t/1");
    const QStringList images = gateway::ReadAdvertImages();
    ASSERT_EQ(images.size(), 4);
    EXPECT_EQ(images[1], "http://a/1.png");
    EXPECT_EQ(images[2], "http://a/2.png");
    const QStringList links = gateway::ReadAdvertLinks();
    EXPECT_EQ(links.size(), 2);  // one advert: no record 2, the right pane stays blank
    EXPECT_EQ(StatementOf(0), QString::fromUtf8("select 广告链接 from 广告管理"));
    EXPECT_EQ(StatementOf(1), QString::fromUtf8("select 跳转地址 from 广告管理"));
}

TEST_F(GatewayReaders, ServerTimeComesBackUnchanged) {
    Reply(" 2026-12-09 10:00:00\r\n");
    EXPECT_EQ(gateway::ReadServerTime(), " 2026-12-09 10:00:00\r\n");
    const QByteArray raw = server.requests.at(0);
    EXPECT_TRUE(raw.endsWith("\r\n\r\nzc=51"));
}

TEST_F(GatewayReaders, QueryReplyRecordsAndFields) {
    Reply("いゼaいbいゼc");
    const gateway::QueryReply reply = gateway::Query(QStringLiteral("select 1"));
    EXPECT_TRUE(reply.delivered);
    EXPECT_EQ(*reply.Fields(1), (QStringList{"a", "b"}));
    EXPECT_EQ(*reply.Fields(2), (QStringList{"c"}));
    EXPECT_FALSE(reply.Fields(3).has_value());
    EXPECT_FALSE(reply.Fields(0).has_value());  // record 0 is never read
}

TEST_F(GatewayReaders, UploadAndRenameBodies) {
    server.Queue({200, "OK"});
    server.Queue({200, "OK"});
    EXPECT_TRUE(gateway::UploadPage(QStringLiteral("ab"), QStringLiteral("<p>")).delivered);
    EXPECT_TRUE(gateway::RenamePage(QStringLiteral("ab"), QString()).delivered);
    EXPECT_TRUE(server.requests[0].endsWith("\r\n\r\nzc=52&File=97A98&data=60A112A62"));
    EXPECT_TRUE(server.requests[1].endsWith("\r\n\r\nzc=53&File1=97A98&File2="));
}

TEST(ServiceAddressTest, CommandLineThenEnvironmentThenDefault) {
    qputenv(service::kEnvironmentVariable, "http://env.example:9000/");
    EXPECT_TRUE(service::Configure({"prog", "--service", "http://cli.example:81/ignored/path"}));
    EXPECT_EQ(service::Address(), "http://cli.example:81");
    EXPECT_EQ(service::GatewayAddress(), "http://cli.example:81/asp/index.asp");
    EXPECT_EQ(service::PageAddress("abc"), "http://cli.example:81/love/abc");
    EXPECT_TRUE(service::Configure({"prog"}));
    EXPECT_EQ(service::Address(), "http://env.example:9000");
    qunsetenv(service::kEnvironmentVariable);
    EXPECT_TRUE(service::Configure({"prog"}));
    EXPECT_EQ(service::Address(), service::kDefaultAddress);
    EXPECT_FALSE(service::SetAddress("ftp://x"));
    EXPECT_FALSE(service::SetAddress("not an address"));
    EXPECT_EQ(service::Address(), service::kDefaultAddress);
}

}  // namespace
