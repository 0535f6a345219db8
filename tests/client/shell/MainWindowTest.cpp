#include "ShellFixture.h"
#include "client/controls/iButton.h"
#include "client/shell/AdvertPane.h"
#include "client/shell/GGCT.h"
#include "client/shell/Main.h"
#include "client/shell/WindowRegistry.h"

#include <QApplication>
#include <QImage>
#include <QMouseEvent>
#include <QPointer>
#include <QTest>

namespace {

class MainWindow : public ShellFixture {
protected:
    void SetUp() override {
        ShellFixture::SetUp();
        window = new Main();
        QObject::connect(window, &Main::EditorRequested, window,
                         [this](int style) { openedEditors.append(style); });
        ASSERT_EQ(window->Load(), Main::Start::AwaitingSignIn);
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window));
        requests.clear();
    }
    // A pointer move as the window system delivers it (so disabled widgets do not get it).
    // It starts elsewhere: a move to where the pointer already is is no move at all.
    static void MoveMouseOver(QWidget* widget) {
        QWidget* top = widget->window();
        QTest::mouseMove(top->windowHandle(), QPoint(1, 1));
        QTest::mouseMove(top->windowHandle(), widget->mapTo(top, widget->rect().center()));
    }
    void ClickPicture(int tile) {
        ClickablePicture* picture = window->Image1[tile];
        QTest::mouseClick(picture, Qt::LeftButton, {}, picture->rect().center());
    }

    QPointer<Main> window;
    QList<int> openedEditors;
};

TEST(AdvertPage, TextIsExactlyThePaneText) {
    EXPECT_EQ(
        BuildAdvertPage(QStringLiteral("http://t/1"), QStringLiteral("http://p/1.png")),
        QStringLiteral("about:<html><body style='border: none; margin: 0:overflow:hidden' "
                       "bgColor='#ffccff'ondragstart ='return false' oncontextmenu='return false'"
                       "oncontextmenu=self.event.returnValue=false onselectstart='return false' "
                       "scroll='no'><a href='http://t/1'target='_blank'><img "
                       "src='http://p/1.png'></img></body></html>"));
}

TEST(Marquee, FirstCharacterMovesToTheEnd) {
    const QString text = QStringLiteral("abc") + QString(10, QLatin1Char(' '));
    EXPECT_EQ(RotateLeft(text), QStringLiteral("bc") + QString(10, QLatin1Char(' ')) + "a");
    EXPECT_EQ(RotateLeft(QStringLiteral("公告")), QStringLiteral("告公"));
    EXPECT_EQ(RotateLeft(QString()), QString());
}

TEST_F(MainWindow, LayoutOfTheWindow) {
    EXPECT_EQ(window->size(), QSize(714, 625));
    EXPECT_EQ(window->windowTitle(), QStringLiteral("风格"));
    EXPECT_TRUE(window->windowFlags().testFlag(Qt::FramelessWindowHint));
    EXPECT_EQ(window->iButton1->geometry(), QRect(672, 8, 33, 33));
    EXPECT_EQ(window->GongG->pos(), QPoint(344, 88));
    EXPECT_EQ(window->FGZS->geometry(), QRect(8, 112, 699, 449));
    EXPECT_EQ(window->FG[5]->geometry(), QRect(181, 136, 161, 121));
    EXPECT_EQ(window->FG[11]->geometry(), QRect(528, 264, 161, 121));
    EXPECT_EQ(window->Image1[0]->geometry(), QRect(0, 32, 159, 89));
    EXPECT_EQ(window->Image1[0]->Picture().size(), QSize(300, 155));
    EXPECT_EQ(window->Label1[6]->text(), QStringLiteral("阿狸心形表白"));
    EXPECT_EQ(window->Label1[9]->text(), QStringLiteral("敬请期待"));
    EXPECT_EQ(window->WebBrowser1->geometry(), QRect(16, 504, 333, 49));
    EXPECT_EQ(window->WebBrowser2->geometry(), QRect(363, 504, 333, 49));
    EXPECT_EQ(window->Image3->geometry(), QRect(298, 571, 40, 41));
    EXPECT_EQ(window->Image2->geometry(), QRect(343, 571, 41, 41));
    EXPECT_EQ(window->Timer1->interval(), 250);
    EXPECT_TRUE(window->Timer1->isActive());
}

TEST_F(MainWindow, MarqueeTicksEveryQuarterSecond) {
    const QString text = QStringLiteral("abc") + QString(10, QLatin1Char(' '));
    window->GongG->setText(text);
    ASSERT_TRUE(QTest::qWaitFor([&] { return window->GongG->text() != text; }, 2000));
    EXPECT_EQ(window->GongG->text(), QStringLiteral("bc") + QString(10, QLatin1Char(' ')) + "a");
    EXPECT_EQ(window->GongG->width(), window->GongG->sizeHint().width());
}

TEST_F(MainWindow, TilesAreInertBeforeSignIn) {
    ClickPicture(3);
    MoveMouseOver(window->Image1[3]);
    EXPECT_TRUE(openedEditors.isEmpty());
    EXPECT_EQ(GGCT::Instance().YMFG, QStringLiteral("页面风格"));
    EXPECT_EQ(window->Image1[3]->cursor().shape(), Qt::ArrowCursor);
    EXPECT_TRUE(requests.isEmpty());
}

TEST_F(MainWindow, TileOpensItsEditorAndRecordsTheStyle) {
    window->FGZS->setEnabled(true);
    MoveMouseOver(window->Image1[3]);
    EXPECT_EQ(window->Image1[3]->cursor().shape(), Qt::PointingHandCursor);
    ClickPicture(3);
    EXPECT_EQ(openedEditors, QList<int>{4});
    EXPECT_EQ(GGCT::Instance().YMFG, QStringLiteral("文本切换效果"));
    ClickPicture(3);
    EXPECT_EQ(openedEditors, (QList<int>{4, 4}));
    EXPECT_EQ(GGCT::Instance().YMFG, QStringLiteral("文本切换效果"));
    // The caption and the margin of a tile do nothing.
    QTest::mouseClick(window->Label1[0], Qt::LeftButton);
    QTest::mouseClick(window->FG[0], Qt::LeftButton, {}, QPoint(2, 60));
    EXPECT_EQ(openedEditors, (QList<int>{4, 4}));
    EXPECT_TRUE(requests.isEmpty());
}

TEST_F(MainWindow, ComingSoonTileOpensTheDownloadAddressFromANewSettingsRead) {
    window->FGZS->setEnabled(true);
    ClickPicture(10);
    EXPECT_EQ(RequestStatements(), QStringList{QStringLiteral("select * from 系统设置")});
    EXPECT_EQ(openedDocuments, QStringList{service.Url() + "/download"});
    EXPECT_TRUE(openedEditors.isEmpty());
}

TEST_F(MainWindow, ComingSoonTileWithoutSettingsOpensNothing) {
    window->FGZS->setEnabled(true);
    ASSERT_TRUE(service.Stop());
    ClickPicture(8);
    EXPECT_TRUE(openedDocuments.isEmpty());
}

TEST_F(MainWindow, HotSpotsOpenTheSupportAndShopPages) {
    QTest::mouseClick(window->Image2, Qt::LeftButton, {}, QPoint(20, 20));
    QTest::mouseClick(window->Image3, Qt::LeftButton, {}, QPoint(20, 20));
    EXPECT_EQ(openedDocuments, (QStringList{service.Url() + "/support", service.Url() + "/shop"}));
}

// Records the order in which windows receive their close.
class CloseRecorder : public QObject {
public:
    QStringList closed;
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Close)
            closed.append(watched->objectName());
        return false;
    }
};

TEST_F(MainWindow, ExitBeforeSignInMarksUserNameOfflineAndClosesEverything) {
    CloseRecorder recorder;
    auto* editor = new QWidget();
    editor->setObjectName(QStringLiteral("editor"));
    editor->show();  // opened after Main: closed first
    for (QObject* o : {static_cast<QObject*>(editor), static_cast<QObject*>(window.data()),
                       static_cast<QObject*>(&GGCT::Instance())}) {
        o->installEventFilter(&recorder);
    }
    QTest::mouseClick(window->iButton1, Qt::LeftButton, {}, QPoint(16, 16));
    EXPECT_EQ(RequestStatements(),
              QStringList{QStringLiteral("update 用户管理 set 是否在线='0' where 用户='用户名'")});
    EXPECT_EQ(requests[0].code, 2);
    EXPECT_EQ(programEnds, 1);
    EXPECT_EQ(recorder.closed, (QStringList{"editor", "Main", "GGCT"}));
    EXPECT_FALSE(editor->isVisible());
    EXPECT_TRUE(program::WindowRegistry::Windows().isEmpty());
}

// The gallery and every tile copy the part of the background behind the panel, the tiles
// from the panel's rectangle too, not from their own place.
TEST_F(MainWindow, GalleryAndTilesShowTheBackgroundBehindThePanel) {
    const QImage background(QStringLiteral(":/main-background.png"));
    ASSERT_FALSE(background.isNull());
    const QImage panel = window->FGZS->grab().toImage();
    const QPoint margin(3, 200);  // left of the first column of tiles
    EXPECT_EQ(panel.pixel(margin), background.pixel(margin + QPoint(8, 112)));
    const QImage tile = window->FG[5]->grab().toImage();
    const QPoint corner(3, 26);  // below the caption, above the picture
    EXPECT_EQ(tile.pixel(corner), background.pixel(corner + QPoint(8, 112)));
}

TEST_F(MainWindow, AnyMouseButtonOnTheBackgroundMovesTheWindow) {
    const QPoint start = window->pos();
    const QPoint local(300, 60);
    const QPoint global = window->mapToGlobal(local);
    QMouseEvent press(QEvent::MouseButtonPress, local, global, Qt::RightButton, Qt::RightButton,
                      Qt::NoModifier);
    QApplication::sendEvent(window, &press);
    QMouseEvent move(QEvent::MouseMove, local + QPoint(25, 15), global + QPoint(25, 15),
                     Qt::NoButton, Qt::RightButton, Qt::NoModifier);
    QApplication::sendEvent(window, &move);
    QMouseEvent release(QEvent::MouseButtonRelease, local + QPoint(25, 15), global + QPoint(25, 15),
                        Qt::RightButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(window, &release);
    EXPECT_EQ(window->pos(), start + QPoint(25, 15));
}

TEST_F(MainWindow, PressOnTheDisabledGalleryDoesNotMoveTheWindow) {
    const QPoint start = window->pos();
    const QPoint local = window->FGZS->geometry().topLeft() + QPoint(3, 200);
    QTest::mousePress(window, Qt::RightButton, {}, local);
    QTest::mouseMove(window, local + QPoint(30, 30));
    QTest::mouseRelease(window, Qt::RightButton, {}, local + QPoint(30, 30));
    EXPECT_EQ(window->pos(), start);
}

}  // namespace
