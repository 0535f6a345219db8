#include "client/publish/SCCT.h"

#include "client/controls/EntryValidator.h"
#include "client/controls/N_Shape.h"
#include "client/controls/PropertyBag.h"
#include "client/gateway/ServiceAddress.h"
#include "client/platform/Platform.h"
#include "client/publish/QrCode.h"
#include "client/shell/CommonRoutines.h"
#include "client/shell/GGCT.h"

#include <QApplication>
#include <QClipboard>
#include <QMimeData>
#include <QPointer>

namespace {

// The window's layout, in pixels of the client area (5760 x 3915 twips; the name-change row
// lies below that until "修改专属名称" makes the window 1000 twips taller).
constexpr int kTwipsWide = 5760, kTwipsHigh = 3915, kTwipsNameChange = 1000;
constexpr QRect kLabel1_0(12, 15, 100, 20);  // "请输入专属名称："
constexpr QRect kText1(112, 12, 129, 26);    // 1935 twips wide
constexpr QRect kShape2(252, 10, 120, 30);   // "上 传"
constexpr QRect kLabel1_3(12, 52, 200, 20);  // "您的专属页面网址为："
constexpr QRect kShape3(252, 46, 120, 30);   // "修改专属名称"
constexpr QRect kText3(12, 78, 257, 50);     // 3855 twips wide
constexpr QRect kShape4(280, 84, 92, 36);    // "点 击 复 制"
constexpr QRect kLabel2(12, 136, 360, 52);   // the notice, two lines
// The status line spans the window of the design. When the QR code's column opens beside it,
// it stays the width of the form whose outcomes it reports, its text centred under the form:
// spanning the wider window would run its longer messages under "保存二维码", and leaving
// room for them would shrink the code that the phone's camera reads.
constexpr QRect kTS(0, 198, 384, 24);
constexpr QRect kLabel1_6(12, 276, 100, 20);  // "请输入更改名称："
constexpr QRect kText4(112, 273, 129, 26);
constexpr QRect kShape5(252, 271, 120, 30);  // "确认修改"
// The QR code, a column of its own right of the rest once the page is published: centred in
// the column, from the line of the name box down to the line of the status.
constexpr int kQrPanelWidth = 164;
constexpr int kQrColumnCentre = kTwipsWide / 15 + kQrPanelWidth / 2;
constexpr QRect kQrPicture(390, 12, 152, 152);
constexpr QRect kQrCaption(384, 168, 164, 20);
constexpr QRect kShape6(404, 194, 124, 30);  // "保存二维码", as wide as its caption, centred
constexpr int kQrSavedPixelsPerModule = 10;

const QColor kBlue(0, 0, 255);
const QColor kLightRed(255, 128, 128);

QPointer<SCCT>& Open() {
    static QPointer<SCCT> window;
    return window;
}

QLabel* MakeLabel(QWidget* parent, const QString& text, const QRect& rect) {
    auto* label = new QLabel(text, parent);
    label->setGeometry(rect);
    return label;
}

// A shaped button with the defaults of a new one, its caption and place.
N_Shape* MakeButton(QWidget* parent, const char* name, const QString& caption, const QRect& rect) {
    auto* button = new N_Shape(parent, QString::fromLatin1(name));
    button->SetCaption(caption);
    button->setGeometry(rect);
    return button;
}

QLineEdit* MakeNameBox(QWidget* parent, const char* name, const QRect& rect) {
    auto* box = new QLineEdit(parent);
    box->setObjectName(QString::fromLatin1(name));
    box->setGeometry(rect);
    box->setMaxLength(publish::kNameLength);
    controls::InstallEntryValidator(box, controls::SmallLettersAndDigits, publish::kNameLength);
    return box;
}

}  // namespace

QSize SCCT::ClientSize(bool nameChange) {
    const int twipsHigh = kTwipsHigh + (nameChange ? kTwipsNameChange : 0);
    return QSize(kTwipsWide / 15, (twipsHigh + 7) / 15);
}

SCCT* SCCT::Instance() {
    return Open();
}

SCCT* SCCT::ShowWindow() {
    if (!Open()) {
        Open() = new SCCT();
        Open()->show();
    }
    SCCT* window = Open();
    window->showNormal();
    window->raise();
    window->activateWindow();
    return window;
}

SCCT::SCCT()
    : QWidget(nullptr, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                           Qt::WindowCloseButtonHint) {
    setObjectName(QStringLiteral("SCCT"));
    setWindowTitle(QStringLiteral("网页上传"));
    setWindowIcon(ProgramIcon());
    setAttribute(Qt::WA_DeleteOnClose);
    setFont(controls::MakeFont(QStringLiteral("宋体"), 9));
    Build();
    Resize();
    CentreOnScreen(this);

    // Loading: a user with an exclusive name sees it fixed, a user without one types it.
    const QString name = GGCT::Instance().WJM;
    controls::AssignText(Text1, name);
    Text1->setEnabled(name.isEmpty());
}

void SCCT::Build() {
    Label1[0] = MakeLabel(this, QStringLiteral("请输入专属名称："), kLabel1_0);
    Text1 = MakeNameBox(this, "Text1", kText1);
    N_Shape2 = MakeButton(this, "N_Shape2", QStringLiteral("上 传"), kShape2);
    Label1[3] = MakeLabel(this, QStringLiteral("您的专属页面网址为："), kLabel1_3);
    N_Shape3 = MakeButton(this, "N_Shape3", QStringLiteral("修改专属名称"), kShape3);

    Text3 = new QPlainTextEdit(this);
    Text3->setObjectName(QStringLiteral("Text3"));
    Text3->setGeometry(kText3);
    Text3->setReadOnly(true);
    Text3->setFont(controls::MakeFont(QStringLiteral("宋体"), 10.5));
    Text3->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    Text3->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    Text3->setTabChangesFocus(true);
    SetPaletteColor(Text3, QPalette::Base, palette().color(QPalette::Button));

    N_Shape4 = MakeButton(this, "N_Shape4", QStringLiteral("点 击 复 制"), kShape4);

    Label2 =
        MakeLabel(this,
                  QStringLiteral("专属名称限制含有特殊字符和标点符号输入\n专属页面网址格式为：") +
                      service::PageAddress(QStringLiteral("专属名称")),
                  kLabel2);
    Label2->setWordWrap(true);
    SetPaletteColor(Label2, QPalette::WindowText, kBlue);

    TS = MakeLabel(this, QString(), kTS);
    TS->setAlignment(Qt::AlignCenter);
    TS->setFont(controls::MakeFont(QStringLiteral("黑体"), 10.5));
    SetPaletteColor(TS, QPalette::WindowText, kLightRed);

    Label1[6] = MakeLabel(this, QStringLiteral("请输入更改名称："), kLabel1_6);
    Text4 = MakeNameBox(this, "Text4", kText4);
    N_Shape5 = MakeButton(this, "N_Shape5", QStringLiteral("确认修改"), kShape5);

    QrPicture = MakeLabel(this, QString(), kQrPicture);
    QrPicture->setObjectName(QStringLiteral("QrPicture"));
    QrPicture->setAlignment(Qt::AlignCenter);
    QrCaption = MakeLabel(this, QString::fromUtf16(publish::kQrCaption), kQrCaption);
    QrCaption->setAlignment(Qt::AlignCenter);
    N_Shape6 = MakeButton(this, "N_Shape6", QStringLiteral("保存二维码"), kShape6);
    for (QWidget* w : {static_cast<QWidget*>(QrPicture), static_cast<QWidget*>(QrCaption),
                       static_cast<QWidget*>(N_Shape6)})
        w->hide();

    connect(N_Shape2, &N_Shape::Click, this, &SCCT::Upload);
    connect(N_Shape3, &N_Shape::Click, this, &SCCT::ShowNameChange);
    connect(N_Shape4, &N_Shape::Click, this, &SCCT::CopyAddress);
    connect(N_Shape5, &N_Shape::Click, this, &SCCT::ChangeName);
    connect(N_Shape6, &N_Shape::Click, this, &SCCT::SaveQrCode);

    setTabOrder(Text1, N_Shape2);
    setTabOrder(N_Shape2, N_Shape3);
    setTabOrder(N_Shape3, Text3);
    setTabOrder(Text3, N_Shape4);
    setTabOrder(N_Shape4, Text4);
    setTabOrder(Text4, N_Shape5);
    setTabOrder(N_Shape5, N_Shape6);
}

void SCCT::Resize() {
    QSize size = ClientSize(nameChangeShown_);
    if (!qrCode_.isNull())
        size.rwidth() += kQrPanelWidth;
    setFixedSize(size);
}

void SCCT::SetStatus(const QString& text) {
    TS->setText(text);
}

void SCCT::ShowAddress(const QString& name) {
    const QString address = service::PageAddress(name);
    Text3->setPlainText(address);
    const int modules = publish::QrModules(address);
    if (modules == 0)
        return;
    const int perModule = std::max(1, kQrPicture.width() / modules);
    qrCode_ = publish::QrImage(address, perModule);
    QrPicture->setPixmap(QPixmap::fromImage(qrCode_));
    QrPicture->show();
    QrCaption->show();
    N_Shape6->show();
    // Shown, the shaped button has taken the width of its caption.
    N_Shape6->move(kQrColumnCentre - N_Shape6->width() / 2, kShape6.y());
    Resize();
}

void SCCT::CopyAddress() {
    const QString address = Text3->toPlainText();
    if (address.isEmpty()) {
        SetStatus(QString::fromUtf16(publish::kCopyFirst));
        return;
    }
    QClipboard* clipboard = QGuiApplication::clipboard();
    clipboard->clear();
    clipboard->setText(address);
    SetStatus(QString::fromUtf16(publish::kCopied));
}

void SCCT::ShowNameChange() {
    if (Text1->isEnabled())
        return;
    N_Shape3->SetEnabled(false);
    SetNameChangeShown(true);
}

void SCCT::SetNameChangeShown(bool shown) {
    nameChangeShown_ = shown;
    Resize();
}

void SCCT::SaveQrCode() {
    if (qrCode_.isNull())
        return;
    const QString address = Text3->toPlainText();
    const QString suggested =
        address.mid(address.lastIndexOf(QLatin1Char('/')) + 1) + QStringLiteral(".png");
    // The file the user picks (platform::Current().chooseSaveFile: tests pick their own).
    const QString file = platform::Current().chooseSaveFile(
        this, QStringLiteral("保存二维码"), suggested, QStringLiteral("PNG (*.png)"));
    if (file.isEmpty())
        return;
    const QImage large = publish::QrImage(address, kQrSavedPixelsPerModule);
    SetStatus(
        QString::fromUtf16(large.save(file, "PNG") ? publish::kQrSaved : publish::kQrNotSaved));
}

bool SCCT::LockOut(N_Shape* button) {
    return LockOutButton(this, button);
}
