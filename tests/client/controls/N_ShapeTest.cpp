// N_Shape as a widget: properties, stored sets, layout, faces, and real pointer and keys.

#include "ControlsTestSupport.h"
#include "client/controls/N_Shape.h"
#include "client/controls/OleColor.h"

#include <QFontMetrics>
#include <QPainter>
#include <QSignalSpy>
#include <QTest>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

using controls::OleFromRgb;
using controls::PropertyBag;
using controls_test::HostWindow;
using controls_test::SignalLog;
using controls_test::WaitUntil;
using ::testing::ElementsAre;

namespace {

int CaptionWidth(const QString& text, int points = 8, bool bold = false) {
    QFont font("Verdana");
    font.setPointSize(points);
    font.setBold(bold);
    return QFontMetrics(font).horizontalAdvance(text);
}

// The sign-in window's "登 陆" button.
PropertyBag SignInButton() {
    PropertyBag bag;
    bag.SetText("Caption", "登 陆");
    bag.SetColor("BackGround", 0x00FFFFFF);
    bag.SetColor("BackColorNormal", OleFromRgb(0xF2F1EF));
    bag.SetColor("BackColorHover", OleFromRgb(0xE0E0E0));
    bag.SetColor("BackColorDown", OleFromRgb(0xFFFFFF));
    bag.SetColor("BorderColorNormal", OleFromRgb(0x00C0C0));
    bag.SetColor("BorderColorHover", OleFromRgb(0xB3B3B3));
    bag.SetColor("BorderColorDown", OleFromRgb(0xB3B3B3));
    bag.SetInteger("FontSize", 9);
    bag.SetColor("ForeColorNormal", OleFromRgb(0x00C0C0));
    bag.SetColor("ForeColorHover", 0);
    bag.SetColor("ForeColorDown", 0);
    bag.SetBoolean("Text_Visible", true);
    bag.SetBoolean("StretchToText", false);
    return bag;
}

QPixmap Solid(QSize size, QColor colour) {
    QPixmap picture(size);
    picture.fill(colour);
    return picture;
}

}  // namespace

TEST(N_ShapeTest, NewButtonTakesTheNewColumnAndStretchesToItsName) {
    N_Shape button(nullptr, "N_Shape7");
    EXPECT_EQ(button.Caption(), "N_Shape7");
    EXPECT_EQ(button.Style(), 4);
    EXPECT_EQ(button.FontSize(), 8);
    EXPECT_TRUE(button.Text_Visible());
    EXPECT_TRUE(button.StretchToText());
    EXPECT_FALSE(button.Graphical());
    EXPECT_EQ(button.BackGround(), 0x00EFF1F2u);
    EXPECT_EQ(button.BackColorNormal(), 0x00EFF1F2u);
    EXPECT_EQ(button.BackColorHover(), 0x00E0E0E0u);
    EXPECT_EQ(button.BackColorDown(), 0x00FFFFFFu);
    EXPECT_EQ(button.BorderColorNormal(), 0x00B3B3B3u);
    EXPECT_EQ(button.BorderCustom(), 0x00B3B3B3u);
    EXPECT_EQ(button.ForeColorNormal(), 0u);
    EXPECT_EQ(button.Font().family(), "Verdana");
    EXPECT_FALSE(button.MouseInside());
    EXPECT_EQ(button.width(), CaptionWidth("N_Shape7") + 16);
    EXPECT_EQ(button.CaptionRect().left(), 8);
    EXPECT_TRUE(button.ChangedProperties().isEmpty());
}

TEST(N_ShapeTest, StretchToTextWidthFollowsCaptionAndPicture) {
    N_Shape button;
    button.resize(200, 33);
    button.SetText_Visible(false);
    button.SetCaption("");
    EXPECT_EQ(button.width(), 16);
    EXPECT_EQ(button.height(), 33);

    button.SetPicture_Normal(Solid(QSize(20, 12), Qt::red));
    button.SetGraphical(true);
    EXPECT_EQ(button.width(), 20 + 16);
    EXPECT_EQ(button.PictureBoxRect(), QRect(8, (33 - 12) / 2, 20, 12));

    button.SetCaption("注 册");
    button.SetText_Visible(true);
    const int text = CaptionWidth("注 册");
    EXPECT_EQ(button.width(), text + 16 + 20 + 8);
    EXPECT_EQ(button.CaptionRect().left(), 8 + 20 + 8);
}

TEST(N_ShapeTest, FixedWidthCentresTheCaptionAndFontChangesWaitForTheLayout) {
    N_Shape button;
    button.SetStretchToText(false);
    button.resize(233, 33);
    button.SetCaption("登 陆");
    const QRect before = button.CaptionRect();
    EXPECT_EQ(before.left(), (233 - CaptionWidth("登 陆")) / 2);
    EXPECT_EQ(button.width(), 233);

    button.SetFontSize(14);
    button.SetFontBold(true);
    EXPECT_EQ(button.CaptionRect().topLeft(), before.topLeft());
    button.Ajustar_Botao();
    EXPECT_EQ(button.CaptionRect().left(), (233 - CaptionWidth("登 陆", 14, true)) / 2);
    EXPECT_NE(button.CaptionRect().top(), before.top());
}

TEST(N_ShapeTest, EmptySetTakesTheLoadDefaults) {
    N_Shape button(nullptr, "N_Shape2");
    button.resize(120, 33);
    ASSERT_TRUE(button.ReadProperties(PropertyBag()));
    EXPECT_EQ(button.Caption(), "NShape1");
    EXPECT_FALSE(button.Text_Visible());
    EXPECT_TRUE(button.StretchToText());
    EXPECT_EQ(button.BackGround(), 0x00FF8080u);
    EXPECT_EQ(button.BackColorNormal(), 0x008080FFu);
    EXPECT_EQ(button.BackColorHover(), 0x0080C0FFu);
    EXPECT_EQ(button.BackColorDown(), 0x0080FFFFu);
    EXPECT_EQ(button.BorderColorDown(), 0x00FFFF80u);
    EXPECT_EQ(button.ForeColorHover(), 0x008080FFu);
    EXPECT_EQ(button.BorderCustom(), 0x0080FF80u);
    EXPECT_EQ(button.Font().family(), "MS Sans Serif");
    // Caption hidden, no picture: 16 pixels wide.
    EXPECT_EQ(button.width(), 16);
}

TEST(N_ShapeTest, LoadingDoesNotStretchAFixedWidthButton) {
    N_Shape button(nullptr, "N_Shape2");
    button.setGeometry(48, 192, 233, 33);
    ASSERT_TRUE(button.ReadProperties(SignInButton()));
    EXPECT_EQ(button.width(), 233);
    EXPECT_EQ(button.Caption(), "登 陆");
    EXPECT_EQ(button.CaptionRect().left(), (233 - CaptionWidth("登 陆", 9)) / 2);
    EXPECT_EQ(button.BackColorNormal(), OleFromRgb(0xF2F1EF));
    EXPECT_EQ(button.ForeColorNormal(), OleFromRgb(0x00C0C0));
}

TEST(N_ShapeTest, StoredAsDisabledEndsWithItsCaptionInForeColorNormal) {
    PropertyBag bag = SignInButton();
    bag.SetBoolean("Enabled", false);
    N_Shape button;
    ASSERT_TRUE(button.ReadProperties(bag));
    EXPECT_FALSE(button.Enabled());
    EXPECT_FALSE(button.isEnabled());
    EXPECT_EQ(button.ForeColorNormal(), OleFromRgb(0x00C0C0));

    // Assigned outside a handler, Enabled greys the caption; enabling brings the colour back.
    button.SetEnabled(true);
    button.SetEnabled(false);
    EXPECT_EQ(button.ForeColorNormal(), 0x00B3B3B3u);
    button.setEnabled(true);
    EXPECT_EQ(button.ForeColorNormal(), OleFromRgb(0x00C0C0));
}

TEST(N_ShapeTest, AFailingKeyStopsLoadingAndLaterKeysKeepTheirValues) {
    PropertyBag bag = SignInButton();
    bag.SetText("FontSize", "nine");
    bag.SetBoolean("FontBold", true);
    N_Shape button;
    EXPECT_FALSE(button.ReadProperties(bag));
    EXPECT_EQ(button.Caption(), "登 陆");
    EXPECT_FALSE(button.FontBold());
    EXPECT_EQ(button.ForeColorNormal(), 0u);
}

TEST(N_ShapeTest, WrittenSetReadsBackToTheSameButton) {
    N_Shape first;
    first.resize(233, 33);
    PropertyBag bag = SignInButton();
    bag.SetPicture("Picture_Hover", Solid(QSize(5, 5), Qt::green));
    ASSERT_TRUE(first.ReadProperties(bag));
    const PropertyBag written = first.WriteProperties();
    EXPECT_THAT(
        written.Keys(),
        ElementsAre("Picture_Hover", "Caption", "BackGround", "BackColorNormal", "BackColorHover",
                    "BackColorDown", "BorderColorNormal", "BorderColorHover", "BorderColorDown",
                    "FontSize", "Font", "ForeColorNormal", "ForeColorHover", "ForeColorDown",
                    "Text_Visible", "StretchToText"));

    N_Shape second;
    second.resize(233, 33);
    ASSERT_TRUE(second.ReadProperties(written));
    EXPECT_EQ(second.Caption(), first.Caption());
    EXPECT_EQ(second.FontSize(), 9);
    EXPECT_EQ(second.BorderColorHover(), first.BorderColorHover());
    EXPECT_FALSE(second.Picture_Hover().isNull());
    EXPECT_FALSE(second.StretchToText());
    EXPECT_EQ(second.width(), 233);
}

TEST(N_ShapeTest, CurPictureComparesPictureHandles) {
    N_Shape button;
    EXPECT_EQ(button.CurPicture(), 0);
    const QPixmap normal = Solid(QSize(4, 4), Qt::red);
    button.SetPicture_Hover(normal);
    button.SetPicture_Normal(normal);
    // The same picture as normal and hover: normal is compared first.
    EXPECT_EQ(button.CurPicture(), 3);
    button.SetPicture_Down(Solid(QSize(4, 4), Qt::blue));
    EXPECT_EQ(button.CurPicture(), 3);
}

TEST(N_ShapeTest, FacePaintsTheNormalColoursInsideARoundedOutline) {
    N_Shape button;
    button.resize(233, 33);
    ASSERT_TRUE(button.ReadProperties(SignInButton()));
    const QImage face = button.grab().toImage();
    EXPECT_EQ(face.pixelColor(0, 0), QColor(Qt::white));  // outside the rounded corner
    EXPECT_EQ(face.pixelColor(3, 16), QColor(0xF2, 0xF1, 0xEF));
    EXPECT_EQ(face.pixelColor(0, 16), QColor(0x00, 0xC0, 0xC0));    // left border
    EXPECT_EQ(face.pixelColor(116, 32), QColor(0x00, 0xC0, 0xC0));  // bottom border
}

TEST(N_ShapeTest, RealPointerHoversLeavesAndCleansUp) {
    HostWindow window;
    auto* button = new N_Shape(&window, "N_Shape2");
    button->setGeometry(40, 40, 233, 33);
    ASSERT_TRUE(button->ReadProperties(SignInButton()));
    controls_test::MoveCursorAway();
    ASSERT_TRUE(window.ShowAndWait());
    SignalLog log(button);

    controls_test::MoveCursorTo(button, QPoint(20, 15));
    EXPECT_TRUE(WaitUntil([&] { return log.names.contains("MouseEnter"); }));
    EXPECT_EQ(button->State().FaceState(), 1);
    EXPECT_EQ(button->BackColorNormal(), OleFromRgb(0xE0E0E0));
    EXPECT_EQ(button->ForeColorNormal(), 0u);

    controls_test::MoveCursorTo(&window, QPoint(350, 250));
    // The capture check and the polling timer each notice; which comes first is a race.
    EXPECT_TRUE(WaitUntil(
        [&] { return log.names.contains("MouseLeave") && log.names.contains("MouseOut"); }));
    EXPECT_EQ(log.names.count("MouseEnter"), 1);
    EXPECT_EQ(button->BackColorNormal(), OleFromRgb(0xF2F1EF));
    EXPECT_EQ(button->ForeColorNormal(), OleFromRgb(0x00C0C0));
    EXPECT_FALSE(button->State().IsHovering());
}

TEST(N_ShapeTest, RealClicksRightDoubleAndDragOff) {
    HostWindow window;
    auto* button = new N_Shape(&window, "N_Shape3");
    button->setGeometry(40, 40, 97, 33);
    ASSERT_TRUE(button->ReadProperties(SignInButton()));
    ASSERT_TRUE(window.ShowAndWait());
    controls_test::MoveCursorTo(button, QPoint(20, 15));
    SignalLog log(button);

    QTest::mousePress(button, Qt::RightButton, {}, QPoint(20, 15));
    EXPECT_NE(button->BackColorNormal(), OleFromRgb(0xFFFFFF));
    QTest::mouseRelease(button, Qt::RightButton, {}, QPoint(20, 15));
    EXPECT_THAT(log.Only({"MouseDown", "MouseUp", "Click"}),
                ElementsAre("MouseDown", "MouseUp", "Click"));

    log.names.clear();
    QTest::mousePress(button, Qt::LeftButton, {}, QPoint(20, 15));
    QTest::mouseRelease(button, Qt::LeftButton, {}, QPoint(20, 15));
    QTest::mouseDClick(button, Qt::LeftButton, {}, QPoint(20, 15));
    QTest::mouseRelease(button, Qt::LeftButton, {}, QPoint(20, 15));
    EXPECT_THAT(log.Only({"Click", "DblClick"}), ElementsAre("Click", "DblClick", "Click"));

    log.names.clear();
    QTest::mousePress(button, Qt::LeftButton, {}, QPoint(20, 15));
    EXPECT_EQ(button->BackColorNormal(), OleFromRgb(0xFFFFFF));
    controls_test::MoveCursorTo(&window, QPoint(350, 250));
    QTest::mouseMove(button, QPoint(310, 210));
    QTest::mouseRelease(button, Qt::LeftButton, {}, QPoint(310, 210));
    EXPECT_THAT(log.Only({"Click"}), ElementsAre("Click"));
    EXPECT_TRUE(WaitUntil([&] { return button->State().FaceState() == 0; }));
    EXPECT_EQ(button->BackColorNormal(), OleFromRgb(0xF2F1EF));
}

TEST(N_ShapeTest, DisablingInsideTheClickHandlerLeavesTheStateColour) {
    HostWindow window;
    auto* button = new N_Shape(&window, "N_Shape2");
    button->setGeometry(40, 40, 233, 33);
    ASSERT_TRUE(button->ReadProperties(SignInButton()));
    ASSERT_TRUE(window.ShowAndWait());
    controls_test::MoveCursorTo(button, QPoint(20, 15));
    QObject::connect(button, &N_Shape::Click, button, [button] { button->SetEnabled(false); });
    QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(20, 15));
    EXPECT_FALSE(button->isEnabled());
    EXPECT_EQ(button->ForeColorNormal(), 0u);  // the hover caption colour, not grey
}

TEST(N_ShapeTest, EnterClicksAndArrowsMoveTheFocus) {
    HostWindow window;
    auto* first = new N_Shape(&window, "N_Shape2");
    auto* second = new N_Shape(&window, "N_Shape3");
    auto* third = new N_Shape(&window, "N_Shape1");
    first->move(10, 10);
    second->move(10, 60);
    third->move(10, 110);
    ASSERT_TRUE(window.ShowAndWait(true));
    first->setFocus();
    ASSERT_TRUE(WaitUntil([&] { return first->hasFocus(); }));

    SignalLog log(first);
    QTest::keyClick(first, Qt::Key_Return);
    EXPECT_THAT(log.Only({"Click", "KeyDown", "KeyPress", "KeyUp"}),
                ElementsAre("Click", "KeyDown", "KeyPress", "KeyUp"));
    QSignalSpy keyDown(first, &N_Shape::KeyDown);
    QTest::keyClick(first, Qt::Key_Right);
    EXPECT_TRUE(second->hasFocus());
    ASSERT_EQ(keyDown.count(), 1);
    EXPECT_EQ(keyDown.at(0).at(0).toInt(), 39);
    QTest::keyClick(second, Qt::Key_Down);
    EXPECT_TRUE(third->hasFocus());
    QTest::keyClick(third, Qt::Key_Up);
    QTest::keyClick(second, Qt::Key_Left);
    EXPECT_TRUE(first->hasFocus());
    QTest::keyClick(first, Qt::Key_Space);
    EXPECT_EQ(log.Only({"Click"}).size(), 1);
}

TEST(N_ShapeTest, BorderGotFocusRecoloursTheBorderWhileFocused) {
    HostWindow window;
    auto* button = new N_Shape(&window);
    auto* other = new N_Shape(&window, "other");
    other->move(0, 50);
    button->SetBorderGotFocus(true);
    button->SetBorderCustom(0x0080FF80);
    ASSERT_TRUE(window.ShowAndWait(true));
    button->setFocus();
    ASSERT_TRUE(WaitUntil([&] { return button->hasFocus(); }));
    EXPECT_EQ(button->BorderColorNormal(), 0x0080FF80u);
    other->setFocus();
    ASSERT_TRUE(WaitUntil([&] { return other->hasFocus(); }));
    EXPECT_EQ(button->BorderColorNormal(), 0x00B3B3B3u);
}

TEST(N_ShapeTest, ResizeIsRaisedBeforeTheLayout) {
    N_Shape button;
    button.SetStretchToText(false);
    int captionLeftAtResize = -1;
    QObject::connect(&button, &N_Shape::Resize, &button,
                     [&] { captionLeftAtResize = button.CaptionRect().left(); });
    button.resize(100, 33);
    button.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&button));
    const int laidOut = button.CaptionRect().left();
    button.resize(300, 33);
    EXPECT_EQ(captionLeftAtResize, laidOut);
    EXPECT_NE(button.CaptionRect().left(), laidOut);
}
