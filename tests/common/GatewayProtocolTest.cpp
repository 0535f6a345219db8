#include "common/GatewayProtocol.h"

#include "common/ValueEncoding.h"

#include <gtest/gtest.h>

using namespace gateway;

namespace {

TEST(GatewayBodies, EveryRequestForm) {
    EXPECT_EQ(ServerTimeBody(), "zc=51");
    EXPECT_EQ(ServerTimeBody().size(), 5);
    EXPECT_EQ(StatementBody(Command::Query, u"select * from 系统设置"),
              "zc=49&sql=115A101A108A101A99A116A32A42A32A102A114A111A109A32A-12363A-12877A-"
              "13848A-10557");
    EXPECT_EQ(StatementBody(Command::Execute, u"a"), "zc=50&sql=97");
    EXPECT_EQ(UploadBody(u"ab", u"<p>"), "zc=52&File=97A98&data=60A112A62");
    EXPECT_EQ(RenameBody(u"old", u""), "zc=53&File1=111A108A100&File2=");
}

TEST(GatewayBodies, OnlyProtocolCharacters) {
    const QByteArray body = UploadBody(u"name1", QString::fromUtf8("<html>表白 😀 €'\"&=</html>"));
    for (char c : body) {
        EXPECT_TRUE(QByteArrayView("zcFiledta=&-A0123456789").contains(c)) << c;
    }
}

TEST(ReplySplitting, RecordsAndFields) {
    const QString twoRows = QString::fromUtf8("いゼaいbいゼc");
    const QStringList records = SplitRecords(twoRows);
    ASSERT_EQ(records.size(), 3);
    EXPECT_EQ(records[0], "");
    EXPECT_EQ(SplitFields(records[1]), (QStringList{"a", "b"}));
    EXPECT_EQ(SplitFields(records[2]), (QStringList{"c"}));
}

TEST(ReplySplitting, NoRowIsDistinctFromNoRecord) {
    const QStringList noRow = SplitRecords(QString::fromUtf8("いゼ"));
    ASSERT_EQ(noRow.size(), 2);  // record 1 is present and empty
    EXPECT_TRUE(noRow[1].isEmpty());
    EXPECT_EQ(SplitRecords(QString()).size(), 1);  // an empty reply has no record 1
    EXPECT_EQ(SplitRecords(QStringLiteral("<html>500</html>")).size(), 1);
}

TEST(ReplySplitting, FieldSeparatorInsideAValueShiftsLaterFields) {
    const QStringList fields = SplitFields(QString::fromUtf8("0い1い开い始い4"));
    ASSERT_EQ(fields.size(), 5);
    EXPECT_EQ(fields[3], QString::fromUtf8("始"));
}

TEST(ReplyBuilding, RoundTripsThroughTheReader) {
    EXPECT_EQ(BuildQueryReply({}), QString::fromUtf8("いゼ"));
    const QString reply = BuildQueryReply({{"a", "b"}, {"c"}});
    EXPECT_EQ(reply, QString::fromUtf8("いゼaいbいゼc"));
}

TEST(FormSplitting, FieldsAndMalformedBodies) {
    const auto form = SplitForm("zc=52&File=97&data=");
    ASSERT_TRUE(form.has_value());
    EXPECT_EQ(form->at("zc"), "52");
    EXPECT_EQ(form->at("File"), "97");
    EXPECT_EQ(form->at("data"), "");
    EXPECT_FALSE(SplitForm("zc=1&zc=2").has_value());
    EXPECT_FALSE(SplitForm("zc").has_value());
    EXPECT_FALSE(SplitForm("=1").has_value());
    EXPECT_FALSE(SplitForm("zc=1&").has_value());
}

}  // namespace
