// Turning a template and the entries into the page: the replacement rules, on small templates
// made for each case and on the program's own templates.

#include "client/pages/Generation.h"
#include "client/pages/StyleTables.h"
#include "client/pages/TemplateStore.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "QtPrinters.h"

using pages::StyleOf;

namespace {

// A template store read from a folder of hand-made templates.
class Templates {
public:
    Templates() { Write("PF", "[PF 图片地址1 链接地址1]"); }
    void Write(const QString& name, const QString& text) {
        QFile file(dir_.filePath(name + ".htm"));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(text.toUtf8());
    }
    pages::TemplateStore Store(const QString& service = "http://svc") const {
        return pages::TemplateStore(service, dir_.path());
    }

private:
    QTemporaryDir dir_;
};

// Boxes that all hold the same text, or the text given for some of them.
pages::BoxReader Entries(std::map<int, QString> boxes, QString others = QString()) {
    return [boxes, others](int i) {
        const auto it = boxes.find(i);
        return it == boxes.end() ? others : it->second;
    };
}

TEST(Generation, ContainedTokensGoWholeFirst) {
    Templates t;
    t.Write("FG1", "A中间第一行炫彩文字B中间第一行C中间第二行炫彩文字D中间第二行");
    const auto store = t.Store();
    EXPECT_EQ(pages::GeneratePage(StyleOf(1), Entries({{3, "x"}, {4, "y"}, {9, "1"}, {10, "2"}}),
                                  false, store),
              "AxB1CyD2");
    // All boxes empty: every token goes, the long one whole at its own step.
    EXPECT_EQ(pages::GeneratePage(StyleOf(1), Entries({}), false, store), "ABCD");
}

TEST(Generation, EveryOccurrenceLeftToRightWithoutOverlap) {
    Templates t;
    t.Write("FG2", "年年年|年年年年|月月|日日日");
    const auto store = t.Store();
    EXPECT_EQ(
        pages::GeneratePage(StyleOf(2), Entries({{4, "Y"}, {9, "M"}, {10, "D"}}), false, store),
        "Y年|YY|M|D日");
}

// What a step inserts is not searched again by that step, but by every later one.
TEST(Generation, InsertedTextIsSearchedByLaterStepsOnly) {
    Templates t;
    t.Write("FG1", "<title>浏览器标题</title><p>对方名字名字后面想说的话</p>");
    const auto store = t.Store();
    const QString page = pages::GeneratePage(
        StyleOf(1), Entries({{0, "T"}, {1, "对方名字!"}, {2, "看浏览器标题"}}), false, store);
    EXPECT_EQ(page, "<title>T</title><p>对方名字!看T</p>");
}

TEST(Generation, EntriesLandExactlyAsTyped) {
    Templates t;
    t.Write("FG1", "<script>var s = \"鼠标跟随文字\";</script><p>对方名字</p>");
    const auto store = t.Store();
    const QString hostile = QStringLiteral("\"'<>&\r\n  two  spaces \t");
    const QString page =
        pages::GeneratePage(StyleOf(1), Entries({{5, hostile}, {1, hostile}}), false, store);
    EXPECT_EQ(page, "<script>var s = \"" + hostile + "\";</script><p>" + hostile + "</p>");
}

TEST(Generation, Style3DatesReplaceEveryCharacterOfTheirKind) {
    Templates t;
    t.Write("FG3", "<p>第1行</p><p>年-月-日</p><!-- 年月日 -->");
    const auto store = t.Store();
    const QString page = pages::GeneratePage(
        StyleOf(3), Entries({{0, "一年又一月，日日想你"}, {17, "2013"}, {18, "10"}, {19, "1"}}),
        false, store);
    EXPECT_EQ(page, "<p>一2013又一10，11想你</p><p>2013-10-1</p><!-- 2013101 -->");
}

TEST(Generation, FloatingPictureGoesInFrontOnlyWhenTicked) {
    Templates t;
    t.Write("FG2", "<!DOCTYPE html>音乐地址1");
    t.Write("FG3", "<!DOCTYPE html>背景音乐地址");
    const auto store = t.Store();
    for (int style : {2, 3}) {
        const auto box = Entries({}, "E");
        const QString plain = pages::GeneratePage(StyleOf(style), box, false, store);
        EXPECT_EQ(plain, "<!DOCTYPE html>E");
        const QString floating = pages::GeneratePage(StyleOf(style), box, true, store);
        EXPECT_EQ(floating, "[PF E E]<!DOCTYPE html>E");
    }
    // Other styles have no floating picture, whatever is asked.
    t.Write("FG4", "<!DOCTYPE html>");
    EXPECT_EQ(pages::GeneratePage(StyleOf(4), Entries({}), true, t.Store()), "<!DOCTYPE html>");
}

TEST(Generation, NumberedTokensFillOnlyTheirOwnPlace) {
    Templates t;
    QString text;
    for (int i = 0; i <= 78; ++i)
        text += QStringLiteral("[第%1张]").arg(i);
    t.Write("FG7", text);
    const auto store = t.Store();
    QString expected;
    for (int i = 0; i <= 78; ++i)
        expected += QStringLiteral("[<%1>]").arg(i);
    EXPECT_EQ(pages::GeneratePage(
                  StyleOf(7), [](int i) { return QStringLiteral("<%1>").arg(i); }, false, store),
              expected);
}

TEST(Generation, FGTHOverwritesTheWorkBufferAndRepeatsItself) {
    Templates t;
    t.Write("FG8", "<title>第0张</title>");
    const auto store = t.Store();
    QString FGN = QStringLiteral("the page before");
    pages::FGTH(StyleOf(8), Entries({{0, "T"}}), false, store, FGN);
    EXPECT_EQ(FGN, "<title>T</title>");
    const QString first = FGN;
    pages::FGTH(StyleOf(8), Entries({{0, "T"}}), false, store, FGN);
    EXPECT_EQ(FGN, first);
}

TEST(Generation, MissingTokenLeavesTheTemplateAsItIs) {
    Templates t;
    t.Write("FG6", "<p>nothing to fill</p>");
    EXPECT_EQ(pages::GeneratePage(StyleOf(6), Entries({}, "x"), false, t.Store()),
              "<p>nothing to fill</p>");
}

// On the program's own templates: the sample page keeps every sample text whole (no sample
// holds a later token), and with every box empty no token is left.
TEST(Generation, OwnTemplatesWithSamplesAndWithNothing) {
    const pages::TemplateStore store(QStringLiteral("http://127.0.0.1:8080"));
    for (const pages::Style& s : pages::Styles()) {
        for (bool floating : {false, true}) {
            if (floating && !s.floatingPicture)
                continue;
            const QString sample = pages::SamplePage(s, floating, false, store);
            for (const pages::EntryBox& box : s.boxes) {
                if (box.kind == pages::EntryKind::Text || box.kind == pages::EntryKind::Html ||
                    box.kind == pages::EntryKind::Title) {
                    EXPECT_TRUE(sample.contains(box.sample))
                        << "style " << s.number << " box " << box.index;
                }
            }
            const QString empty = pages::SamplePage(s, floating, true, store);
            for (const pages::Step& step : s.steps) {
                EXPECT_FALSE(empty.contains(step.token))
                    << "style " << s.number << ": " << step.token.toStdString();
            }
            if (floating) {
                EXPECT_TRUE(sample.startsWith(store.Template(u"PF").left(20)));
            } else {
                EXPECT_TRUE(sample.startsWith("<!DOCTYPE html>")) << s.number;
            }
        }
    }
}

}  // namespace
