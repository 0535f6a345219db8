// The style tables against the design: every style's editor data and its replacement steps.

#include "client/pages/Generation.h"
#include "client/pages/StyleTables.h"
#include "client/pages/TemplateStore.h"

#include <QDir>
#include <QFileInfo>
#include <QUrl>

#include <gtest/gtest.h>

#include "QtPrinters.h"

using pages::EntryKind;
using pages::StyleOf;

namespace {

QStringList Tokens(const pages::Style& style) {
    QStringList out;
    for (const pages::Step& step : style.steps)
        out << step.token;
    return out;
}

std::vector<int> Boxes(const pages::Style& style) {
    std::vector<int> out;
    for (const pages::Step& step : style.steps)
        out.push_back(step.box);
    return out;
}

QStringList Numbered(const QString& prefix, int first, int last, const QString& suffix) {
    QStringList out;
    for (int n = first; n <= last; ++n)
        out << prefix + QString::number(n) + suffix;
    return out;
}

std::vector<int> Range(int first, int last) {
    std::vector<int> out;
    for (int n = first; n <= last; ++n)
        out.push_back(n);
    return out;
}

std::vector<int> Concat(std::initializer_list<std::vector<int>> parts) {
    std::vector<int> out;
    for (const auto& p : parts)
        out.insert(out.end(), p.begin(), p.end());
    return out;
}

const QString& Sample(int style, int box) {
    return StyleOf(style).boxes[std::size_t(box)].sample;
}

TEST(StyleTables, EachStyleHasItsWindowCaptionAndEntryArray) {
    struct Expected {
        const char* window;
        QString caption;
        const char* array;
        int boxes;
        bool floating;
    };
    const Expected expected[] = {
        {"FG1", "MV+文字", "Text1", 16, false},
        {"FG2", "心形+文字+图片漂浮", "Text1", 11, true},
        {"FG3", "心形树+图片漂浮+文字", "Text1", 22, true},
        {"FG4", "文本切换", "Text8", 45, false},
        {"FG5", "打字特效+文字漂浮+MV", "Text11", 18, false},
        {"FG6", "3D画册", "Text7", 18, false},
        {"FG7", "阿狸心形表白", "Text1", 79, false},
        {"FG8", "数字时钟效果", "Text1", 21, false},
    };
    ASSERT_EQ(pages::Styles().size(), 8u);
    for (int n = 1; n <= 8; ++n) {
        const pages::Style& s = StyleOf(n);
        const Expected& e = expected[n - 1];
        EXPECT_EQ(s.number, n);
        EXPECT_EQ(s.windowName, e.window);
        EXPECT_EQ(s.caption, e.caption);
        EXPECT_EQ(s.arrayName, e.array);
        EXPECT_EQ(s.BoxCount(), e.boxes) << n;
        EXPECT_EQ(s.floatingPicture, e.floating) << n;
        for (int i = 0; i < s.BoxCount(); ++i)
            EXPECT_EQ(s.boxes[std::size_t(i)].index, i) << "style " << n;
        // Every step reads a box of the style, and every box feeds a step.
        std::vector<bool> used(std::size_t(s.BoxCount()), false);
        for (const pages::Step& step : s.steps) {
            ASSERT_GE(step.box, 0);
            ASSERT_LT(step.box, s.BoxCount());
            used[std::size_t(step.box)] = true;
        }
        for (int i = 0; i < s.BoxCount(); ++i)
            EXPECT_TRUE(used[std::size_t(i)]) << "style " << n << " box " << i;
    }
}

TEST(StyleTables, StepsOfStyles1To3) {
    EXPECT_EQ(Tokens(StyleOf(1)),
              (QStringList{"对方名字", "名字后面想说的话", "浏览器标题", "中间第一行炫彩文字",
                           "中间第二行炫彩文字", "鼠标跟随文字", "鼠标右键提示", "中间图片地址",
                           "下方视频地址", "中间第一行", "中间第二行", "中间第三行", "中间第四行",
                           "中间第五行", "中间第六行", "中间第七行"}));
    EXPECT_EQ(Boxes(StyleOf(1)), Concat({{1, 2, 0, 3, 4, 5, 6, 7, 8}, Range(9, 15)}));

    EXPECT_EQ(Tokens(StyleOf(2)),
              (QStringList{"图片地址1", "链接地址1", "音乐地址1", "浏览器标题", "对方名字",
                           "中间内容", "心框内容", "年年", "月月", "日日", "最后署名"}));
    EXPECT_EQ(Boxes(StyleOf(2)), (std::vector<int>{6, 7, 8, 0, 1, 2, 3, 4, 9, 10, 5}));

    const QStringList style3 =
        QStringList{"图片地址1", "链接地址1"} + Numbered("第", 1, 10, "行") +
        QStringList{"你得署名", "背景音乐地址", "页面下方文字", "浏览器标题", "你的名字",
                    "对方名字", "内容",         "年",           "月",         "日"};
    EXPECT_EQ(Tokens(StyleOf(3)), style3);
    EXPECT_EQ(Boxes(StyleOf(3)), Concat({{20, 21}, Range(0, 9), Range(10, 19)}));
}

TEST(StyleTables, StepsOfStyles4To8) {
    const QStringList style4 =
        Numbered("左第", 1, 10, "行") + Numbered("右第", 1, 10, "行") +
        Numbered("左第", 11, 20, "行") + Numbered("右第", 11, 20, "行") +
        QStringList{"浏览器标题", "尾面顶部图", "背景音乐", "背景颜色", "文字颜色"};
    EXPECT_EQ(Tokens(StyleOf(4)), style4);
    // Each colour comes from the box of its own name.
    EXPECT_EQ(Boxes(StyleOf(4)), Concat({Range(0, 39), {40, 41, 42, 44, 43}}));
    EXPECT_EQ(StyleOf(4).boxes[43].label, "文字颜色：");
    EXPECT_EQ(StyleOf(4).boxes[44].label, "背景颜色：");

    EXPECT_EQ(Tokens(StyleOf(5)), Numbered("左第", 1, 18, "行"));
    EXPECT_EQ(Boxes(StyleOf(5)), Range(0, 17));

    const QStringList style6 =
        Numbered("第", 1, 12, "张") +
        QStringList{"浏览器标题", "背景音乐地址", "大字", "小字", "鼠标右键", "背景颜色"};
    EXPECT_EQ(Tokens(StyleOf(6)), style6);
    EXPECT_EQ(Boxes(StyleOf(6)), Range(0, 17));

    EXPECT_EQ(Tokens(StyleOf(7)), Numbered("第", 0, 78, "张"));
    EXPECT_EQ(Boxes(StyleOf(7)), Range(0, 78));
    EXPECT_EQ(Tokens(StyleOf(8)), Numbered("第", 0, 20, "张"));
    EXPECT_EQ(Boxes(StyleOf(8)), Range(0, 20));
}

// A token that holds another token of its style goes before it.
TEST(StyleTables, ContainingTokensComeFirst) {
    for (const pages::Style& s : pages::Styles()) {
        for (std::size_t i = 0; i < s.steps.size(); ++i) {
            for (std::size_t j = i + 1; j < s.steps.size(); ++j) {
                EXPECT_FALSE(s.steps[j].token.contains(s.steps[i].token))
                    << "style " << s.number << ": " << s.steps[j].token.toStdString() << " after "
                    << s.steps[i].token.toStdString();
            }
        }
    }
}

TEST(StyleTables, SampleLiteralsOfTheEditors) {
    EXPECT_EQ(Sample(1, 0), "风格1");
    EXPECT_EQ(Sample(2, 0), "风格2");
    EXPECT_EQ(Sample(2, 1), "//亲爱的XXX：");
    EXPECT_EQ(Sample(2, 4), "2013");
    EXPECT_EQ(Sample(2, 9), "5");
    EXPECT_EQ(Sample(2, 10), "20");
    EXPECT_EQ(Sample(3, 13), "风格3");
    EXPECT_EQ(Sample(3, 16), "已经相识了");
    EXPECT_EQ(Sample(3, 17), "2013");
    EXPECT_EQ(Sample(3, 18), "10");
    EXPECT_EQ(Sample(3, 19), "1");
    EXPECT_EQ(Sample(4, 40), "风格4");
    EXPECT_EQ(Sample(4, 43), "#F3961C");
    EXPECT_EQ(Sample(4, 44), "#FFF");
    EXPECT_EQ(Sample(5, 14), "喂，我爱你");
    EXPECT_EQ(Sample(5, 15), "风格5");
    EXPECT_EQ(Sample(5, 16), "喂，我爱你");
    EXPECT_EQ(Sample(5, 17), "");
    EXPECT_EQ(Sample(6, 12), "风格6--3D相册");
    EXPECT_EQ(Sample(6, 17), "#FFCBB3");
    EXPECT_EQ(Sample(7, 78), "风格7－阿狸与桃子");
    // The partner's name in two boxes of one character each, alike.
    EXPECT_EQ(Sample(5, 11).size(), 1);
    EXPECT_EQ(Sample(5, 11), Sample(5, 12));
    // Only the box for the user's own HTML opens empty.
    for (const pages::Style& s : pages::Styles()) {
        for (const pages::EntryBox& box : s.boxes) {
            if (!(s.number == 5 && box.index == 17)) {
                EXPECT_FALSE(box.sample.isEmpty()) << "style " << s.number << " box " << box.index;
            }
        }
    }
    EXPECT_TRUE(StyleOf(2).boxes[2].multiLine);
    EXPECT_TRUE(StyleOf(5).boxes[17].multiLine);
}

TEST(StyleTables, LabelsOfTheEditors) {
    EXPECT_EQ(StyleOf(1).boxes[0].label, "网页标题：");
    EXPECT_EQ(StyleOf(1).boxes[9].label, "第一行：");
    EXPECT_EQ(StyleOf(1).boxes[15].label, "第七行：");
    EXPECT_EQ(StyleOf(2).boxes[2].label, "中间想对她（他）说的话：");
    EXPECT_EQ(StyleOf(2).boxes[7].label, "点击图片跳转地址：");
    EXPECT_EQ(StyleOf(3).boxes[9].label, "第10行：");
    EXPECT_EQ(StyleOf(3).boxes[17].label, "日期：");
    EXPECT_EQ(StyleOf(4).boxes[29].label, "第20行：");
    EXPECT_EQ(StyleOf(4).boxes[41].label, "尾页顶部图：");
    EXPECT_EQ(StyleOf(5).boxes[8].label, "Q Q：");
    EXPECT_EQ(StyleOf(5).boxes[11].label, "您爱人的姓名或小名（限两个字）");
    EXPECT_EQ(StyleOf(6).boxes[11].label, "第12张：");
    EXPECT_EQ(StyleOf(6).boxes[16].label, "鼠标右键提示语：");
    EXPECT_EQ(StyleOf(7).boxes[78].label, "标题");
    EXPECT_EQ(StyleOf(8).boxes[19].label, "");
    EXPECT_EQ(StyleOf(8).boxes[17].label, "第六页左侧文字：");
    EXPECT_EQ(StyleOf(8).boxes[20].label, "第六页中间内容：");
}

TEST(StyleTables, Style7RowsHoldTheirBoxes) {
    const auto rows = pages::Style7Rows();
    ASSERT_EQ(rows.size(), 55u);
    const std::map<int, std::vector<int>> wide = {
        {1, {0, 1, 2}}, {12, {13, 14}},         {15, {17, 18}},         {16, {19, 20}},
        {25, {29, 30}}, {35, {40, 41, 42}},     {42, {49, 50}},         {44, {52, 53}},
        {45, {54, 55}}, {46, {56, 57, 58, 59}}, {47, {60, 61, 62, 63}}, {48, {64, 65}},
        {49, {66, 67}}, {51, {69, 70, 71, 72}}, {55, {76, 77}},
    };
    int next = 0;
    for (int row = 1; row <= 55; ++row) {
        const auto it = wide.find(row);
        const std::vector<int> expected = it != wide.end() ? it->second : std::vector<int>{next};
        EXPECT_EQ(rows[std::size_t(row - 1)], expected) << "row " << row;
        next = expected.back() + 1;
        // The first box of a row carries the row's label.
        EXPECT_EQ(StyleOf(7).boxes[std::size_t(expected.front())].label,
                  QStringLiteral("第%1张图").arg(row));
    }
    EXPECT_EQ(next, 78);
}

// Sample addresses name the service's own files, through the configured address, and those
// files are there.
TEST(StyleTables, SampleAddressesNameFilesOfTheService) {
    const QString service = QStringLiteral("http://zenri.example:8080");
    int addresses = 0;
    for (const pages::Style& s : pages::Styles()) {
        for (const pages::EntryBox& box : s.boxes) {
            const bool address = box.kind == EntryKind::Picture || box.kind == EntryKind::Music ||
                                 box.kind == EntryKind::Video || box.kind == EntryKind::Link;
            if (!address)
                continue;
            ++addresses;
            const QString text = pages::SampleText(box, service);
            ASSERT_TRUE(text.startsWith(service + "/")) << text.toStdString();
            const QString path = QUrl(text).path();
            if (path == "/")
                continue;
            ASSERT_TRUE(path.startsWith("/biaobai/")) << text.toStdString();
            EXPECT_TRUE(QFileInfo(QStringLiteral(ZR_SOURCE_DIR "/assets/site") + path).isFile())
                << "style " << s.number << " box " << box.index << ": " << path.toStdString();
        }
    }
    EXPECT_EQ(addresses, 25);
}

}  // namespace
