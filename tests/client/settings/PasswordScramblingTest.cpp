#include "client/settings/IniFile.h"
#include "client/settings/PasswordScrambling.h"

#include <QRandomGenerator>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <climits>
#include <vector>

using namespace scrambling;

namespace {

int Fixed(int value) {
    return value;
}

TEST(PasswordScrambling, KeyNumberOfTheProgramKey) {
    EXPECT_EQ(KeyNumber("ZuKoMarn"), 13);
    EXPECT_EQ(KeyNumber(""), 0);
}

TEST(PasswordScrambling, GroupsOfSixBecomeTen) {
    for (auto [in, out] : {std::pair{0, 0}, {1, 2}, {2, 3}, {6, 10}, {7, 12}, {12, 20}}) {
        const std::vector<int> codes(static_cast<size_t>(in), 'a');
        EXPECT_EQ(ScrambleCodes(codes, 13).size(), static_cast<size_t>(out)) << in;
    }
    EXPECT_EQ(ScramblePassword("", "ZuKoMarn"), "");
    EXPECT_EQ(UnscramblePassword("", "ZuKoMarn"), "");
}

TEST(PasswordScrambling, CodedPositionsAndFillers) {
    // "abcdef" with K = 13: shifts +9, -7, +14, -6, +13, -11; fillers at 2, 5, 7, 10.
    const auto out = ScrambleCodes(CodesOf("abcdef"), 13, [] { return Fixed('#'); });
    const std::vector<int> expected = {'a' + 9, '#', 'b' - 7,  'c' + 14, '#',
                                       'd' - 6, '#', 'e' + 13, 'f' - 11, '#'};
    EXPECT_EQ(out, expected);
}

TEST(PasswordScrambling, TwoScramblingsDifferOnlyInFillers) {
    const auto codes = CodesOf("password12");
    const auto a = ScrambleCodes(codes, 13, [] { return Fixed(40); });
    const auto b = ScrambleCodes(codes, 13, [] { return Fixed(41); });
    ASSERT_EQ(a.size(), b.size());
    for (size_t i = 0; i < a.size(); ++i) {
        const size_t q = (i + 1) % 10;
        const bool filler = q == 2 || q == 5 || q == 7 || q == 0;
        EXPECT_EQ(a[i] != b[i], filler) << i;
    }
    EXPECT_EQ(UnscrambleCodes(a, 13), codes);
    EXPECT_EQ(UnscrambleCodes(b, 13), codes);
}

TEST(PasswordScrambling, StoredTextSurvivesAwkwardCodes) {
    // Control codes, a lone lead byte, codes outside the table, a backslash, blanks and quotes
    // at both ends.
    const std::vector<int> codes = {' ', 5, 0x85, 300, -6, '\\', '{', '}', 'A', '"', '\''};
    const QString stored = CodesToStoredText(codes);
    EXPECT_FALSE(stored.startsWith(' '));
    EXPECT_FALSE(stored.endsWith('\''));
    EXPECT_EQ(StoredTextToCodes(stored), codes);
}

// A settings file edited by hand may hold any number as "\{code}"; a shift that would take one
// past the range of int leaves it at the end of the range, which is no character.
TEST(PasswordScrambling, ExtremeStoredCodesStayOutOfTheTable) {
    EXPECT_EQ(UnscrambleCodes({INT_MIN}, 13), std::vector<int>{INT_MIN});
    EXPECT_EQ(UnscrambleCodes({'a', 'b', INT_MAX}, 13), (std::vector<int>{'a' - 9, INT_MAX}));
    EXPECT_EQ(UnscramblePassword("\\{-2147483648}", "ZuKoMarn"), QString(QChar(0xFFFD)));
    EXPECT_EQ(UnscramblePassword("ab\\{2147483647}", "ZuKoMarn"),
              QStringLiteral("X") + QChar(0xFFFD));
}

// Thousands of random passwords through scrambling, a real settings file and back.
TEST(PasswordScrambling, RandomPasswordsRoundTripThroughTheSettingsFile) {
    QTemporaryDir dir;
    const QString path = dir.filePath("Zrwysc.ini");
    const QString section = QString::fromUtf8("Zenri表白网页生成");
    const QString key = QString::fromUtf8("登陆密码");
    QRandomGenerator random(20261209);
    const QString chinese = QString::fromUtf8("爱你一生一世我们在起永远的心表白－～啊齄");
    for (int round = 0; round < 3000; ++round) {
        QString password;
        const int length = 1 + random.bounded(20);
        const bool withChinese = round % 5 == 0;
        for (int i = 0; i < length; ++i) {
            if (withChinese && random.bounded(2) == 0) {
                password += chinese[random.bounded(chinese.size())];
            } else {
                password += QChar(32 + random.bounded(95));
            }
        }
        const QString stored = ScramblePassword(password, "ZuKoMarn");
        ASSERT_TRUE(WriteIni(section, key, stored, path));
        const QString back = ReadIni(section, key, path);
        ASSERT_EQ(UnscramblePassword(back, "ZuKoMarn"), password)
            << password.toStdString() << " stored as " << stored.toStdString();
    }
}

}  // namespace
