#include "client/shell/Main.h"

#include "client/controls/LoadProperties.h"
#include "client/controls/OleColor.h"
#include "client/controls/PropertyBag.h"
#include "client/controls/iButton.h"
#include "client/gateway/Gateway.h"
#include "client/gateway/ServiceAddress.h"
#include "client/platform/Platform.h"
#include "client/settings/Wini.h"
#include "client/shell/AdvertPane.h"
#include "client/shell/CommonRoutines.h"
#include "client/shell/GGCT.h"
#include "client/shell/Program.h"
#include "client/shell/SingleInstance.h"
#include "client/shell/UpDown.h"
#include "client/shell/WindowRegistry.h"
#include "common/Statements.h"

#include <QMouseEvent>
#include <QPainter>
#include <QUrl>
#include <QWindow>

namespace {

// Layout of the window, in pixels of the client area.
constexpr QSize kClientSize(714, 625);
constexpr QRect kExitButton(672, 8, 33, 33);
constexpr QPoint kAnnouncementAt(344, 88);
constexpr QRect kGallery(8, 112, 699, 449);
constexpr QRect kLeftAdvert(16, 504, 333, 49);
constexpr QRect kRightAdvert(363, 504, 333, 49);
constexpr QRect kShopSpot(298, 571, 40, 41);     // Image3
constexpr QRect kSupportSpot(343, 571, 41, 41);  // Image2
constexpr QSize kTileSize(161, 121);
constexpr int kTileColumns[] = {8, 181, 355, 528};
constexpr int kTileRows[] = {8, 136, 264};
constexpr QRect kTilePicture(0, 32, 159, 89);
constexpr int kCaptionTop = 8;
constexpr int kCaptionHeight = 19;
constexpr int kMarqueeMs = 250;
constexpr int kAnnouncementPadding = 10;  // blanks after the announcement text

// Texts of the window; the announcement shows "公告" until the service's text replaces it.
constexpr char16_t kWindowTitle[] = u"风格";
constexpr char16_t kAnnouncementPlaceholder[] = u"公告";
constexpr char16_t kNoticeTitle[] = u"提示";
constexpr char16_t kAlreadyRunning[] = u"程序已经运行,不能再次装载！";
constexpr char16_t kNoNetwork[] = u"网络连接失败";
const QString kCaptions[12] = {
    QStringLiteral("文字+MV效果"),     QStringLiteral("心形+图片飘浮"),
    QStringLiteral("心形树+漂浮图片"), QStringLiteral("文本切换效果"),
    QStringLiteral("打字特效+MV"),     QStringLiteral("3D画册效果"),
    QStringLiteral("阿狸心形表白"),    QStringLiteral("数字时钟效果"),
    QStringLiteral("敬请期待"),        QStringLiteral("敬请期待"),
    QStringLiteral("敬请期待"),        QStringLiteral("敬请期待"),
};

const QColor kAnnouncementColor(255, 128, 128);
const QColor kGalleryColor(128, 128, 128);
const QColor kTileColor(255, 255, 192);
const QColor kCaptionColor(255, 0, 0);
// The ground when the background picture is missing.
const QColor kBackgroundColor(255, 224, 236);
// Faces of the announcement and of the tiles' captions.
constexpr char16_t kCaptionFace[] = u"黑体";
constexpr double kAnnouncementPoints = 12;
constexpr double kCaptionPoints = 14.25;

QString PreviewPicture(int index) {
    return index < 8 ? QStringLiteral(":/preview-%1.png").arg(index + 1)
                     : QStringLiteral(":/preview-soon.png");
}

// The exit button's stored set: a strip of five 30 x 30 cells stretched over 33 x 33 pixels.
controls::PropertyBag ExitButtonProperties() {
    controls::PropertyBag bag;
    bag.SetPicture(QStringLiteral("BackPicture"), QPixmap(QStringLiteral(":/exit-strip.png")));
    bag.SetInteger(QStringLiteral("Style"), 0);
    bag.SetBoolean(QStringLiteral("AutoSize"), false);
    bag.SetColor(QStringLiteral("cForeColor"), controls::SystemColor(controls::kColorButtonText));
    bag.SetFont(QStringLiteral("cFont"), controls::MakeFont(QStringLiteral("宋体"), 9), 134);
    bag.SetInteger(QStringLiteral("cDrawMode"), 13);
    return bag;
}

}  // namespace

QString RotateLeft(const QString& text) {
    if (text.isEmpty())
        return text;
    return text.mid(1) + text.front();
}

Main::Main(QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint),
      iButton1(new iButton(this)),
      GongG(new QLabel(QString::fromUtf16(kAnnouncementPlaceholder), this)),
      FGZS(new GalleryPanel(&background_, this)),
      WebBrowser1(new AdvertPane(this)),
      WebBrowser2(new AdvertPane(this)),
      Image2(new ClickablePicture(this)),
      Image3(new ClickablePicture(this)),
      Timer1(new QTimer(this)),
      background_(QStringLiteral(":/main-background.png")) {
    setObjectName(QStringLiteral("Main"));
    setWindowTitle(QString::fromUtf16(kWindowTitle));
    setWindowIcon(ProgramIcon());
    setFixedSize(kClientSize);
    CentreOnScreen(this);

    controls::LoadProperties(*iButton1, ExitButtonProperties());
    iButton1->setGeometry(kExitButton);
    connect(iButton1, &iButton::Click, this, &Main::ExitPath);

    GongG->setFont(controls::MakeFont(QString::fromUtf16(kCaptionFace), kAnnouncementPoints));
    SetPaletteColor(GongG, QPalette::WindowText, kAnnouncementColor);
    GongG->move(kAnnouncementAt);
    GongG->adjustSize();
    GongG->setAttribute(Qt::WA_TransparentForMouseEvents);

    BuildGallery();

    WebBrowser1->setGeometry(kLeftAdvert);
    WebBrowser2->setGeometry(kRightAdvert);
    WebBrowser1->raise();
    WebBrowser2->raise();

    Image3->setGeometry(kShopSpot);
    Image2->setGeometry(kSupportSpot);
    connect(Image2, &ClickablePicture::Clicked, this, [] { OpenDocument(SupportAddress()); });
    connect(Image3, &ClickablePicture::Clicked, this, [] { OpenDocument(ShopAddress()); });

    Timer1->setInterval(kMarqueeMs);
    connect(Timer1, &QTimer::timeout, this, &Main::MarqueeStep);
    Timer1->start();
    // Any button on the background or the gallery's margin moves the window.
    auto* mover = new WindowMover(this);
    mover->Watch(this);
    mover->Watch(FGZS);
}

void Main::BuildGallery() {
    FGZS->setGeometry(kGallery);
    FGZS->SetBackdropRect(kGallery);  // the panel has no border: its client area is all of it
    FGZS->setAutoFillBackground(false);
    SetPaletteColor(FGZS, QPalette::Window, kGalleryColor);

    const QFont captionFont = controls::MakeFont(QString::fromUtf16(kCaptionFace), kCaptionPoints);
    for (int i = 0; i < 12; ++i) {
        auto* tile = new StyleTile(&background_, FGZS);
        tile->setObjectName(QStringLiteral("FG%1").arg(i));
        tile->setGeometry(QRect(QPoint(kTileColumns[i % 4], kTileRows[i / 4]), kTileSize));
        tile->SetBackdropRect(kGallery);
        SetPaletteColor(tile, QPalette::Window, kTileColor);

        tile->Label1->setText(kCaptions[i]);
        tile->Label1->setFont(captionFont);
        SetPaletteColor(tile->Label1, QPalette::WindowText, kCaptionColor);
        tile->Label1->setAlignment(Qt::AlignHCenter | Qt::AlignVCenter);
        tile->Label1->setGeometry(0, kCaptionTop, kTileSize.width(), kCaptionHeight);

        tile->Image1->setGeometry(kTilePicture);
        tile->Image1->SetPicture(QPixmap(PreviewPicture(i)));
        connect(tile->Image1, &ClickablePicture::Clicked, this, [this, i] { TileAction(i); });

        FG.append(tile);
        Label1.append(tile->Label1);
        Image1.append(tile->Image1);
    }
}

void Main::EnableGallery() {
    FGZS->setEnabled(true);
}

QString Main::SupportAddress() {
    return service::PageOf(QStringLiteral("/support"));
}
QString Main::ShopAddress() {
    return service::PageOf(QStringLiteral("/shop"));
}

Main::Start Main::Load() {
    GGCT::Instance();
    program::WindowRegistry::Install();

    // 1. A second copy ends before it asks the service anything.
    if (!program::AcquireInstance()) {
        ShowMessage(QString::fromUtf16(kAlreadyRunning), QString::fromUtf16(kNoticeTitle),
                    QMessageBox::Warning);
        program::EndProgram();
        return Start::Ended;
    }

    // 2. The announcement, followed by blanks so that it scrolls apart from its next round.
    if (const auto text = gateway::FieldAt(gateway::ReadSystemSettings(), columns::kAnnouncement)) {
        GongG->setText(*text + QString(kAnnouncementPadding, QLatin1Char(' ')));
        GongG->adjustSize();
    }

    // 3. Network: none is needed to reach a service on this machine.
    if (!platform::Current().networkPresent(QUrl(service::Address()).host())) {
        ShowMessage(QString::fromUtf16(kNoNetwork), QString::fromUtf16(kNoticeTitle),
                    QMessageBox::Information);
        program::EndProgram();
        return Start::Ended;
    }

    // 4. Version: anything but exactly our own version, an unreadable one included, offers
    // the update instead of this window.
    const auto version = gateway::FieldAt(gateway::ReadSystemSettings(), columns::kNewestVersion);
    if (!version || *version != QStringView(program::kClientVersion)) {
        TakeUpdatePath();
        return Start::UpdateOffered;
    }

    // 5. Adverts, left pane then right pane.
    FillAdvertPane(WebBrowser1, 1);
    FillAdvertPane(WebBrowser2, 2);

    // 6. Service state; an unreadable state counts as closed.
    const auto state = gateway::FieldAt(gateway::ReadSystemSettings(), columns::kServiceState);
    if (!state || *state == QStringLiteral("关闭")) {
        FGZS->setEnabled(false);
        show();
        return Start::ServiceClosed;
    }

    // 7. The normal case: the gallery waits for a sign-in.
    show();
    FGZS->setEnabled(false);
    emit SignInRequested(this);
    return Start::AwaitingSignIn;
}

void Main::TakeUpdatePath() {
    wini::CreateSettingsFolder();
    WriteIni(wini::Section(), QString::fromUtf16(wini::kProgramNameKey),
             program::ExecutableBaseName(), wini::SettingsFilePath());
    auto* notice = new UpDown();
    notice->show();
    close();
}

void Main::FillAdvertPane(AdvertPane* pane, int record) {
    const QStringList links = gateway::ReadAdvertLinks();
    const QStringList pictures = gateway::ReadAdvertImages();
    if (record >= links.size() || record >= pictures.size())
        return;
    if (links[record].isEmpty() && pictures[record].isEmpty())
        return;  // no such advert
    pane->Navigate(BuildAdvertPage(links[record], pictures[record]));
}

void Main::TileAction(int index) {
    if (index < 0 || index > 11)
        return;
    if (index < 8) {
        emit EditorRequested(index + 1);
        GGCT::Instance().YMFG = Label1[index]->text();
        return;
    }
    if (const auto address =
            gateway::FieldAt(gateway::ReadSystemSettings(), columns::kDownloadAddress)) {
        OpenDocument(*address);
    }
}

void Main::ExitPath() {
    gateway::Execute(statements::MarkOffline(GGCT::Instance().YHM));
    program::EndProgram();
}

void Main::MarqueeStep() {
    GongG->setText(RotateLeft(GongG->text()));
    GongG->adjustSize();
}

void Main::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    if (background_.isNull()) {
        painter.fillRect(rect(), kBackgroundColor);
    } else {
        painter.drawPixmap(0, 0, background_);
    }
}

// Any mouse button pressed on the window's background or on the gallery's margin moves the
// window. A press that lands on a disabled part (the gallery before sign-in) does nothing.
