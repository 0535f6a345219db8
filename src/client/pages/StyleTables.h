#pragma once
// The eight page styles as data: one table entry per style, read by the page generation, the
// editor windows, the tests and the tools that draw the gallery pictures and sample pages.
//
// An entry holds what the style's editor shows (window name and caption, the entry array and
// its boxes with their labels and sample entries, the floating-picture check box) and the
// ordered replacement steps that turn the style's template into a page: each step replaces
// every occurrence of one token with the text of one box.
//
// Sample entries that name an asset of the service (a picture, the music, the video, the home
// page) hold the service marker in place of the service's address; SampleText() fills it in.

#include <QRect>
#include <QSize>
#include <QString>
#include <QStringList>

#include <vector>

namespace pages {

inline constexpr int kStyleCount = 8;

// Stands for the configured service address ("http://host:port", no trailing slash) in the
// templates and sample entries. It is no token and contains none: tokens are Chinese.
inline constexpr char16_t kServiceMarker[] = u"%SERVICE%";

// What an entry is for; it tells the tests how the page shows it.
enum class EntryKind {
    Text,     // shown on the page as plain text
    Html,     // shown as HTML: the user writes <br> for a line break
    Title,    // the page's title (the browser tab, the card of a shared link)
    Picture,  // address of a picture
    Music,    // address of the background music
    Video,    // address of a video: a media file, a video site's embed page or any page
    Link,     // address the page links to
    Colour,   // a CSS colour such as "#FFF"
    Number,   // digits: a part of a date, a QQ number
    Code,     // the user's own HTML, inserted unchanged
};

struct EntryBox {
    int index = 0;
    QString label;   // the label before the box; empty where a row or frame labels it
    QString sample;  // the entry the box opens with
    EntryKind kind = EntryKind::Text;
    bool multiLine = false;  // with both scroll bars

    // Where the editor shows the box and its label (pixels of the client area).
    QRect rect;
    QRect labelRect;
    bool largeFont = false;  // one character in a large face
    bool redText = false;
};

// How the editor shows a text that is not an entry's own label.
enum class LabelLook {
    Plain,
    Hint,     // red, the window's face
    Heading,  // large and red
    Sign,     // a large sign between two large boxes
};

struct EditorLabel {
    QString array;  // the control array it belongs to ("Label1", "Label2")
    QString text;
    QRect rect;
    LabelLook look = LabelLook::Plain;
};

struct EditorFrame {
    QString name;  // the control array ("其他", "左边文字"); empty for a window's outer frame
    int index = -1;
    QString caption;
    QRect rect;
    bool outer = false;  // fills the window: style 5's light blue frame, style 6's frame
};

struct Step {
    QString token;
    int box = 0;
};

struct Style {
    int number = 0;                // 1 to 8
    QString windowName;            // "FG1": the editor window and the template member alike
    QString caption;               // the editor's caption, which is the style's name
    QString arrayName;             // "Text1", "Text8", "Text11" or "Text7"
    std::vector<EntryBox> boxes;   // one per index, in index order
    std::vector<Step> steps;       // in replacement order
    bool floatingPicture = false;  // Check1 "启用图片漂浮": PF goes in front when ticked

    // The editor window.
    QSize clientTwips;                // as designed, 15 twips to the pixel
    QString labelArray;               // the control array of the boxes' labels
    std::vector<EditorLabel> labels;  // headings, hints, date units, the sign
    std::vector<EditorFrame> frames;  // outer frames first
    QRect checkBox;                   // Check1, where the style has one
    QRect command1, command2;         // "预览网页" and "上传网页"
    // The boxes in reading order, kCheckBoxInTabOrder standing for Check1; the buttons follow.
    std::vector<int> tabOrder;

    int BoxCount() const { return int(boxes.size()); }
    QSize ClientSize() const { return clientTwips / 15; }
    // The box whose entry is the page's title.
    int TitleBox() const;
};

// The caption of the floating-picture check box of styles 2 and 3, which a row of hyphens
// follows; and the captions of the editors' two buttons.
inline constexpr char16_t kFloatingPictureCaption[] = u"启用图片漂浮";
inline constexpr char16_t kPreviewCaption[] = u"预览网页";
inline constexpr char16_t kUploadCaption[] = u"上传网页";

inline constexpr int kCheckBoxInTabOrder = -1;

// Places the boxes, labels, frames and buttons of a style's editor (StyleLayouts.cpp).
void LayOutEditor(Style& style);

const std::vector<Style>& Styles();
// Style 1 to 8.
const Style& StyleOf(int number);

// The sample entry with the service marker replaced by `serviceAddress`.
QString SampleText(const EntryBox& box, const QString& serviceAddress);

// The boxes of each of the 55 slide rows of style 7, top to bottom, left to right.
std::vector<std::vector<int>> Style7Rows();

// The tokens of the snippet PF, replaced first in styles 2 and 3.
QString FloatingPictureToken();  // "图片地址1"
QString FloatingLinkToken();     // "链接地址1"

}  // namespace pages
