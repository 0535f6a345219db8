// controls-demo: every custom control in its states, for a look under a real display.
//   controls-demo [--grab FILE.png]   (--grab saves the window's picture and quits)

#include "client/controls/LoadProperties.h"
#include "client/controls/N_Image.h"
#include "client/controls/N_Shape.h"
#include "client/controls/N_TextBox.h"
#include "client/controls/OleColor.h"
#include "client/controls/PropertyBag.h"
#include "client/controls/PropertyJson.h"
#include "client/controls/demo/DemoPictures.h"
#include "client/controls/iButton.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QTimer>
#include <QWidget>

#include <cstdio>
#include <functional>

namespace {

// The sign-in window's three button schemes, as stored sets.
const char* const kShapeSets = R"({
  "scheme1": [
    {"key": "Caption", "text": "登 陆"}, {"key": "BackGround", "color": "#FFFFFF"},
    {"key": "BackColorNormal", "color": "#F2F1EF"}, {"key": "BackColorHover", "color": "#E0E0E0"},
    {"key": "BackColorDown", "color": "#FFFFFF"},
    {"key": "BorderColorNormal", "color": "#00C0C0"}, {"key": "BorderColorHover", "color": "#B3B3B3"},
    {"key": "BorderColorDown", "color": "#B3B3B3"}, {"key": "FontSize", "integer": 9},
    {"key": "Font", "font": {"name": "Verdana", "size": 9}},
    {"key": "ForeColorNormal", "color": "#00C0C0"}, {"key": "ForeColorHover", "color": "#000000"},
    {"key": "ForeColorDown", "color": "#000000"}, {"key": "Text_Visible", "boolean": true},
    {"key": "StretchToText", "boolean": false}
  ],
  "scheme2": [
    {"key": "Caption", "text": "注 册"}, {"key": "BackGround", "color": "#FFFFFF"},
    {"key": "BackColorNormal", "color": "#F2F1EF"}, {"key": "BackColorHover", "color": "#E0E0E0"},
    {"key": "BackColorDown", "color": "#FFFFFF"},
    {"key": "BorderColorNormal", "color": "#008000"}, {"key": "BorderColorHover", "color": "#B3B3B3"},
    {"key": "BorderColorDown", "color": "#B3B3B3"}, {"key": "FontSize", "integer": 9},
    {"key": "Font", "font": {"name": "Verdana", "size": 9}},
    {"key": "ForeColorNormal", "color": "#008000"}, {"key": "ForeColorHover", "color": "#000000"},
    {"key": "ForeColorDown", "color": "#000000"}, {"key": "Text_Visible", "boolean": true},
    {"key": "StretchToText", "boolean": false}
  ],
  "scheme3": [
    {"key": "Caption", "text": "忘记密码?"}, {"key": "BackGround", "color": "#FFFFFF"},
    {"key": "BackColorNormal", "color": "#F2F1EF"}, {"key": "BackColorHover", "color": "#E0E0E0"},
    {"key": "BackColorDown", "color": "#00C0C0"},
    {"key": "BorderColorNormal", "color": "#B3B3B3"}, {"key": "BorderColorHover", "color": "#B3B3B3"},
    {"key": "BorderColorDown", "color": "#00C0C0"}, {"key": "FontSize", "integer": 9},
    {"key": "Font", "font": {"name": "Verdana", "size": 9}},
    {"key": "ForeColorNormal", "color": "#000000"}, {"key": "ForeColorHover", "color": "#000000"},
    {"key": "ForeColorDown", "color": "#000000"}, {"key": "Text_Visible", "boolean": true},
    {"key": "StretchToText", "boolean": false}
  ]
})";

constexpr quint32 kHintColor = controls::SystemColor(controls::kColorButtonShadow);
constexpr quint32 kEntryColor = controls::OleFromRgb(0x008000);

QLabel* Caption(QWidget* parent, const QString& text, int x, int y) {
    auto* label = new QLabel(text, parent);
    label->move(x, y);
    label->adjustSize();
    return label;
}

// Puts a control in its hover or pressed state the way the pointer would: the hover test
// says "over me", then a plain move or a left press arrives.
void Hover(QWidget* control) {
    QMouseEvent move(QEvent::MouseMove, QPointF(10, 10), control->mapToGlobal(QPointF(10, 10)),
                     Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(control, &move);
}

void Press(QWidget* control) {
    QMouseEvent press(QEvent::MouseButtonPress, QPointF(10, 10),
                      control->mapToGlobal(QPointF(10, 10)), Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QApplication::sendEvent(control, &press);
}

const std::function<bool()> kAlwaysOver = [] { return true; };

void AddShapes(QWidget* window, const std::map<QString, controls::PropertyBag>& sets) {
    Caption(window, "N_Shape: the sign-in window's three schemes — normal, hover, down", 16, 8);
    const struct {
        const char* set;
        int width;
    } rows[] = {{"scheme1", 233}, {"scheme2", 97}, {"scheme3", 108}};
    int y = 30;
    for (const auto& row : rows) {
        for (int state = 0; state < 3; ++state) {
            auto* button = new N_Shape(window, QStringLiteral("N_Shape"));
            button->setGeometry(16 + state * 250, y, row.width, 33);
            controls::LoadProperties(*button, sets.at(row.set));
            if (state > 0)
                button->SetPointerProbe(kAlwaysOver);
            if (state == 1)
                Hover(button);
            if (state == 2)
                Press(button);
        }
        y += 41;
    }
    Caption(window, "disabled, outlines 0..5, stretched to caption + picture", 16, y);
    y += 22;
    auto* disabled = new N_Shape(window, QStringLiteral("disabled"));
    disabled->setGeometry(16, y, 97, 33);
    controls::LoadProperties(*disabled, sets.at("scheme2"));
    disabled->SetEnabled(false);
    for (int style = 0; style <= 5; ++style) {
        auto* outline = new N_Shape(window, QString::number(style));
        outline->setGeometry(130 + style * 60, y, 52, 33);
        outline->SetStretchToText(false);
        outline->SetStyle(style);
        outline->SetBackGround(0x00FFFFFF);
        outline->SetBorderColorNormal(controls::OleFromRgb(0x00C0C0));
    }
    auto* pictured = new N_Shape(window, QStringLiteral("图片按钮"));
    pictured->move(500, y);
    pictured->resize(10, 33);
    pictured->SetPicture_Normal(demo::CloseImage(QColor(0, 160, 160), QSize(17, 17)));
    pictured->SetGraphical(true);
}

void AddTextBoxes(QWidget* window) {
    const int y = 214;
    Caption(window, "N_TextBox: hint, masked (Wingdings \"l\"), entry, header, label mode", 16, y);
    const auto make = [window](int x, int row) {
        auto* box = new N_TextBox(window);
        box->setGeometry(x, y + 24 + row * 34, 233, 25);
        box->SetForeColor(kEntryColor);
        box->SetBorderColor(kEntryColor);
        box->SetFont(controls::MakeFont("Arial", 8.25, true));
        box->SetAlignementHorizontal(0);
        return box;
    };
    N_TextBox* hint = make(16, 0);
    hint->SetForeColor(kHintColor);
    hint->SetText(QStringLiteral("请输入用户名"));
    N_TextBox* masked = make(16, 1);
    masked->SetText(QStringLiteral("secret12"));
    masked->SetFontName(QStringLiteral("Wingdings"));
    masked->SetPasswordChar(QStringLiteral("l"));
    N_TextBox* entry = make(16, 2);
    entry->SetText(QStringLiteral("1234567890"));
    N_TextBox* header = make(270, 0);
    header->resize(233, 44);
    header->SetText(QStringLiteral("页面风格"));
    header->SetHeaderCaption(QStringLiteral("Header"));
    header->SetHeader(true);
    N_TextBox* label = make(270, 2);
    label->SetText(QStringLiteral("label mode"));
    label->SetLabelBox(true);
}

void AddImages(QWidget* window) {
    const int y = 360;
    Caption(window, "N_Image: 48 x 19 close pictures — normal, hover, down", 16, y);
    for (int state = 0; state < 3; ++state) {
        auto* image = new N_Image(window);
        image->move(16 + state * 70, y + 24);
        image->SetPicture(demo::CloseImage(QColor(0xE0, 0x40, 0x40)));
        image->SetPictureHover(demo::CloseImage(QColor(0xF0, 0x70, 0x70)));
        image->SetPictureDown(demo::CloseImage(QColor(0xA0, 0x10, 0x10)));
        if (state > 0)
            image->SetPointerProbe(kAlwaysOver);
        if (state == 1)
            Hover(image);
        if (state == 2)
            Press(image);
    }
}

void AddButtons(QWidget* window) {
    const int y = 420;
    Caption(window,
            "iButton: 5-cell strip on 33 x 33 — normal, hover, pressed, disabled; toggle off/on; "
            "see-through",
            16, y);
    const QColor teal(0, 128, 128);
    const QPixmap strip =
        demo::CrossStrip({teal, QColor(0xF0, 0x50, 0x78), QColor(0x90, 0x10, 0x10), teal, teal});
    for (int look = 0; look < 4; ++look) {
        auto* button = new iButton(window);
        button->setGeometry(16 + look * 50, y + 24, 33, 33);
        button->SetAutoSize(false);
        button->SetBackPicture(strip);
        button->SetPointerProbe([] { return false; });
        if (look > 0 && look < 3)
            button->SetPointerProbe(kAlwaysOver);
        if (look == 1)
            Hover(button);
        if (look == 2)
            Press(button);
        if (look == 3)
            button->SetEnabled(false);
    }
    const QPixmap toggleStrip = demo::DiscStrip(
        {QColor(0xC8, 0xC8, 0xC8), QColor(0xDC, 0xDC, 0xDC), QColor(0xA0, 0xA0, 0xA0),
         QColor(0xE8, 0xE8, 0xE8), QColor(0x40, 0xA0, 0x40), QColor(0x60, 0xC0, 0x60),
         QColor(0x20, 0x80, 0x20), QColor(0xE8, 0xE8, 0xE8), Qt::black, Qt::black},
        Qt::white, QSize(60, 30));
    for (int on = 0; on < 2; ++on) {
        auto* toggle = new iButton(window);
        toggle->move(230 + on * 70, y + 24);
        toggle->SetStyle(1);
        toggle->SetBackPicture(toggleStrip);
        toggle->SetCaption(on ? QStringLiteral("开") : QStringLiteral("关"));
        toggle->SetPointerProbe([] { return false; });
        toggle->SetValue(on == 1);
    }
    auto* backdrop = new QLabel(window);
    backdrop->setGeometry(380, y + 20, 60, 42);
    backdrop->setStyleSheet(
        "background: qlineargradient(x1:0, y1:0, x2:1, y2:1, stop:0 #FFD700, "
        "stop:1 #4169E1);");
    QPixmap round(30, 30);
    round.fill(controls::FromOle(iButton::kMaskColor));
    {
        QPainter painter(&round);
        painter.setBrush(teal);
        painter.setPen(Qt::NoPen);
        painter.drawEllipse(QRect(0, 0, 30, 30));
    }
    QPixmap roundStrip(150, 30);
    roundStrip.fill(Qt::transparent);
    {
        QPainter painter(&roundStrip);
        for (int i = 0; i < 5; ++i)
            painter.drawPixmap(i * 30, 0, round);
    }
    auto* seeThrough = new iButton(window);
    seeThrough->move(395, y + 26);
    seeThrough->SetcBackStyle(0);
    seeThrough->SetBackPicture(roundStrip);
    seeThrough->SetPointerProbe([] { return false; });
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QString grabPath;
    const QStringList args = app.arguments();
    if (const qsizetype i = args.indexOf("--grab"); i >= 0 && i + 1 < args.size())
        grabPath = args.at(i + 1);

    QString error;
    const auto sets = controls::ReadPropertySets(kShapeSets, &error);
    if (!sets) {
        std::fprintf(stderr, "demo property sets: %s\n", qPrintable(error));
        return 1;
    }
    QWidget window;
    window.setWindowTitle(QStringLiteral("controls-demo"));
    window.setAutoFillBackground(true);
    QPalette palette = window.palette();
    palette.setColor(QPalette::Window, Qt::white);
    window.setPalette(palette);
    window.resize(800, 500);
    AddShapes(&window, *sets);
    AddTextBoxes(&window);
    AddImages(&window);
    AddButtons(&window);
    window.show();
    if (!grabPath.isEmpty()) {
        QTimer::singleShot(300, &window, [&window, grabPath] {
            window.grab().save(grabPath);
            QApplication::quit();
        });
    }
    return app.exec();
}
