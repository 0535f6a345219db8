#include "client/shell/UpDown.h"

#include "client/controls/N_Shape.h"
#include "client/controls/OleColor.h"
#include "client/controls/PropertyBag.h"
#include "client/gateway/Gateway.h"
#include "client/gateway/ServiceAddress.h"
#include "client/shell/CommonRoutines.h"
#include "client/shell/Program.h"

#include <QCloseEvent>

namespace {

// The layout, in pixels of the client area, and the texts of the window.
constexpr QSize kClientSize(260, 147);
constexpr char16_t kWindowTitle[] = u"软件更新";
constexpr QRect kMessage(40, 24, 181, 12);
constexpr char16_t kMessageText[] = u"发现最新版本，是否下载最新版本";
const QColor kMessageColor(255, 128, 128);

// The buttons: name, caption, caption colour (#RRGGBB), place. Their size stays whatever the
// caption; the rest of their look is that of a new button.
struct ButtonLayout {
    const char* name;
    const char16_t* caption;
    quint32 rgb;
    QRect rect;
};
constexpr ButtonLayout kYes{"N_Shape1", u"是", 0xFF00FF, {48, 56, 71, 33}};
constexpr ButtonLayout kNo{"N_Shape2", u"否", 0xFF8000, {136, 56, 71, 33}};
constexpr ButtonLayout kHomePage{"N_Shape3", u"访 问 官 网", 0x0000FF, {48, 104, 159, 33}};

N_Shape* MakeButton(QWidget* parent, const ButtonLayout& layout) {
    auto* button = new N_Shape(parent, QString::fromLatin1(layout.name));
    button->SetCaption(QString::fromUtf16(layout.caption));
    button->SetStretchToText(false);
    button->SetForeColorNormal(controls::OleFromRgb(layout.rgb));
    button->setGeometry(layout.rect);
    return button;
}

}  // namespace

UpDown::UpDown(QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint),
      Label1(new QLabel(QString::fromUtf16(kMessageText), this)),
      N_Shape1(MakeButton(this, kYes)),
      N_Shape2(MakeButton(this, kNo)),
      N_Shape3(MakeButton(this, kHomePage)) {
    setObjectName(QStringLiteral("UpDown"));
    setWindowTitle(QString::fromUtf16(kWindowTitle));
    setWindowIcon(ProgramIcon());
    setAttribute(Qt::WA_DeleteOnClose);
    setFixedSize(kClientSize);
    CentreOnScreen(this);

    Label1->setFont(controls::MakeFont(QStringLiteral("宋体"), 9));
    SetPaletteColor(Label1, QPalette::WindowText, kMessageColor);
    Label1->setGeometry(kMessage);

    connect(N_Shape1, &N_Shape::Click, this, &UpDown::Download);
    connect(N_Shape2, &N_Shape::Click, this, [] { program::EndProgram(); });
    connect(N_Shape3, &N_Shape::Click, this, [] { OpenDocument(service::HomeAddress()); });
}

void UpDown::Download() {
    if (const auto address =
            gateway::FieldAt(gateway::ReadSystemSettings(), columns::kDownloadAddress)) {
        OpenDocument(*address);
    }
    program::EndProgram();
}

// The notice is the only window left, so closing it ends the run.
void UpDown::closeEvent(QCloseEvent* event) {
    event->accept();
    program::EndProgram();
}
