#include "UpDown.h"

#include "CommonRoutines.h"
#include "Gateway.h"
#include "N_Shape.h"
#include "OleColor.h"
#include "Program.h"
#include "PropertyBag.h"
#include "ServiceAddress.h"

#include <QCloseEvent>

namespace {

constexpr QSize kClientSize(260, 147);
constexpr QRect kMessage(40, 24, 181, 12);
constexpr QRect kYes(48, 56, 71, 33);
constexpr QRect kNo(136, 56, 71, 33);
constexpr QRect kHomePage(48, 104, 159, 33);
const QColor kMessageColor(255, 128, 128);

// A new button apart from its caption colour, at a size that stays whatever the caption.
N_Shape* MakeButton(QWidget* parent, const char* name, const QString& caption, quint32 rgb,
                    const QRect& geometry) {
    auto* button = new N_Shape(parent, QString::fromLatin1(name));
    button->SetCaption(caption);
    button->SetStretchToText(false);
    button->SetForeColorNormal(controls::OleFromRgb(rgb));
    button->setGeometry(geometry);
    return button;
}

}  // namespace

UpDown::UpDown(QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint),
      Label1(new QLabel(QStringLiteral("发现最新版本，是否下载最新版本"), this)),
      N_Shape1(MakeButton(this, "N_Shape1", QStringLiteral("是"), 0xFF00FF, kYes)),
      N_Shape2(MakeButton(this, "N_Shape2", QStringLiteral("否"), 0xFF8000, kNo)),
      N_Shape3(MakeButton(this, "N_Shape3", QStringLiteral("访 问 官 网"), 0x0000FF, kHomePage)) {
    setObjectName(QStringLiteral("UpDown"));
    setWindowTitle(QStringLiteral("软件更新"));
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
