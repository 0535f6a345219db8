#include "client/pages/StyleTables.h"

#include <QtGlobal>

namespace pages {
namespace {

using K = EntryKind;

// Where the samples' assets live on the service.
const QString kSite = QString::fromUtf16(kServiceMarker);
const QString kMusic = kSite + QStringLiteral("/biaobai/media/love-song.mp3");
const QString kVideo = kSite + QStringLiteral("/biaobai/media/love-clip.mp4");
const QString kFloatingPicture = kSite + QStringLiteral("/biaobai/fg2/float.png");
const QString kHome = kSite + QStringLiteral("/");

EntryBox Box(int index, const char16_t* label, const QString& sample, K kind = K::Text) {
    return {index, QString::fromUtf16(label), sample, kind, false};
}
EntryBox Box(int index, const char16_t* label, const char16_t* sample, K kind = K::Text) {
    return Box(index, label, QString::fromUtf16(sample), kind);
}

// Steps "prefix + n + suffix" for n = first .. last, from box firstBox on.
void AddNumberedSteps(std::vector<Step>& steps, const char16_t* prefix, int first, int last,
                      const char16_t* suffix, int firstBox) {
    for (int n = first; n <= last; ++n) {
        steps.push_back(
            {QString::fromUtf16(prefix) + QString::number(n) + QString::fromUtf16(suffix),
             firstBox + n - first});
    }
}

void AddStep(std::vector<Step>& steps, const char16_t* token, int box) {
    steps.push_back({QString::fromUtf16(token), box});
}

// Boxes sorted by index; the tables below list them in the order the editor shows them.
std::vector<EntryBox> ByIndex(std::vector<EntryBox> boxes) {
    std::sort(boxes.begin(), boxes.end(),
              [](const EntryBox& a, const EntryBox& b) { return a.index < b.index; });
    return boxes;
}

Style Style1() {
    Style s;
    s.number = 1;
    s.windowName = QStringLiteral("FG1");
    s.caption = QStringLiteral("MV+文字");
    s.arrayName = QStringLiteral("Text1");
    s.boxes = ByIndex({
        Box(0, u"网页标题：", u"风格1", K::Title),
        Box(1, u"对方名字：", u"小雨"),
        Box(2, u"名字后面想说的话：", u"，我喜欢你，很久很久了"),
        Box(3, u"第一行炫彩文字：", u"世界那么大，我只想和你在一起"),
        Box(4, u"第二行炫彩文字：", u"余生很长，请多指教"),
        Box(5, u"鼠标跟随文字：", u"我喜欢你"),
        Box(6, u"鼠标右键提示：", u"别找啦，我的心早就被你偷走了～"),
        Box(7, u"中间图片地址：", kSite + QStringLiteral("/biaobai/fg1/photo.jpg"), K::Picture),
        Box(8, u"下方视频地址：", kVideo, K::Video),
        Box(9, u"第一行：", u"从遇见你的那一刻起"),
        Box(10, u"第二行：", u"我的世界开始有了颜色"),
        Box(11, u"第三行：", u"想和你一起看日出日落"),
        Box(12, u"第四行：", u"一起走过春夏秋冬"),
        Box(13, u"第五行：", u"把每一个平凡的日子"),
        Box(14, u"第六行：", u"都过成我们的纪念日"),
        Box(15, u"第七行：", u"我爱你，不止一点点"),
    });
    AddStep(s.steps, u"对方名字", 1);
    AddStep(s.steps, u"名字后面想说的话", 2);
    AddStep(s.steps, u"浏览器标题", 0);
    AddStep(s.steps, u"中间第一行炫彩文字", 3);
    AddStep(s.steps, u"中间第二行炫彩文字", 4);
    AddStep(s.steps, u"鼠标跟随文字", 5);
    AddStep(s.steps, u"鼠标右键提示", 6);
    AddStep(s.steps, u"中间图片地址", 7);
    AddStep(s.steps, u"下方视频地址", 8);
    const char16_t* lines[] = {u"中间第一行", u"中间第二行", u"中间第三行", u"中间第四行",
                               u"中间第五行", u"中间第六行", u"中间第七行"};
    for (int i = 0; i < 7; ++i)
        AddStep(s.steps, lines[i], 9 + i);
    return s;
}

// The letter of style 2: program comments, each line ending in the line-break tag, since the
// page does not break lines of its own.
const char16_t kLetter[] =
    u"// 亲爱的，不知不觉，我们已经一起走过了好多个春夏秋冬。<br>\n"
    u"// 还记得第一次见到你的那天，阳光正好，你的笑容比阳光还要温暖。<br>\n"
    u"// 从那以后，我的每一天都多了一份期待，期待见到你，期待听到你的声音。<br>\n"
    u"// 我不是一个会说甜言蜜语的人，但我想把最真的心意，一字一句写给你。<br>\n"
    u"// 和你在一起的时候，连空气都是甜的；你不在身边的时候，我数着时间等你。<br>\n"
    u"// 以后的路，我想牵着你的手一起走：晴天陪你看风景，雨天为你撑起伞。<br>\n"
    u"// 如果你愿意，就让我照顾你，一辈子。<br>";

Style Style2() {
    Style s;
    s.number = 2;
    s.windowName = QStringLiteral("FG2");
    s.caption = QStringLiteral("心形+文字+图片漂浮");
    s.arrayName = QStringLiteral("Text1");
    s.floatingPicture = true;
    s.boxes = ByIndex({
        Box(0, u"网页标题：", u"风格2", K::Title),
        Box(1, u"开头署名：", u"//亲爱的XXX："),
        {2, QStringLiteral("中间想对她（他）说的话："), QString::fromUtf16(kLetter), K::Html, true},
        Box(3, u"心框内的话：", u"你是我今生最美的相遇"),
        Box(4, u"相识时间：", u"2013", K::Number),
        Box(9, u"", u"5", K::Number),
        Box(10, u"", u"20", K::Number),
        Box(5, u"结尾署名或一句话：", u"爱你的阿哲，一直都在"),
        Box(8, u"背景音乐地址：", kMusic, K::Music),
        Box(6, u"漂浮图片地址：", kFloatingPicture, K::Picture),
        Box(7, u"点击图片跳转地址：", kHome, K::Link),
    });
    AddStep(s.steps, u"图片地址1", 6);
    AddStep(s.steps, u"链接地址1", 7);
    AddStep(s.steps, u"音乐地址1", 8);
    AddStep(s.steps, u"浏览器标题", 0);
    AddStep(s.steps, u"对方名字", 1);
    AddStep(s.steps, u"中间内容", 2);
    AddStep(s.steps, u"心框内容", 3);
    AddStep(s.steps, u"年年", 4);
    AddStep(s.steps, u"月月", 9);
    AddStep(s.steps, u"日日", 10);
    AddStep(s.steps, u"最后署名", 5);
    return s;
}

// Style 3 replaces every 年, 月 and 日 of the page with the date entries, those typed into the
// lines included, so its samples keep clear of the three characters and of "内容".
Style Style3() {
    Style s;
    s.number = 3;
    s.windowName = QStringLiteral("FG3");
    s.caption = QStringLiteral("心形树+图片漂浮+文字");
    s.arrayName = QStringLiteral("Text1");
    s.floatingPicture = true;
    const char16_t* lines[] = {
        u"// 亲爱的，遇见你之前，我不知道什么叫心动",
        u"// 遇见你之后，我的心里装的全是你",
        u"// 我想把世界上最好的，都留给你",
        u"// 想陪你看清晨的第一缕阳光",
        u"// 想陪你走过每一个春夏秋冬",
        u"// 想在你难过的时候，紧紧抱住你",
        u"// 想在你开心的时候，陪你一起笑",
        u"// 我知道我不够完美",
        u"// 但我会用全部的真心去爱你",
        u"// 你愿意做我的女朋友吗？",
    };
    std::vector<EntryBox> boxes;
    for (int i = 0; i < 10; ++i) {
        boxes.push_back({i, QStringLiteral("第%1行：").arg(i + 1), QString::fromUtf16(lines[i]),
                         K::Text, false});
    }
    for (const EntryBox& box : {
             Box(10, u"你的署名：", u"爱你的小杰"),
             Box(11, u"背景音乐地址：", kMusic, K::Music),
             Box(12, u"最下方署名：", u"献给我最爱的你"),
             Box(13, u"浏览器标题：", u"风格3", K::Title),
             Box(14, u"你的名字：", u"小杰"),
             Box(15, u"对方名字：", u"小雨"),
             Box(16, u"内容：", u"已经相识了"),
             Box(17, u"日期：", u"2013", K::Number),
             Box(18, u"", u"10", K::Number),
             Box(19, u"", u"1", K::Number),
             Box(20, u"漂浮图片地址：", kFloatingPicture, K::Picture),
             Box(21, u"点击图片跳转地址：", kHome, K::Link),
         }) {
        boxes.push_back(box);
    }
    s.boxes = ByIndex(boxes);
    AddStep(s.steps, u"图片地址1", 20);
    AddStep(s.steps, u"链接地址1", 21);
    AddNumberedSteps(s.steps, u"第", 1, 10, u"行", 0);
    AddStep(s.steps, u"你得署名", 10);
    AddStep(s.steps, u"背景音乐地址", 11);
    AddStep(s.steps, u"页面下方文字", 12);
    AddStep(s.steps, u"浏览器标题", 13);
    AddStep(s.steps, u"你的名字", 14);
    AddStep(s.steps, u"对方名字", 15);
    AddStep(s.steps, u"内容", 16);
    AddStep(s.steps, u"年", 17);
    AddStep(s.steps, u"月", 18);
    AddStep(s.steps, u"日", 19);
    return s;
}

// Style 4: twenty pages, each a short phrase and a sentence.
Style Style4() {
    Style s;
    s.number = 4;
    s.windowName = QStringLiteral("FG4");
    s.caption = QStringLiteral("文本切换");
    s.arrayName = QStringLiteral("Text8");
    const char16_t* pages[20][2] = {
        {u"第一次见你", u"那天的风很轻，你的笑容一下子就住进了我心里。"},
        {u"后来呀", u"我总是找各种理由出现在你身边，只为多看你一眼。"},
        {u"你知道吗", u"每次手机亮起，我都希望那条消息是你发来的。"},
        {u"我开始期待", u"期待每一个清晨的问候，和每一个夜晚的晚安。"},
        {u"不知从何时起", u"你的喜怒哀乐，都成了我心里最重要的事。"},
        {u"我想告诉你", u"和你在一起的每一分钟，都是我最快乐的时光。"},
        {u"我会记得", u"你爱吃的菜，你喜欢的歌，还有你说过的每一句话。"},
        {u"如果你累了", u"我的肩膀永远为你留着，让你安心地靠一靠。"},
        {u"如果你难过", u"我会陪在你身边，一直到你重新笑起来。"},
        {u"我不太会说情话", u"但我想用行动告诉你，我是认真的。"},
        {u"我想和你", u"一起去看海，一起吹晚风，一起数星星。"},
        {u"我想和你", u"一起逛超市，一起做饭，一起把日子过成诗。"},
        {u"我想和你", u"从青丝到白发，从相遇到相守。"},
        {u"这个世界很大", u"可我的眼里，只装得下一个你。"},
        {u"时间会走", u"但我对你的喜欢，只会越来越多。"},
        {u"所以", u"请允许我，用余生来好好爱你。"},
        {u"我保证", u"不让你受委屈，不让你一个人偷偷哭。"},
        {u"我保证", u"每一个节日，每一个纪念日，都陪在你身边。"},
        {u"现在", u"我鼓起所有的勇气，想问你一句话。"},
        {u"做我女朋友好吗？", u"我喜欢你，很久很久了。"},
    };
    std::vector<EntryBox> boxes;
    // Row N (1 to 10) holds boxes N-1 and N+9; row N (11 to 20) holds N+9 and N+19.
    for (int row = 1; row <= 20; ++row) {
        const int left = row <= 10 ? row - 1 : row + 9;
        const int right = row <= 10 ? row + 9 : row + 19;
        boxes.push_back({left, QStringLiteral("第%1行：").arg(row),
                         QString::fromUtf16(pages[row - 1][0]), K::Text, false});
        boxes.push_back({right, QString(), QString::fromUtf16(pages[row - 1][1]), K::Text, false});
    }
    boxes.push_back(Box(40, u"浏览器标题：", u"风格4", K::Title));
    boxes.push_back(
        Box(41, u"尾页顶部图：", kSite + QStringLiteral("/biaobai/fg4/top.jpg"), K::Picture));
    boxes.push_back(Box(42, u"背景音乐：", kMusic, K::Music));
    boxes.push_back(Box(43, u"文字颜色：", u"#F3961C", K::Colour));
    boxes.push_back(Box(44, u"背景颜色：", u"#FFF", K::Colour));
    s.boxes = ByIndex(boxes);
    AddNumberedSteps(s.steps, u"左第", 1, 10, u"行", 0);
    AddNumberedSteps(s.steps, u"右第", 1, 10, u"行", 10);
    AddNumberedSteps(s.steps, u"左第", 11, 20, u"行", 20);
    AddNumberedSteps(s.steps, u"右第", 11, 20, u"行", 30);
    AddStep(s.steps, u"浏览器标题", 40);
    AddStep(s.steps, u"尾面顶部图", 41);
    AddStep(s.steps, u"背景音乐", 42);
    // Each colour token takes the box of its own name, so that the labels, the samples and
    // the page agree: the background from "背景颜色：", the large text from "文字颜色：".
    // The samples carry their "#"; the template writes none.
    AddStep(s.steps, u"背景颜色", 44);
    AddStep(s.steps, u"文字颜色", 43);
    return s;
}

Style Style5() {
    Style s;
    s.number = 5;
    s.windowName = QStringLiteral("FG5");
    s.caption = QStringLiteral("打字特效+文字漂浮+MV");
    s.arrayName = QStringLiteral("Text11");
    const char16_t* lines[] = {
        u"亲爱的，你知道吗？",
        u"从第一眼看到你，我就再也忘不掉你了。",
        u"每天醒来的第一件事，就是想你。",
        u"每天睡前的最后一件事，还是想你。",
        u"我想牵着你的手，走过所有的四季。",
        u"我想把我全部的温柔，都留给你一个人。",
        u"这一辈子，我只想对你好。",
    };
    std::vector<EntryBox> boxes;
    for (int i = 0; i < 7; ++i) {
        boxes.push_back({i, QStringLiteral("第%1行：").arg(i + 1), QString::fromUtf16(lines[i]),
                         K::Text, false});
    }
    for (const EntryBox& box : {
             Box(7, u"你的名字：", u"阿哲"),
             Box(8, u"Q Q：", u"88888888", K::Number),
             Box(9, u"", u"我爱你，不是说说而已。"),
             Box(10, u"", u"往后余生，只想和你一起度过。"),
             Box(11, u"您爱人的姓名或小名（限两个字）", u"宝"),
             Box(12, u"", u"宝"),
             Box(13, u"Flash视频地址：", kVideo, K::Video),
             Box(14, u"鼠标跟随文字：", u"喂，我爱你"),
             Box(15, u"网站标题：", u"风格5", K::Title),
             Box(16, u"首行标题：", u"喂，我爱你"),
         }) {
        boxes.push_back(box);
    }
    boxes.push_back({17, QStringLiteral("添加自己的HTML代码："), QString(), K::Code, true});
    s.boxes = ByIndex(boxes);
    AddNumberedSteps(s.steps, u"左第", 1, 18, u"行", 0);
    return s;
}

Style Style6() {
    Style s;
    s.number = 6;
    s.windowName = QStringLiteral("FG6");
    s.caption = QStringLiteral("3D画册");
    s.arrayName = QStringLiteral("Text7");
    std::vector<EntryBox> boxes;
    for (int i = 0; i < 12; ++i) {
        boxes.push_back({i, QStringLiteral("第%1张：").arg(i + 1),
                         kSite + QStringLiteral("/biaobai/fg6/%1.jpg").arg(i + 1), K::Picture,
                         false});
    }
    for (const EntryBox& box : {
             Box(12, u"浏览器标题：", u"风格6--3D相册", K::Title),
             Box(13, u"背景音乐地址：", kMusic, K::Music),
             Box(14, u"顶部话语大字：", u"我们的故事，我想一直写下去"),
             Box(15, u"顶部话语小字：", u"每一张照片，都是我爱你的证据"),
             Box(16, u"鼠标右键提示语：", u"这些回忆，只属于我们两个人哦"),
             Box(17, u"背景颜色：", u"#FFCBB3", K::Colour),
         }) {
        boxes.push_back(box);
    }
    s.boxes = ByIndex(boxes);
    AddNumberedSteps(s.steps, u"第", 1, 12, u"张", 0);
    AddStep(s.steps, u"浏览器标题", 12);
    AddStep(s.steps, u"背景音乐地址", 13);
    AddStep(s.steps, u"大字", 14);
    AddStep(s.steps, u"小字", 15);
    AddStep(s.steps, u"鼠标右键", 16);
    AddStep(s.steps, u"背景颜色", 17);
    return s;
}

// Style 7: a picture story of a fox and a peach, told in 55 slides of one to four captions.
// The rows of the editor are the slides; kStyle7Rows says which boxes each row holds.
const char16_t* const kStory[] = {
    // row 1: the two names and a motto
    u"阿狸",
    u"桃子",
    u"喜欢你，是这个世界上最美好的事",
    u"很久很久以前，森林里住着一只小狐狸",
    u"他的名字叫阿狸",
    u"阿狸每天都一个人看云、看星星",
    u"他觉得，日子就这样过也挺好",
    u"直到有一天，春风吹开了山坡上的桃花",
    u"桃花树下，站着一个圆圆的、粉粉的女孩",
    u"她叫桃子",
    u"桃子笑起来的时候，眼睛弯弯的",
    u"那一刻，阿狸听见自己的心“扑通”跳了一下",
    u"阿狸想跟她打招呼，却紧张得说不出话",
    // row 12
    u"桃子先开口了：“你好呀，小狐狸。”",
    u"阿狸红着脸：“你……你好。”",
    u"从那天起，阿狸每天都会路过那棵桃树",
    u"有时候带一朵小花，有时候带一颗糖",
    // rows 15 and 16
    u"桃子问：“你为什么总来这里呀？”",
    u"阿狸说：“因为……这里的风景好看。”",
    u"其实阿狸心里想的是：",
    u"“因为这里有你呀。”",
    u"夏天到了，他们一起在河边捉萤火虫",
    u"萤火虫飞呀飞，像天上掉下来的星星",
    u"桃子说，她最喜欢夏天的夜晚",
    u"阿狸偷偷记在了心里",
    u"秋天到了，树叶黄了，果子熟了",
    u"阿狸摘了满满一篮果子送给桃子",
    u"桃子说：“谢谢你，阿狸，你真好。”",
    u"阿狸开心得在落叶里打了好几个滚",
    // row 25
    u"冬天到了，下起了好大的雪",
    u"桃子冷得缩成了一团",
    u"阿狸把自己的围巾，轻轻围在她的脖子上",
    u"围巾上，还带着阿狸的温度",
    u"桃子低下头，脸比桃子还要红",
    u"就这样，一年又一年",
    u"阿狸陪桃子看过春天的花",
    u"陪她吹过夏天的风",
    u"陪她踩过秋天的落叶",
    u"陪她等过冬天的第一场雪",
    u"阿狸发现，他越来越离不开桃子了",
    // row 35
    u"他想告诉她",
    u"他想说出那句话",
    u"可是每次话到嘴边，又咽了回去",
    u"阿狸怕，怕说出来以后，连朋友都做不成",
    u"他在夜里一个人对着月亮练习",
    u"“桃子，我……我喜欢你。”",
    u"月亮笑了，星星也笑了",
    u"阿狸决定，不再等了",
    u"他用一整天的时间，在山坡上种满了花",
    // row 42
    u"红色的花",
    u"粉色的花",
    u"从天上看下去，是一颗大大的心",
    // rows 44 and 45
    u"傍晚，阿狸把桃子带到了山坡上",
    u"夕阳把一切都染成了金色",
    u"桃子看见了那颗心",
    u"她捂住了嘴巴，眼睛里闪着光",
    // rows 46 and 47
    u"阿狸深深吸了一口气",
    u"他走到桃子面前",
    u"认真地看着她的眼睛",
    u"说出了藏了好久好久的话",
    u"“桃子，",
    u"从遇见你的那天起，",
    u"我的心里就住进了一个你。",
    u"我喜欢你，做我女朋友好吗？”",
    // rows 48 and 49
    u"风停了",
    u"整个世界都安静了下来",
    u"桃子笑了",
    u"她轻轻点了点头",
    u"“笨蛋，我等这句话，等了好久了。”",
    // row 51
    u"那天的晚霞",
    u"是阿狸见过",
    u"最美的晚霞",
    u"因为身边有她",
    u"从此以后，森林里多了一对幸福的身影",
    u"小狐狸和小桃子，手牵着手，走过每一个季节",
    u"故事讲完了，可我想对你说的话还没说完",
    // row 55
    u"我也想像阿狸一样，勇敢一次",
    u"我喜欢你，做我女朋友好吗？",
};

Style Style7() {
    Style s;
    s.number = 7;
    s.windowName = QStringLiteral("FG7");
    s.caption = QStringLiteral("阿狸心形表白");
    s.arrayName = QStringLiteral("Text1");
    static_assert(std::size(kStory) == 78);
    const std::vector<std::vector<int>> rows = Style7Rows();
    std::vector<EntryBox> boxes;
    for (std::size_t row = 0; row < rows.size(); ++row) {
        for (std::size_t k = 0; k < rows[row].size(); ++k) {
            const int index = rows[row][k];
            boxes.push_back({index, k == 0 ? QStringLiteral("第%1张图").arg(row + 1) : QString(),
                             QString::fromUtf16(kStory[index]), K::Text, false});
        }
    }
    boxes.push_back(Box(78, u"标题", u"风格7－阿狸与桃子", K::Title));
    s.boxes = ByIndex(boxes);
    AddNumberedSteps(s.steps, u"第", 0, 78, u"张", 0);
    return s;
}

Style Style8() {
    Style s;
    s.number = 8;
    s.windowName = QStringLiteral("FG8");
    s.caption = QStringLiteral("数字时钟效果");
    s.arrayName = QStringLiteral("Text1");
    const char16_t* pageNames[] = {u"一", u"二", u"三", u"四", u"五", u"六"};
    // Each page: its left lines (the second in parentheses) and its centre line.
    const std::vector<std::vector<const char16_t*>> pages = {
        {u"每一秒", u"（都在想你）", u"遇见你，时间才有了意义"},
        {u"每一分", u"（都想见你）", u"和你在一起，时间过得好快"},
        {u"每一小时", u"（都念着你）", u"想把每个此刻都留给你"},
        {u"每一天", u"（都爱着你）", u"日出日落，都因你而温柔"},
        {u"每一季", u"（都陪着你）", u"春夏秋冬，都想和你一起"},
        {u"从现在", u"（到永远）", u"一生一世", u"我爱你，直到永远"},
    };
    std::vector<EntryBox> boxes = {
        Box(0, u"网站标题：", u"风格8", K::Title),
        Box(1, u"背景音乐：", kMusic, K::Music),
    };
    int index = 2;
    for (std::size_t page = 0; page < pages.size(); ++page) {
        const QString name = QString::fromUtf16(pageNames[page]);
        for (std::size_t line = 0; line < pages[page].size(); ++line) {
            const bool centre = line + 1 == pages[page].size();
            QString label;
            if (line == 0)
                label = QStringLiteral("第%1页左侧文字：").arg(name);
            else if (centre)
                label = QStringLiteral("第%1页中间内容：").arg(name);
            boxes.push_back(
                {index++, label, QString::fromUtf16(pages[page][line]), K::Text, false});
        }
    }
    Q_ASSERT(index == 21);
    s.boxes = boxes;
    AddNumberedSteps(s.steps, u"第", 0, 20, u"张", 0);
    return s;
}

}  // namespace

std::vector<std::vector<int>> Style7Rows() {
    // The rows that hold more than one box; every other row holds the one box after the last
    // box of the row before it.
    const std::vector<std::pair<int, int>> wide = {
        {1, 3},  {12, 2}, {15, 2}, {16, 2}, {25, 2}, {35, 3}, {42, 2}, {44, 2},
        {45, 2}, {46, 4}, {47, 4}, {48, 2}, {49, 2}, {51, 4}, {55, 2},
    };
    std::vector<std::vector<int>> rows;
    int next = 0;
    for (int row = 1; row <= 55; ++row) {
        int count = 1;
        for (const auto& [r, n] : wide) {
            if (r == row)
                count = n;
        }
        std::vector<int> boxes;
        for (int k = 0; k < count; ++k)
            boxes.push_back(next++);
        rows.push_back(boxes);
    }
    return rows;
}

int Style::TitleBox() const {
    for (const EntryBox& box : boxes) {
        if (box.kind == EntryKind::Title)
            return box.index;
    }
    return -1;
}

const std::vector<Style>& Styles() {
    static const std::vector<Style> styles = [] {
        std::vector<Style> all = {Style1(), Style2(), Style3(), Style4(),
                                  Style5(), Style6(), Style7(), Style8()};
        for (Style& style : all)
            LayOutEditor(style);
        return all;
    }();
    return styles;
}

const Style& StyleOf(int number) {
    Q_ASSERT(number >= 1 && number <= kStyleCount);
    return Styles()[std::size_t(std::clamp(number, 1, kStyleCount) - 1)];
}

QString SampleText(const EntryBox& box, const QString& serviceAddress) {
    QString text = box.sample;
    return text.replace(QString::fromUtf16(kServiceMarker), serviceAddress);
}

QString FloatingPictureToken() {
    return QStringLiteral("图片地址1");
}

QString FloatingLinkToken() {
    return QStringLiteral("链接地址1");
}

}  // namespace pages
