// The templates as the program carries them: every token where and as often as its entry
// belongs, only characters of code page 936, the character set declared where a browser looks
// for it, and the service address written in through the marker.

#include "client/pages/StyleTables.h"
#include "client/pages/TemplateStore.h"
#include "common/Codepage936.h"

#include <QRegularExpression>

#include <gtest/gtest.h>

#include "QtPrinters.h"

namespace {

using Counts = std::map<QString, int>;

Counts Each(const QStringList& tokens, int count) {
    Counts out;
    for (const QString& t : tokens)
        out[t] = count;
    return out;
}
QStringList Numbered(const QString& prefix, int first, int last, const QString& suffix) {
    QStringList out;
    for (int n = first; n <= last; ++n)
        out << prefix + QString::number(n) + suffix;
    return out;
}
Counts With(Counts base, const Counts& more) {
    for (const auto& [token, count] : more)
        base[token] = count;
    return base;
}

// How often each token of a style occurs in its template as stored. The title appears twice
// (the page title and the card of a shared link); a token inside a longer one counts there too.
const std::map<QString, Counts>& ExpectedCounts() {
    static const std::map<QString, Counts> counts = {
        {"FG1",
         With(Each({"对方名字", "名字后面想说的话", "中间第一行炫彩文字", "中间第二行炫彩文字",
                    "鼠标跟随文字", "鼠标右键提示", "下方视频地址", "中间第三行", "中间第四行",
                    "中间第五行", "中间第六行", "中间第七行"},
                   1),
              {{"浏览器标题", 2}, {"中间图片地址", 2}, {"中间第一行", 2}, {"中间第二行", 2}})},
        {"FG2", With(Each({"音乐地址1", "对方名字", "中间内容", "心框内容", "年年", "月月", "日日",
                           "最后署名"},
                          1),
                     {{"浏览器标题", 2}, {"图片地址1", 0}, {"链接地址1", 0}})},
        {"FG3", With(Each(Numbered("第", 1, 10, "行") +
                              QStringList{"你得署名", "背景音乐地址", "页面下方文字", "你的名字",
                                          "对方名字", "内容", "年", "月", "日"},
                          1),
                     {{"浏览器标题", 2}, {"图片地址1", 0}, {"链接地址1", 0}})},
        {"FG4", With(Each(Numbered("左第", 1, 20, "行") + Numbered("右第", 1, 20, "行") +
                              QStringList{"尾面顶部图", "背景音乐", "文字颜色"},
                          1),
                     {{"浏览器标题", 2}, {"背景颜色", 2}})},
        {"FG5",
         With(
             Each(Numbered("左第", 1, 18, "行"), 1),
             {{"左第9行", 2}, {"左第12行", 6}, {"左第13行", 6}, {"左第16行", 2}, {"左第17行", 2}})},
        {"FG6", With(Each(Numbered("第", 1, 12, "张") +
                              QStringList{"背景音乐地址", "大字", "小字", "鼠标右键"},
                          1),
                     {{"浏览器标题", 2}, {"背景颜色", 2}})},
        {"FG7", With(Each(Numbered("第", 0, 77, "张"), 1), {{"第78张", 2}})},
        {"FG8", With(Each(Numbered("第", 2, 20, "张"), 1), {{"第0张", 2}, {"第1张", 2}})},
    };
    return counts;
}

TEST(Templates, EveryTokenOccursAsOftenAsItsEntryBelongs) {
    for (const pages::Style& s : pages::Styles()) {
        const QString text = pages::TemplateStore::StoredText(s.windowName);
        ASSERT_FALSE(text.isEmpty()) << s.windowName.toStdString();
        const Counts& expected = ExpectedCounts().at(s.windowName);
        EXPECT_EQ(expected.size(), s.steps.size()) << s.windowName.toStdString();
        for (const pages::Step& step : s.steps) {
            const auto it = expected.find(step.token);
            ASSERT_NE(it, expected.end()) << step.token.toStdString();
            EXPECT_EQ(text.count(step.token), it->second)
                << s.windowName.toStdString() << ": " << step.token.toStdString();
        }
    }
    const QString pf = pages::TemplateStore::StoredText(u"PF");
    EXPECT_EQ(pf.count(pages::FloatingPictureToken()), 1);
    EXPECT_EQ(pf.count(pages::FloatingLinkToken()), 1);
}

// No token sits inside a script: an entry with a quote or a line break would stop it.
TEST(Templates, NoTokenInsideAScript) {
    static const QRegularExpression script(
        QStringLiteral("<script[^>]*>(.*?)</script>"),
        QRegularExpression::DotMatchesEverythingOption | QRegularExpression::CaseInsensitiveOption);
    for (const QString& name : pages::TemplateStore::Names()) {
        const QString text = pages::TemplateStore::StoredText(name);
        QStringList tokens{pages::FloatingPictureToken(), pages::FloatingLinkToken()};
        if (name != "PF") {
            for (const pages::Step& step : pages::StyleOf(name.mid(2).toInt()).steps)
                tokens << step.token;
        }
        for (const auto& match : script.globalMatch(text)) {
            for (const QString& token : tokens)
                EXPECT_FALSE(match.captured(1).contains(token))
                    << name.toStdString() << ": " << token.toStdString();
        }
    }
}

TEST(Templates, OnlyCharactersOfCodePage936) {
    for (const QString& name : pages::TemplateStore::Names()) {
        const QString text = pages::TemplateStore::StoredText(name);
        for (qsizetype i = 0; i < text.size(); ++i) {
            const char16_t u = text[i].unicode();
            ASSERT_TRUE(u == '?' || cp936::CodeOf(u) != '?')
                << name.toStdString() << " at " << i << ": U+" << std::hex << int(u);
        }
        // And it comes back from its bytes unchanged.
        EXPECT_EQ(cp936::Decode(cp936::Encode(text)), text) << name.toStdString();
    }
}

TEST(Templates, CharacterSetIsDeclaredInTheFirst1024Bytes) {
    for (const pages::Style& s : pages::Styles()) {
        const QByteArray head =
            cp936::Encode(pages::TemplateStore::StoredText(s.windowName)).left(1024);
        const QByteArray charset = s.number == 5 ? "gb2312" : "GBK";
        const QRegularExpression declared(QStringLiteral("<meta[^>]*charset=[\"']?%1[\"'\\s/>]")
                                              .arg(QString::fromLatin1(charset)));
        EXPECT_TRUE(declared.match(QString::fromLatin1(head)).hasMatch()) << s.number;
        EXPECT_TRUE(head.startsWith("<!DOCTYPE html>")) << s.number;
        EXPECT_TRUE(head.contains("<head>")) << s.number;
    }
    // The snippet has no head of its own.
    EXPECT_FALSE(pages::TemplateStore::StoredText(u"PF").contains("<head"));
}

TEST(Templates, ServiceAddressIsWrittenThroughTheMarker) {
    const QString marker = QString::fromUtf16(pages::kServiceMarker);
    // The marker is no token and contains none.
    for (const pages::Style& s : pages::Styles()) {
        for (const pages::Step& step : s.steps) {
            EXPECT_FALSE(marker.contains(step.token)) << step.token.toStdString();
            EXPECT_FALSE(step.token.contains(marker));
        }
    }
    const QString service = QStringLiteral("http://pages.example:8123");
    const pages::TemplateStore store(service);
    for (const QString& name : pages::TemplateStore::Names()) {
        const QString stored = pages::TemplateStore::StoredText(name);
        const QString& loaded = store.Template(name);
        EXPECT_FALSE(loaded.contains(marker)) << name.toStdString();
        EXPECT_EQ(loaded.count(service + "/"), stored.count(marker + "/")) << name.toStdString();
        EXPECT_EQ(QString(stored).replace(marker, service), loaded);
    }
    EXPECT_EQ(store.Template(u"FG9"), "");
    // Styles 2 to 8 load their scripts from the service; style 1 and the snippet load nothing
    // from it (style 1 names the service only in its link card).
    static const QRegularExpression load(QStringLiteral("(src|href)=\"%SERVICE%[^\"]*\""));
    for (int n = 2; n <= 8; ++n) {
        EXPECT_TRUE(pages::TemplateStore::StoredText(QStringLiteral("FG%1").arg(n))
                        .contains("<script src=\"" + marker + "/biaobai/"))
            << n;
    }
    EXPECT_FALSE(load.match(pages::TemplateStore::StoredText(u"FG1")).hasMatch());
    EXPECT_FALSE(pages::TemplateStore::StoredText(u"PF").contains(marker));
}

// Nothing loads from another host: every script, style sheet and picture the templates name
// is on the service.
TEST(Templates, NothingLoadsFromAnotherHost) {
    static const QRegularExpression outside(
        QStringLiteral("(?:src=|url\\(|<link[^>]*href=)[\"']?(?:https?:)?//"),
        QRegularExpression::CaseInsensitiveOption);
    for (const QString& name : pages::TemplateStore::Names()) {
        const QString text = pages::TemplateStore::StoredText(name);
        const auto match = outside.match(text);
        EXPECT_FALSE(match.hasMatch())
            << name.toStdString() << ": " << text.mid(match.capturedStart(), 80).toStdString();
    }
}

}  // namespace
