#include "common/Codepage936.h"

#include <QStringDecoder>
#include <QStringEncoder>

#include <gtest/gtest.h>

namespace {

QByteArray Bytes(std::initializer_list<unsigned> values) {
    QByteArray out;
    for (unsigned v : values)
        out.append(static_cast<char>(v));
    return out;
}

TEST(Codepage936, CodesOfOneAndTwoByteCharacters) {
    EXPECT_EQ(cp936::CodeOf(u'a'), 97);
    EXPECT_EQ(cp936::CodeOf(u'\0'), 0);
    EXPECT_EQ(cp936::CodeOf(u'€'), 128);  // the Windows table's single byte 0x80
    EXPECT_EQ(cp936::CodeOf(u'用'), 256 * 0xD3 + 0xC3 - 65536);
    EXPECT_EQ(cp936::CodeOf(u'－'), 256 * 0xA3 + 0xAD - 65536);  // full-width minus
    EXPECT_EQ(cp936::CodeOf(u'い'), 256 * 0xA4 + 0xA4 - 65536);
}

TEST(Codepage936, UnrepresentableUnitsAreQuestionMarks) {
    const QString emoji = QString::fromUtf8("😀");
    ASSERT_EQ(emoji.size(), 2);
    EXPECT_EQ(cp936::CodeOf(emoji[0].unicode()), 63);
    EXPECT_EQ(cp936::CodeOf(emoji[1].unicode()), 63);
    EXPECT_EQ(cp936::CodeOf(0xD800), 63);
    EXPECT_EQ(cp936::CodeOf(u'・'), 63);   // katakana middle dot has no place in the table
    EXPECT_EQ(cp936::CodeOf(0x00AD), 63);  // soft hyphen, which the converter drops silently
    EXPECT_EQ(cp936::Encode(emoji), QByteArray("??"));
}

TEST(Codepage936, EncodeAgreesWithQtConverterForTheWholeTable) {
    QStringEncoder encoder("GBK", QStringConverter::Flag::Stateless);
    int checked = 0;
    for (int u = 1; u < 0x10000; ++u) {
        if (u >= 0xD800 && u < 0xE000)
            continue;
        const QString one(QChar(static_cast<char16_t>(u)));
        const QByteArray expected = encoder.encode(one);
        if (expected.isEmpty())
            continue;  // dropped by the converter; we write "?"
        ASSERT_EQ(cp936::Encode(one), expected) << "U+" << std::hex << u;
        ++checked;
    }
    EXPECT_GT(checked, 20000);
}

TEST(Codepage936, DecodeSeparatorsAndInvalidSequences) {
    EXPECT_EQ(cp936::Decode(Bytes({0xA4, 0xA4, 0xA5, 0xBC})), QString::fromUtf8("いゼ"));
    EXPECT_EQ(cp936::Decode(Bytes({0x80})), QString::fromUtf8("€"));
    // A lone lead byte at the end, and one followed by a byte that cannot be a trail byte.
    EXPECT_EQ(cp936::Decode(Bytes({'a', 0x81})), QString::fromUtf8("a\uFFFD"));
    EXPECT_EQ(cp936::Decode(Bytes({0x81, 0x20, 'b'})), QString::fromUtf8("\uFFFD b"));
    EXPECT_EQ(cp936::Decode(QByteArray()), QString());
}

TEST(Codepage936, DecodeAgreesWithQtConverterOnValidText) {
    const QString text = QString::fromUtf8("select * from 系统设置 where 用户='－1' €");
    const QByteArray bytes = cp936::Encode(text);
    QStringDecoder decoder("GBK", QStringConverter::Flag::Stateless);
    EXPECT_EQ(cp936::Decode(bytes), decoder.decode(bytes));
    EXPECT_EQ(cp936::Decode(bytes), text);
}

TEST(Codepage936, CharacterCodesRoundTrip) {
    for (QChar c : QString::fromUtf8("aZ09 ~€用户名表白－")) {
        const int code = cp936::CodeOf(c.unicode());
        EXPECT_TRUE(cp936::IsCharacterCode(code)) << code;
        EXPECT_EQ(cp936::CharacterOfCode(code), c);
    }
    EXPECT_FALSE(cp936::IsCharacterCode(0x81));  // a lone lead byte
    EXPECT_FALSE(cp936::IsCharacterCode(0xFE));
    EXPECT_FALSE(cp936::IsCharacterCode(256 * 0xB0 + 0x20 - 65536));  // trail byte out of range
    EXPECT_FALSE(cp936::IsCharacterCode(300));
    EXPECT_FALSE(cp936::IsCharacterCode(-40000));
}

}  // namespace
