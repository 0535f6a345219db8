#include "common/ValueEncoding.h"

#include <QStringList>

#include <gtest/gtest.h>

namespace {

TEST(EncodeValue, ExamplesOfTheProtocol) {
    EXPECT_EQ(EncodeValue(qint64{1}), "49");
    EXPECT_EQ(EncodeValue(u"abc"), "97A98A99");
    EXPECT_EQ(EncodeValue(u"用户名"), "-11325A-17497A-15365");
    EXPECT_EQ(EncodeValue(u"select * from 系统设置"),
              "115A101A108A101A99A116A32A42A32A102A114A111A109A32A-12363A-12877A-13848A-10557");
    EXPECT_EQ(EncodeValue(qint64{51}), "53A49");
}

TEST(EncodeValue, EdgeCharacters) {
    EXPECT_EQ(EncodeValue(u""), "");
    EXPECT_EQ(EncodeValue(QString::fromUtf8("😀")), "63A63");  // each half of the pair
    EXPECT_EQ(EncodeValue(QString(QChar(0xDC00))), "63");     // a lone low surrogate
    EXPECT_EQ(EncodeValue(u"€"), "128");
    EXPECT_EQ(EncodeValue(u"－1"), "-23635A49");  // full-width minus, then the digit
    EXPECT_EQ(EncodeValue(u"'"), "39");
}

TEST(EncodeValue, LongTextMatchesCharacterByCharacter) {
    QString text;
    for (int i = 0; i < 5000; ++i)
        text += (i % 7 == 0) ? QChar(u'爱') : QChar(u'a' + i % 26);
    const QString encoded = EncodeValue(text);
    const QStringList codes = encoded.split(QLatin1Char('A'));
    ASSERT_EQ(codes.size(), text.size());
    EXPECT_EQ(codes[0], EncodeValue(text.left(1)));
    EXPECT_EQ(codes[4999], EncodeValue(text.right(1)));
}

TEST(DecodeValue, ReversesTheEncoding) {
    const QString text = QString::fromUtf8("Select * from 用户管理 where 用户='a''b' €");
    const auto decoded = DecodeValue(EncodeValue(text).toLatin1());
    ASSERT_TRUE(decoded.has_value());
    EXPECT_EQ(*decoded, text);
    EXPECT_EQ(DecodeValue(""), QString());
}

TEST(DecodeValue, RefusesMalformedNumbers) {
    for (const char* bad : {"A", "1A", "A1", "1AA2", "x", "1-2", "256", "-0", "-32769", "--1",
                            "123456", " 1", "1 "}) {
        EXPECT_FALSE(DecodeValueBytes(bad).has_value()) << bad;
    }
    EXPECT_EQ(DecodeValueBytes("255A0A-32768"), QByteArray("\xFF\x00\x80\x00", 4));
}

}  // namespace
