#include "client/accounts/Login.h"

#include "client/accounts/Disclaimer.h"
#include "client/controls/LoadProperties.h"
#include "client/controls/N_Image.h"
#include "client/controls/N_Shape.h"
#include "client/controls/N_TextBox.h"
#include "client/controls/OleColor.h"
#include "client/controls/PropertyBag.h"
#include "client/gateway/ServiceAddress.h"
#include "client/settings/Wini.h"
#include "client/shell/CommonRoutines.h"
#include "client/shell/Program.h"

#include <QPointer>
#include <QTimer>

namespace accounts {

QString CustomerServiceAddress() {
    return service::PageOf(QStringLiteral("/shop/kefu"));
}
}  // namespace accounts

namespace {

// ---- Layout, in pixels. The three panels share one place below the title strip; each
// panel's controls are placed in the panel's own coordinates.

constexpr QSize kClientSize(353, 380);
constexpr QRect kTitleStrip(0, 0, 353, 33);
constexpr QPoint kTitle(8, 8);
constexpr QRect kCloseImage(296, 0, 48, 19);
constexpr QRect kPanel(16, 40, 321, 321);
// Every panel's two lower buttons stand in the same places.
constexpr QRect kLowerLeft(8, 280, 108, 33);
constexpr QRect kLowerRight(216, 280, 97, 33);

// The three colour schemes of the buttons: cyan for the panel's own action, green for the
// way to another panel, quiet for the rest.
enum class Scheme { Cyan, Green, Quiet };

struct ButtonLayout {
    const char* name;
    const char16_t* caption;
    Scheme scheme;
    QRect rect;
};

struct BoxLayout {
    const char* name;
    QRect rect;
    int maxLength;  // 0: no limit
};

// Sign-in panel.
constexpr BoxLayout kAccountBox{"N_TextBox1", {48, 72, 233, 25}, 0};
constexpr BoxLayout kPasswordBox{"N_TextBox2", {48, 120, 233, 25}, 0};
constexpr QRect kRememberCheck(48, 160, 105, 17);
constexpr ButtonLayout kSignInButton{"N_Shape2", u"登 陆", Scheme::Cyan, {48, 192, 233, 33}};
constexpr int kSignInStatusTop = 248;
constexpr ButtonLayout kForgotButton{"N_Shape1", u"忘记密码?", Scheme::Quiet, kLowerLeft};
constexpr ButtonLayout kRegisterButton{"N_Shape3", u"注 册", Scheme::Green, kLowerRight};
// Registration panel.
constexpr QRect kWarningLabel(76, 0, 169, 14);
constexpr BoxLayout kQQBox{"N_TextBox3", {48, 24, 233, 25}, 10};
constexpr BoxLayout kNewPasswordBox{"N_TextBox4", {48, 72, 233, 25}, 20};
constexpr BoxLayout kConfirmBox{"N_TextBox5", {48, 120, 233, 25}, 20};
constexpr BoxLayout kPhoneBox{"N_TextBox6", {48, 168, 233, 25}, 0};
constexpr int kRegistrationStatusTop = 200;
constexpr ButtonLayout kRegisterNowButton{
    "N_Shape4", u"立 即 注 册", Scheme::Cyan, {48, 224, 233, 33}};
constexpr ButtonLayout kDisclaimerButton{"N_Shape6", u"免 责 声 明", Scheme::Quiet, kLowerLeft};
constexpr ButtonLayout kBackToSignInButton{"N_Shape5", u"返 回 登 陆", Scheme::Green, kLowerRight};
// Disclaimer panel.
constexpr QRect kDisclaimerText(8, 0, 305, 273);
constexpr ButtonLayout kDisclaimerToSignInButton{"N_Shape9", u"返 回 登 陆", Scheme::Quiet,
                                                 kLowerLeft};
constexpr ButtonLayout kBackToRegistrationButton{"N_Shape8", u"返 回 注 册", Scheme::Green,
                                                 kLowerRight};

// ---- Texts.

constexpr char16_t kWindowTitle[] = u"登陆";
// The title strip names the panel shown.
constexpr char16_t kSignInTitle[] = u"用户登陆";
constexpr char16_t kRegistrationTitle[] = u"用户注册";
constexpr char16_t kDisclaimerTitle[] = u"免责声明";
constexpr char16_t kRememberCaption[] = u"记住密码";
constexpr char16_t kWarning[] = u"填写虚假信息永久禁止登陆";

// ---- Colours: OLE values 0x00BBGGRR (OleColor.h) unless a QColor.

constexpr quint32 kTitleColor = controls::OleFromRgb(0x00C0C0);
const QColor kOutlineColor(0x00, 0xC0, 0xC0);
const QColor kWarningColor(0xFF, 0, 0);
constexpr quint32 kBlack = 0x000000;
constexpr quint32 kWhite = controls::OleFromRgb(0xFFFFFF);
constexpr quint32 kGrey = controls::OleFromRgb(0xB3B3B3);
constexpr quint32 kCyan = controls::OleFromRgb(0x00C0C0);
constexpr quint32 kGreen = controls::OleFromRgb(0x008000);
// The window's ground, which the buttons' rounded corners show.
constexpr quint32 kGround = controls::SystemColor(controls::kColorButtonFace);
// Entry boxes: the hint in grey, what the user typed in green.
constexpr quint32 kHintColor = controls::SystemColor(controls::kColorButtonShadow);
constexpr quint32 kEntryColor = kGreen;

// The colours a scheme gives a button; the others are alike on every button.
struct SchemeColours {
    quint32 borderNormal, foreNormal, borderDown, backDown;
};
constexpr SchemeColours kSchemes[] = {
    /* Cyan */ {kCyan, kCyan, kGrey, kWhite},
    /* Green */ {kGreen, kGreen, kGrey, kWhite},
    /* Quiet */ {kGrey, kBlack, kCyan, kCyan},
};

constexpr char16_t kMaskFont[] = u"Wingdings";
constexpr char16_t kMaskCharacter[] = u"l";
constexpr char16_t kPlainFont[] = u"Arial";

N_Shape* MakeButton(QWidget* panel, const ButtonLayout& layout) {
    const SchemeColours& scheme = kSchemes[int(layout.scheme)];
    controls::PropertyBag bag;
    bag.SetText(QStringLiteral("Caption"), QString::fromUtf16(layout.caption));
    bag.SetColor(QStringLiteral("BackGround"), kGround);
    bag.SetColor(QStringLiteral("BackColorNormal"), controls::OleFromRgb(0xF2F1EF));
    bag.SetColor(QStringLiteral("BackColorHover"), controls::OleFromRgb(0xE0E0E0));
    // The caption is drawn at FontSize, 8 points regular on every window; the 9-point Verdana
    // is the control's Font property, which the caption does not use.
    bag.SetInteger(QStringLiteral("FontSize"), 8);
    bag.SetBoolean(QStringLiteral("FontBold"), false);
    bag.SetFont(QStringLiteral("Font"), controls::MakeFont(QStringLiteral("Verdana"), 9));
    bag.SetBoolean(QStringLiteral("Text_Visible"), true);
    bag.SetBoolean(QStringLiteral("StretchToText"), false);
    bag.SetColor(QStringLiteral("ForeColorHover"), kBlack);
    bag.SetColor(QStringLiteral("ForeColorDown"), kBlack);
    bag.SetColor(QStringLiteral("BorderColorHover"), kGrey);
    bag.SetColor(QStringLiteral("BorderColorNormal"), scheme.borderNormal);
    bag.SetColor(QStringLiteral("ForeColorNormal"), scheme.foreNormal);
    bag.SetColor(QStringLiteral("BorderColorDown"), scheme.borderDown);
    bag.SetColor(QStringLiteral("BackColorDown"), scheme.backDown);
    auto* button = new N_Shape(panel, QString::fromLatin1(layout.name));
    controls::LoadProperties(*button, bag);
    button->setGeometry(layout.rect);
    return button;
}

// The six entry boxes are set up alike.
N_TextBox* MakeBox(QWidget* panel, const BoxLayout& layout) {
    controls::PropertyBag bag;
    bag.SetFont(QStringLiteral("FONT"),
                controls::MakeFont(QString::fromUtf16(kPlainFont), 8.25, true));
    bag.SetColor(QStringLiteral("ForeColor"), kEntryColor);
    bag.SetColor(QStringLiteral("BorderColor"), kEntryColor);
    bag.SetColor(QStringLiteral("BackColor"), kWhite);
    bag.SetBoolean(QStringLiteral("Header"), false);
    bag.SetInteger(QStringLiteral("AlignementHorizontal"), 0);
    bag.SetInteger(QStringLiteral("AlignementVertical"), 1);
    bag.SetBoolean(QStringLiteral("SelOnFocus"), true);
    bag.SetInteger(QStringLiteral("MaxLength"), layout.maxLength);
    auto* box = new N_TextBox(panel, QString::fromLatin1(layout.name));
    controls::LoadProperties(*box, bag);
    box->setGeometry(layout.rect);
    return box;
}

QLabel* MakeLabel(QWidget* parent, const QString& text, const QString& face, double points,
                  const QColor& colour) {
    auto* label = new QLabel(text, parent);
    label->setFont(controls::MakeFont(face, points));
    SetPaletteColor(label, QPalette::WindowText, colour);
    label->setAttribute(Qt::WA_TranslucentBackground);
    return label;
}

QLabel* MakeStatusLine(QWidget* panel, int top) {
    QLabel* line = MakeLabel(panel, QString(), QStringLiteral("黑体"), 12, Qt::black);
    line->move(kPanel.width() / 2, top);
    line->adjustSize();
    return line;
}

QWidget* MakePanel(QWidget* window) {
    auto* panel = new QWidget(window);
    panel->setGeometry(kPanel);
    // The panel itself can hold the focus, so that no box has it and every box shows its hint.
    panel->setFocusPolicy(Qt::ClickFocus);
    return panel;
}

bool IsPlainBox(const Login& w, const N_TextBox* box) {
    return box == w.N_TextBox1 || box == w.N_TextBox3 || box == w.N_TextBox6;
}

void Mask(N_TextBox* box) {
    box->SetFontName(QString::fromUtf16(kMaskFont));
    box->SetPasswordChar(QString::fromUtf16(kMaskCharacter));
}

void Unmask(N_TextBox* box) {
    box->SetPasswordChar(QString());
    box->SetFontName(QString::fromUtf16(kPlainFont));
}

// Only digits and backspace reach the box; everything else, Enter included, is dropped.
void DigitFilter(int& keyAscii) {
    if (!(keyAscii >= '0' && keyAscii <= '9') && keyAscii != 8)
        keyAscii = 0;
}

}  // namespace

Login::Login(QWidget* owner) : QWidget(owner, Qt::Window | Qt::FramelessWindowHint) {
    setObjectName(QStringLiteral("Login"));
    setWindowTitle(QString::fromUtf16(kWindowTitle));
    setWindowIcon(ProgramIcon());
    setAttribute(Qt::WA_DeleteOnClose);
    setFixedSize(kClientSize);
    setFont(controls::MakeFont(QStringLiteral("宋体"), 9));
    SetPaletteColor(this, QPalette::Window, controls::FromOle(kGround));
    setAutoFillBackground(true);
    CentreOnScreen(this);

    BuildTitleStrip();
    BuildSignInPanel();
    Shape1 = new OutlineShape(this, kOutlineColor);
    Open();
}

// The panels that open hidden are built once the window has been painted, so that the window
// is up at once; whatever needs them before (a switch of panels) builds them on the spot.
bool Login::event(QEvent* event) {
    const bool handled = QWidget::event(event);
    if (event->type() == QEvent::Paint && !Picture3)
        QTimer::singleShot(0, this, &Login::BuildHiddenPanels);
    return handled;
}

void Login::BuildHiddenPanels() {
    if (Picture3)
        return;
    BuildRegistrationPanel();
    BuildDisclaimerPanel();
    for (N_TextBox* box : {N_TextBox3, N_TextBox4, N_TextBox5, N_TextBox6})
        ShowHint(box);
    SetTabOrders();
    Shape1->raise();
}

void Login::BuildTitleStrip() {
    Picture1 = new QWidget(this);
    Picture1->setGeometry(kTitleStrip);
    SetPaletteColor(Picture1, QPalette::Window, controls::FromOle(kTitleColor));
    Picture1->setAutoFillBackground(true);

    Label1 = MakeLabel(Picture1, QString::fromUtf16(kSignInTitle), QStringLiteral("微软雅黑"), 9,
                       Qt::white);
    Label1->move(kTitle);
    Label1->adjustSize();

    N_Image1 = new N_Image(Picture1);
    // Decoded once for the whole run: the window is made again after every sign-out.
    static const QPixmap closeNormal(QStringLiteral(":/login-close-normal.png"));
    static const QPixmap closeHover(QStringLiteral(":/login-close-hover.png"));
    static const QPixmap closeDown(QStringLiteral(":/login-close-down.png"));
    N_Image1->SetPicture(closeNormal);
    N_Image1->SetPictureHover(closeHover);
    N_Image1->SetPictureDown(closeDown);
    N_Image1->move(kCloseImage.topLeft());
    connect(N_Image1, &N_Image::Click, this, &Login::CloseAndEnd);

    // The sign-in window follows the mouse only while the left button is held.
    auto* mover = new WindowMover(this, Qt::LeftButton);
    mover->Watch(Picture1);
    mover->Watch(Label1);
}

void Login::BuildSignInPanel() {
    Picture2 = MakePanel(this);
    N_TextBox1 = MakeBox(Picture2, kAccountBox);
    N_TextBox2 = MakeBox(Picture2, kPasswordBox);
    Check1 = new QCheckBox(QString::fromUtf16(kRememberCaption), Picture2);
    Check1->setGeometry(kRememberCheck);
    N_Shape2 = MakeButton(Picture2, kSignInButton);
    Label2 = MakeStatusLine(Picture2, kSignInStatusTop);
    N_Shape1 = MakeButton(Picture2, kForgotButton);
    N_Shape3 = MakeButton(Picture2, kRegisterButton);

    connect(N_Shape2, &N_Shape::Click, this, &Login::SignIn);
    connect(N_Shape1, &N_Shape::Click, this,
            [] { OpenDocument(accounts::CustomerServiceAddress()); });
    connect(N_Shape3, &N_Shape::Click, this, [this] {
        BuildHiddenPanels();
        ShowPanel(Picture3, QString::fromUtf16(kRegistrationTitle));
    });
    for (N_TextBox* box : {N_TextBox1, N_TextBox2})
        WatchBox(box);
}

// The focus rules of a box, and the digits-only filter of the number boxes.
void Login::WatchBox(N_TextBox* box) {
    connect(box, &N_TextBox::GotFocus, this, [this, box] { BoxGotFocus(box); });
    connect(box, &N_TextBox::LostFocus, this, [this, box] { BoxLostFocus(box); });
    if (IsPlainBox(*this, box)) {
        connect(box, &N_TextBox::KeyPress, this, &DigitFilter);
        // Digits only also for text from an input method, a paste or a drop.
        box->SetTextFilter(controls::DigitsOnly);
    }
}

void Login::BuildRegistrationPanel() {
    Picture3 = MakePanel(this);
    Label5 = MakeLabel(Picture3, QString::fromUtf16(kWarning), QStringLiteral("黑体"), 10.5,
                       kWarningColor);
    Label5->setGeometry(kWarningLabel);
    N_TextBox3 = MakeBox(Picture3, kQQBox);
    N_TextBox4 = MakeBox(Picture3, kNewPasswordBox);
    N_TextBox5 = MakeBox(Picture3, kConfirmBox);
    N_TextBox6 = MakeBox(Picture3, kPhoneBox);
    Label3 = MakeStatusLine(Picture3, kRegistrationStatusTop);
    N_Shape4 = MakeButton(Picture3, kRegisterNowButton);
    N_Shape6 = MakeButton(Picture3, kDisclaimerButton);
    N_Shape5 = MakeButton(Picture3, kBackToSignInButton);
    Picture3->hide();

    connect(N_Shape4, &N_Shape::Click, this, &Login::Register);
    connect(N_Shape6, &N_Shape::Click, this,
            [this] { ShowPanel(Picture4, QString::fromUtf16(kDisclaimerTitle)); });
    connect(N_Shape5, &N_Shape::Click, this, [this] {
        ShowPanel(Picture2, QString::fromUtf16(kSignInTitle));
        Picture2->setFocus(Qt::OtherFocusReason);
    });
    connect(N_TextBox4, &N_TextBox::Change, this, &Login::ResetConfirmation);
    for (N_TextBox* box : {N_TextBox3, N_TextBox4, N_TextBox5, N_TextBox6})
        WatchBox(box);
}

void Login::BuildDisclaimerPanel() {
    Picture4 = MakePanel(this);
    Text1 = new QPlainTextEdit(DisclaimerText(), Picture4);
    Text1->setGeometry(kDisclaimerText);
    Text1->setReadOnly(true);
    Text1->setFocusPolicy(Qt::StrongFocus);
    Text1->setTabChangesFocus(true);
    N_Shape9 = MakeButton(Picture4, kDisclaimerToSignInButton);
    N_Shape8 = MakeButton(Picture4, kBackToRegistrationButton);
    Picture4->hide();

    connect(N_Shape9, &N_Shape::Click, this,
            [this] { ShowPanel(Picture2, QString::fromUtf16(kSignInTitle)); });
    connect(N_Shape8, &N_Shape::Click, this,
            [this] { ShowPanel(Picture3, QString::fromUtf16(kRegistrationTitle)); });
}

// One chain through the three panels; the hidden panels' controls are passed over.
void Login::SetTabOrders() {
    const QList<QWidget*> chain = {
        N_TextBox1, N_TextBox2, N_Shape2, N_Shape3, N_Shape1, Check1,   N_TextBox3, N_TextBox4,
        N_TextBox5, N_TextBox6, N_Shape4, N_Shape5, N_Shape6, N_Shape8, N_Shape9,   Text1};
    for (qsizetype i = 1; i < chain.size(); ++i)
        setTabOrder(chain[i - 1], chain[i]);
}

void Login::ShowHint(N_TextBox* box) {
    box->SetForeColor(kHintColor);
    box->SetText(HintOf(box));
}

// Opening: every box shows its hint, then a remembered sign-in is put back.
void Login::Open() {
    ShowHint(N_TextBox1);
    ShowHint(N_TextBox2);
    if (wini::ReadRememberFlag() == QLatin1String("1") && IniFileExists(wini::SettingsFilePath())) {
        const QString file = wini::SettingsFilePath();
        N_TextBox1->SetText(ReadIni(wini::Section(), QString::fromUtf16(wini::kAccountKey), file));
        N_TextBox2->SetText(ReadIni(wini::Section(), QString::fromUtf16(wini::kPasswordKey), file));
        N_TextBox2->SetText(
            UnscramblePassword(N_TextBox2->Text(), QString::fromLatin1(wini::kScrambleKey)));
        Check1->setChecked(true);
        N_TextBox1->SetForeColor(kEntryColor);
        N_TextBox2->SetForeColor(kEntryColor);
        Mask(N_TextBox2);
    }
    Shape1->setGeometry(rect());
    Shape1->raise();
    Picture2->setFocus(Qt::OtherFocusReason);
}

QString Login::HintOf(const N_TextBox* box) {
    static const QHash<QString, QString> hints = {
        {QStringLiteral("N_TextBox1"), QString::fromUtf16(accounts::kHintAccount)},
        {QStringLiteral("N_TextBox2"), QString::fromUtf16(accounts::kHintPassword)},
        {QStringLiteral("N_TextBox3"), QString::fromUtf16(accounts::kHintQQ)},
        {QStringLiteral("N_TextBox4"), QString::fromUtf16(accounts::kHintNewPassword)},
        {QStringLiteral("N_TextBox5"), QString::fromUtf16(accounts::kHintConfirm)},
        {QStringLiteral("N_TextBox6"), QString::fromUtf16(accounts::kHintPhone)},
    };
    return hints.value(box->objectName());
}

bool Login::ShowsHint(const N_TextBox* box) {
    return box->Text() == HintOf(box);
}

std::optional<QString> Login::EntryOf(const N_TextBox* box) {
    if (ShowsHint(box))
        return std::nullopt;
    return box->Text();
}

void Login::BoxGotFocus(N_TextBox* box) {
    if (box == N_TextBox6)
        box->SetMaxLength(11);
    if (!ShowsHint(box))
        return;
    box->SetText(QString());
    box->SetForeColor(kEntryColor);
    if (!IsPlainBox(*this, box))
        Mask(box);
}

void Login::BoxLostFocus(N_TextBox* box) {
    if (box == N_TextBox6)
        box->SetMaxLength(0);
    if (!box->Text().isEmpty()) {
        box->SetForeColor(kEntryColor);
        return;
    }
    box->SetText(HintOf(box));
    box->SetForeColor(kHintColor);
    if (!IsPlainBox(*this, box))
        Unmask(box);
}

// Every change of the new password sends the confirmation back to its hint.
void Login::ResetConfirmation() {
    N_TextBox5->SetText(QString::fromUtf16(accounts::kHintConfirm));
    N_TextBox5->SetForeColor(kHintColor);
    Unmask(N_TextBox5);
}

void Login::ShowPanel(QWidget* panel, const QString& title) {
    for (QWidget* other : {Picture2, Picture3, Picture4}) {
        if (other && other != panel)
            other->hide();
    }
    panel->show();
    Label1->setText(title);
    Label1->adjustSize();
}

// The close image ends the program without marking anybody offline.
void Login::CloseAndEnd() {
    close();
    program::EndProgram();
}

void Login::SetStatus(QLabel* line, const QString& text) {
    line->setText(text);
    line->adjustSize();
    line->move((kPanel.width() - line->width()) / 2, line->y());
}

bool Login::LockOut(N_Shape* button) {
    return LockOutButton(this, button);
}
