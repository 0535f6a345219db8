// Where each editor window puts its boxes, labels, frames and buttons. Every window keeps its
// designed client size; the rest is laid out here for the window's 9-point 宋体, with labels
// left of their boxes (or above them in style 8) and the two buttons at the foot.
// Pixels of the client area throughout.

#include "client/pages/StyleTables.h"

namespace pages {
namespace {

constexpr int kBoxHeight = 22;

void Place(Style& s, int box, QRect label, QRect rect) {
    EntryBox& b = s.boxes[std::size_t(box)];
    b.labelRect = label;
    b.rect = rect;
}

// A box in a row: its label from x to the box, the box from boxX, both on line y.
void Row(Style& s, int box, int x, int labelWidth, int y, int boxWidth) {
    Place(s, box, QRect(x, y, labelWidth, kBoxHeight),
          QRect(x + labelWidth + 2, y, boxWidth, kBoxHeight));
}

void Label(Style& s, const char* array, const char16_t* text, QRect rect,
           LabelLook look = LabelLook::Plain) {
    s.labels.push_back({QString::fromLatin1(array), QString::fromUtf16(text), rect, look});
}

void Frame(Style& s, const char16_t* name, int index, const char16_t* caption, QRect rect,
           bool outer = false) {
    s.frames.push_back({QString::fromUtf16(name), index, QString::fromUtf16(caption), rect, outer});
}

std::vector<int> Span(int first, int last) {
    std::vector<int> out;
    for (int i = first; i <= last; ++i)
        out.push_back(i);
    return out;
}

std::vector<int> Join(std::initializer_list<std::vector<int>> parts) {
    std::vector<int> out;
    for (const auto& part : parts)
        out.insert(out.end(), part.begin(), part.end());
    return out;
}

// A date after its year box: "年" at x, the month box, "月", the day box, "日" on line y, each
// word `gap` after the box before it.
void MonthAndDay(Style& s, const char* array, int x, int y, int monthBox, int dayBox, int boxWidth,
                 int gap) {
    constexpr int kWordWidth = 16, kWordStep = 18;
    Label(s, array, u"年", QRect(x, y, kWordWidth, kBoxHeight));
    const int monthX = x + kWordStep;
    Place(s, monthBox, QRect(), QRect(monthX, y, boxWidth, kBoxHeight));
    const int monthWord = monthX + boxWidth + gap;
    Label(s, array, u"月", QRect(monthWord, y, kWordWidth, kBoxHeight));
    const int dayX = monthWord + kWordStep;
    Place(s, dayBox, QRect(), QRect(dayX, y, boxWidth, kBoxHeight));
    Label(s, array, u"日", QRect(dayX + boxWidth + gap, y, kWordWidth, kBoxHeight));
}

// Both buttons side by side, centred at the foot.
void Buttons(Style& s, int y, int width = 120, int height = 36, int gap = 12) {
    const int x = (s.ClientSize().width() - 2 * width - gap) / 2;
    s.command1 = QRect(x, y, width, height);
    s.command2 = QRect(x + width + gap, y, width, height);
}

void LayOut1(Style& s) {
    s.clientTwips = QSize(12765, 6720);
    s.labelArray = QStringLiteral("Label1");
    // Left column: the title and the partner's name share the first line.
    Row(s, 0, 16, 132, 20, 150);
    Row(s, 1, 310, 76, 20, 164);
    for (int box = 2; box <= 8; ++box)
        Row(s, box, 16, 132, 20 + 38 * (box - 1), 402);
    // Right column: the seven lines under their heading, in red.
    Label(s, "Label1", u"中间文字", QRect(576, 14, 259, 32), LabelLook::Heading);
    for (int box = 9; box <= 15; ++box) {
        Row(s, box, 576, 62, 58 + 38 * (box - 9), 195);
        s.boxes[std::size_t(box)].redText = true;
    }
    Buttons(s, 388);
    s.tabOrder = Span(0, 15);
}

void LayOut2(Style& s) {
    s.clientTwips = QSize(10560, 7500);
    s.labelArray = QStringLiteral("Label1");
    Row(s, 0, 12, 112, 12, 200);
    Row(s, 1, 338, 72, 12, 280);
    Place(s, 2, QRect(12, 42, 300, 18), QRect(12, 62, 480, 150));
    Label(s, "Label1", u" 换行后加〈br〉否则无法换行", QRect(500, 62, 196, 20), LabelLook::Hint);
    Row(s, 3, 12, 112, 222, 566);
    Row(s, 4, 12, 112, 252, 60);
    MonthAndDay(s, "Label1", 190, 252, 9, 10, 40, 4);
    Label(s, "Label1", u"时间要提前一个月", QRect(126, 276, 200, 18), LabelLook::Hint);
    Row(s, 5, 12, 112, 298, 566);
    Row(s, 8, 12, 112, 328, 566);
    s.checkBox = QRect(12, 360, 680, 20);
    Row(s, 6, 12, 112, 386, 566);
    Row(s, 7, 12, 112, 416, 566);
    Buttons(s, 452, 120, 34);
    s.tabOrder = {0, 1, 2, 3, 4, 9, 10, 5, 8, kCheckBoxInTabOrder, 6, 7};
}

void LayOut3(Style& s) {
    s.clientTwips = QSize(11865, 7650);
    s.labelArray = QStringLiteral("Label1");
    for (int box = 0; box <= 10; ++box)
        Row(s, box, 12, 70, 12 + 30 * box, 384);
    Frame(s, u"其他", 4, u"其他设置", QRect(480, 6, 299, 126));
    for (int box = 11; box <= 13; ++box)
        Row(s, box, 488, 90, 30 + 32 * (box - 11), 189);
    s.checkBox = QRect(480, 144, 299, 20);
    Row(s, 20, 480, 112, 172, 185);
    Row(s, 21, 480, 112, 204, 185);
    // The line under the text: the two names, the words between them and the date.
    Frame(s, u"其他", 3, u"下方文字", QRect(12, 344, 767, 64));
    Row(s, 14, 22, 62, 370, 80);
    Row(s, 15, 174, 62, 370, 80);
    Row(s, 16, 326, 38, 370, 110);
    Row(s, 17, 484, 38, 370, 50);
    MonthAndDay(s, "Label2", 576, 370, 18, 19, 36, 2);
    Buttons(s, 452);
    s.tabOrder = Join({Span(0, 13), {kCheckBoxInTabOrder, 20, 21}, Span(14, 19)});
}

void LayOut4(Style& s) {
    s.clientTwips = QSize(11670, 6330);
    s.labelArray = QStringLiteral("Label1");
    Label(s, "Label2", u"文本修改（请先预览后修改）", QRect(12, 4, 320, 18), LabelLook::Hint);
    // Two blocks of ten rows; a row holds a short left text and a long right text. The short
    // box takes an eight-character phrase whole; the sentence beside it scrolls.
    for (int k = 0; k < 10; ++k) {
        const int y = 26 + 25 * k;
        Row(s, k, 12, 52, y, 106);
        Place(s, k + 10, QRect(), QRect(176, y, 200, kBoxHeight));
        Row(s, k + 20, 390, 58, y, 106);
        Place(s, k + 30, QRect(), QRect(560, y, 206, kBoxHeight));
    }
    Frame(s, u"其他", 7, u"其他", QRect(12, 278, 754, 92));
    Row(s, 40, 22, 74, 302, 160);
    Row(s, 41, 270, 74, 302, 410);
    Row(s, 42, 22, 74, 336, 318);
    Row(s, 43, 428, 62, 336, 90);
    Row(s, 44, 594, 62, 336, 98);
    Buttons(s, 380, 120, 34);
    // Each block row by row, left text then right text.
    for (int block : {0, 20}) {
        for (int k = 0; k < 10; ++k) {
            s.tabOrder.push_back(block + k);
            s.tabOrder.push_back(block + k + 10);
        }
    }
    for (int box = 40; box <= 44; ++box)
        s.tabOrder.push_back(box);
}

void LayOut5(Style& s) {
    s.clientTwips = QSize(11670, 6870);
    s.labelArray = QStringLiteral("Label2");
    Frame(s, u"", -1, u"风格5", QRect(4, 2, 770, 452), true);
    Frame(s, u"左边文字", 7, u"您要对她（他）说的七句话", QRect(14, 22, 400, 290));
    for (int box = 0; box <= 6; ++box)
        Row(s, box, 24, 56, 46 + 30 * box, 322);
    Row(s, 7, 24, 62, 262, 120);
    Row(s, 8, 218, 44, 262, 140);
    Place(s, 17, QRect(14, 318, 200, 18), QRect(14, 338, 400, 108));
    Frame(s, u"其他", 8, u"其他设置", QRect(428, 22, 336, 152));
    for (int box = 13; box <= 16; ++box)
        Row(s, box, 438, 104, 46 + 32 * (box - 13), 210);
    Frame(s, u"其他", 10, u"您最想对她（他）说的两句话", QRect(428, 184, 336, 206));
    Place(s, 9, QRect(), QRect(438, 208, 316, kBoxHeight));
    Place(s, 10, QRect(), QRect(438, 240, 316, kBoxHeight));
    // The partner's two characters, large, with a large "+" between them.
    Place(s, 11, QRect(438, 272, 316, 18), QRect(470, 296, 56, 52));
    Label(s, "Label2", u"+", QRect(532, 300, 28, 44), LabelLook::Sign);
    Place(s, 12, QRect(), QRect(566, 296, 56, 52));
    s.boxes[11].largeFont = true;
    s.boxes[12].largeFont = true;
    Buttons(s, 404, 150, 36, 16);
    s.command1.moveLeft(440);
    s.command2.moveLeft(606);
    s.tabOrder = Join({Span(0, 8), {17}, Span(13, 16), Span(9, 12)});
}

void LayOut6(Style& s) {
    s.clientTwips = QSize(10365, 6150);
    s.labelArray = QStringLiteral("Label2");
    Frame(s, u"", -1, u"风格6－3D相册", QRect(4, 2, 683, 404), true);
    Frame(s, u"左边文字", 4, u"共12张图片（建议尺寸大小：640px * 386px 切勿偏差太多）",
          QRect(14, 22, 663, 206));
    for (int k = 0; k < 6; ++k) {
        Row(s, k, 24, 58, 46 + 28 * k, 246);
        Row(s, k + 6, 346, 62, 46 + 28 * k, 256);
    }
    Frame(s, u"其他", 5, u"其他", QRect(14, 236, 663, 124));
    Row(s, 12, 24, 84, 260, 220);
    Row(s, 13, 346, 92, 260, 226);
    Row(s, 16, 24, 100, 292, 204);
    Row(s, 15, 346, 92, 292, 226);
    Row(s, 14, 24, 100, 324, 204);
    Row(s, 17, 346, 92, 324, 120);
    Buttons(s, 368, 120, 32);
    s.tabOrder = Join({Span(0, 11), {12, 13, 16, 15, 14, 17}});
}

// Four columns of 15, 15, 15 and 10 slide rows; the title row follows the fourth column.
void LayOut7(Style& s) {
    s.clientTwips = QSize(15525, 7785);
    s.labelArray = QStringLiteral("Label1");
    constexpr int kColumn = 257, kLabel = 58, kBoxes = 190, kGap = 4;
    const auto rows = Style7Rows();
    for (std::size_t row = 0; row < rows.size(); ++row) {
        const int column = int(row) / 15;
        const int x = 8 + column * kColumn;
        const int y = 10 + 30 * (int(row) % 15);
        const int n = int(rows[row].size());
        const int width = (kBoxes - kGap * (n - 1)) / n;
        for (int k = 0; k < n; ++k) {
            const QRect rect(x + kLabel + 2 + k * (width + kGap), y, width, kBoxHeight);
            Place(s, rows[row][std::size_t(k)], k == 0 ? QRect(x, y, kLabel, kBoxHeight) : QRect(),
                  rect);
        }
    }
    Row(s, 78, 8 + 3 * kColumn, kLabel, 10 + 30 * 10, kBoxes);
    Buttons(s, 474);
    s.tabOrder = Span(0, 78);
}

// Labels above their boxes; the six pages in two columns; the buttons at the right edge, one
// above the other.
void LayOut8(Style& s) {
    s.clientTwips = QSize(10500, 7215);
    s.labelArray = QStringLiteral("Label1");
    Place(s, 0, QRect(16, 10, 200, 18), QRect(16, 30, 268, kBoxHeight));
    Place(s, 1, QRect(300, 10, 200, 18), QRect(300, 30, 272, kBoxHeight));
    const std::vector<std::vector<int>> pages = {{2, 3, 4},    {5, 6, 7},    {8, 9, 10},
                                                 {11, 12, 13}, {14, 15, 16}, {17, 18, 19, 20}};
    for (std::size_t p = 0; p < pages.size(); ++p) {
        const int x = 16 + int(p % 2) * 284;
        const int y = 70 + int(p / 2) * 132;
        const std::vector<int>& boxes = pages[p];
        for (std::size_t i = 0; i + 1 < boxes.size(); ++i) {
            Place(s, boxes[i], i == 0 ? QRect(x, y, 112, 18) : QRect(),
                  QRect(x, y + 20 + 26 * int(i), 110, kBoxHeight));
        }
        Place(s, boxes.back(), QRect(x + 114, y, 164, 18), QRect(x + 114, y + 20, 164, kBoxHeight));
    }
    s.command1 = QRect(587, 70, 97, 57);
    s.command2 = QRect(587, 139, 97, 57);
    s.tabOrder = Span(0, 20);
}

}  // namespace

void LayOutEditor(Style& style) {
    using LayOut = void (*)(Style&);
    static constexpr LayOut layouts[] = {LayOut1, LayOut2, LayOut3, LayOut4,
                                         LayOut5, LayOut6, LayOut7, LayOut8};
    layouts[std::size_t(style.number - 1)](style);
}

}  // namespace pages
