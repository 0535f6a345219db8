#include "client/settings/IniFile.h"
#include "common/Codepage936.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

class IniFileTest : public ::testing::Test {
protected:
    QString Path() const { return dir.filePath("Zrwysc.ini"); }
    void WriteRaw(const QByteArray& bytes) const {
        QFile f(Path());
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    QByteArray ReadRaw() const {
        QFile f(Path());
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    QTemporaryDir dir;
    const QString section = QString::fromUtf8("Zenri表白网页生成");
};

TEST_F(IniFileTest, MissingFileSectionOrKeyReadsEmpty) {
    EXPECT_FALSE(IniFileExists(Path()));
    EXPECT_EQ(ReadIni(section, "a", Path()), "");
    ASSERT_TRUE(WriteIni(section, QString::fromUtf8("登陆帐号"), "12345", Path()));
    EXPECT_TRUE(IniFileExists(Path()));
    EXPECT_EQ(ReadIni("other", QString::fromUtf8("登陆帐号"), Path()), "");
    EXPECT_EQ(ReadIni(section, "missing", Path()), "");
}

TEST_F(IniFileTest, FileIsCodePage936WithTheSectionAndKey) {
    ASSERT_TRUE(WriteIni(section, QString::fromUtf8("软件名称"), "ZenriBiaobai", Path()));
    const QByteArray expected =
        cp936::Encode(QString::fromUtf8("[Zenri表白网页生成]\r\n软件名称=ZenriBiaobai\r\n"));
    EXPECT_EQ(ReadRaw(), expected);
    EXPECT_EQ(ReadIni(section, QString::fromUtf8("软件名称"), Path()), "ZenriBiaobai");
}

TEST_F(IniFileTest, WritesReplaceInPlaceAndLeaveOtherLinesAlone) {
    WriteRaw(
        "; settings\r\n[Other]\r\nA=1\r\n\r\n[Main]\r\nkey=old\r\n; note\r\nz=9\r\n\r\n"
        "[Last]\r\nB=2\r\n");
    ASSERT_TRUE(WriteIni("main", "KEY", "new", Path()));
    ASSERT_TRUE(WriteIni("Main", "added", "x", Path()));
    ASSERT_TRUE(WriteIni("Fresh", "c", "3", Path()));
    EXPECT_EQ(
        ReadRaw(),
        "; settings\r\n[Other]\r\nA=1\r\n\r\n[Main]\r\nKEY=new\r\n; note\r\nz=9\r\nadded=x\r\n"
        "\r\n[Last]\r\nB=2\r\n[Fresh]\r\nc=3\r\n");
    EXPECT_EQ(ReadIni("OTHER", "a", Path()), "1");
    EXPECT_EQ(ReadIni("main", "Key", Path()), "new");
}

TEST_F(IniFileTest, ValuesLoseBlanksAndOnePairOfMatchingQuotes) {
    WriteRaw("[s]\nq1 = \"quoted\" \nq2='single'\nq3=\"mixed'\nq4=\"\"twice\"\"\nq5=  a b  \n");
    EXPECT_EQ(ReadIni("s", "q1", Path()), "quoted");
    EXPECT_EQ(ReadIni("s", "q2", Path()), "single");
    EXPECT_EQ(ReadIni("s", "q3", Path()), "\"mixed'");
    EXPECT_EQ(ReadIni("s", "q4", Path()), "\"twice\"");
    EXPECT_EQ(ReadIni("s", "q5", Path()), "a b");
    ASSERT_TRUE(WriteIni("s", "q5", "b", Path()));
    EXPECT_TRUE(ReadRaw().endsWith("q5=b\n"));  // the file's own line breaks are kept
}

TEST_F(IniFileTest, ReadsAtMost254BytesCutAtACharacter) {
    const QString ascii(300, QLatin1Char('x'));
    ASSERT_TRUE(WriteIni("s", "k", ascii, Path()));
    EXPECT_EQ(ReadIni("s", "k", Path()), ascii.left(254));
    // 'a' then two-byte characters: 1 + 2 * 126 = 253 bytes fit, the 127th would end at 255.
    const QString chinese = QStringLiteral("a") + QString(200, QChar(u'爱'));
    ASSERT_TRUE(WriteIni("s", "k", chinese, Path()));
    EXPECT_EQ(ReadIni("s", "k", Path()), chinese.left(127));
}

TEST_F(IniFileTest, FolderIsNotCreatedAndLineBreaksAreRefused) {
    EXPECT_FALSE(WriteIni("s", "k", "v", dir.filePath("missing/Zrwysc.ini")));
    EXPECT_FALSE(WriteIni("s", "k", "a\nb=c", Path()));
    EXPECT_FALSE(IniFileExists(Path()));
}

// The last line of a file without a final line break reads with one carriage return less
// ("z=9\r\r" holds the value "9\r"); a write keeps it so, whether the line stays last or a
// line comes after it.
TEST_F(IniFileTest, LastLineWithoutBreakReadsTheSameAfterAWrite) {
    for (const QByteArray& lineBreak : {QByteArray("\n"), QByteArray("\r\n")}) {
        WriteRaw("[s]" + lineBreak + "k=1" + lineBreak + "z=9\r\r");
        ASSERT_EQ(ReadIni("s", "z", Path()), "9\r");
        ASSERT_TRUE(WriteIni("s", "k", "2", Path()));
        EXPECT_EQ(ReadRaw(), "[s]" + lineBreak + "k=2" + lineBreak + "z=9\r\r");
        ASSERT_TRUE(WriteIni("s", "added", "3", Path()));
        EXPECT_EQ(ReadIni("s", "z", Path()), "9\r");
        EXPECT_EQ(ReadIni("s", "added", Path()), "3");
        EXPECT_EQ(ReadIni("s", "k", Path()), "2");
    }
}

}  // namespace
