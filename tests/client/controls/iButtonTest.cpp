// iButton: looks, clicks, keys and toggling of its state machine; cutting and drawing the
// strip; stored sets.

#include "ControlsTestSupport.h"
#include "client/controls/InputCodes.h"
#include "client/controls/OleColor.h"
#include "client/controls/iButton.h"
#include "client/controls/iButtonState.h"

#include <QPainter>
#include <QSignalSpy>
#include <QTest>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

using controls::iButtonState;
using controls::PropertyBag;
using controls_test::HostWindow;
using controls_test::SignalLog;
using controls_test::WaitUntil;
using ::testing::ElementsAre;

namespace {

class Recorder : public iButtonState::Host {
public:
    QStringList log;
    bool over = false;
    bool enabled = true;
    iButtonState state{*this, [this] { return over; }};

    QStringList Events(const QStringList& only) const {
        QStringList picked;
        for (const QString& entry : log) {
            if (only.contains(entry.section('(', 0, 0)))
                picked << entry;
        }
        return picked;
    }

    void DrawButton(int look) override { log << QString("Draw(%1)").arg(look); }
    bool IsEnabled() const override { return enabled; }
    void StartTimer() override { log << "StartTimer"; }
    void StopTimer() override { log << "StopTimer"; }
    void RaiseClick() override { log << "Click"; }
    void RaiseMouseDown(int b, int, double, double) override {
        log << QString("MouseDown(%1)").arg(b);
    }
    void RaiseKeyDown(int k, int) override { log << QString("KeyDown(%1)").arg(k); }
    void RaiseKeyUp(int k, int) override { log << QString("KeyUp(%1)").arg(k); }
    void RaiseKeyPress(int c) override { log << QString("KeyPress(%1)").arg(c); }
    void RaiseMouseUp(int b, int, double, double) override { log << QString("MouseUp(%1)").arg(b); }
    void RaiseMouseMove(int b, int, double, double) override {
        log << QString("MouseMove(%1)").arg(b);
    }
    void RaiseMouseOut() override { log << "MouseOut"; }
    void RaiseMouseOver() override { log << "MouseOver"; }
    void RaiseDBClick() override { log << "DBClick"; }
};

// A strip of cells, each a solid colour.
QPixmap Strip(const QVector<QColor>& colours, QSize cell = QSize(30, 30)) {
    QPixmap strip(cell.width() * int(colours.size()), cell.height());
    QPainter painter(&strip);
    for (int i = 0; i < colours.size(); ++i)
        painter.fillRect(i * cell.width(), 0, cell.width(), cell.height(), colours[i]);
    return strip;
}

const QVector<QColor> kFiveCells = {Qt::darkCyan, Qt::magenta, Qt::darkRed, Qt::gray, Qt::yellow};
const QVector<QColor> kTenCells = {Qt::gray, Qt::lightGray, Qt::darkGray, Qt::white, Qt::green,
                                   Qt::cyan, Qt::darkGreen, Qt::blue,     Qt::black, Qt::black};

QColor CentrePixel(iButton* button) {
    const QImage image = button->grab().toImage();
    return image.pixelColor(image.width() / 2, image.height() / 2);
}

}  // namespace

TEST(iButtonStateTest, ALookIsDrawnOnlyWhenItChangesUnlessForced) {
    Recorder r;
    r.state.cMouseAction(0, false);
    EXPECT_TRUE(r.log.isEmpty());
    r.state.cMouseAction(1, false);
    r.state.cMouseAction(1, false);
    r.state.cMouseAction(1, true);
    EXPECT_THAT(r.log, ElementsAre("Draw(1)", "Draw(1)"));
    r.enabled = false;
    EXPECT_EQ(r.state.CurrentState(), 3);
}

TEST(iButtonStateTest, LeftClickPressesThenHoversAndClicks) {
    Recorder r;
    r.over = true;
    r.state.PointerMove(0, 0, 15, 15);
    EXPECT_THAT(r.log, ElementsAre("MouseMove(0)", "Draw(1)", "StartTimer", "MouseOver"));
    r.log.clear();
    r.state.Press(controls::kLeftButton, 0, 15, 15);
    EXPECT_TRUE(r.state.IsPressed());
    r.state.Release(controls::kLeftButton, 0, 15, 15);
    r.state.PlatformClick();
    EXPECT_THAT(
        r.log, ElementsAre("MouseDown(1)", "Draw(2)", "MouseUp(1)", "Draw(1)", "Draw(1)", "Click"));
    EXPECT_FALSE(r.state.IsPressed());
}

TEST(iButtonStateTest, RightButtonNeverClicksNorChangesTheLook) {
    Recorder r;
    r.over = true;
    r.state.PointerMove(0, 0, 15, 15);
    r.log.clear();
    r.state.Press(controls::kRightButton, 0, 15, 15);
    r.state.Release(controls::kRightButton, 0, 15, 15);
    r.state.PlatformClick();
    EXPECT_THAT(r.log, ElementsAre("MouseDown(2)", "MouseUp(2)"));
    EXPECT_EQ(r.state.LastLook(), 1);
}

TEST(iButtonStateTest, HoldingLeftOffTheButtonShowsNormalAndBackShowsPressed) {
    Recorder r;
    r.over = true;
    r.state.PointerMove(0, 0, 15, 15);
    r.state.Press(controls::kLeftButton, 0, 15, 15);
    r.log.clear();
    r.over = false;
    r.state.TimerTick();
    EXPECT_THAT(r.log, ElementsAre("Draw(0)"));
    r.over = true;
    r.state.TimerTick();
    EXPECT_THAT(r.log, ElementsAre("Draw(0)", "Draw(2)"));
    r.over = false;
    r.log.clear();
    r.state.Release(controls::kLeftButton, 0, 900, 15);
    EXPECT_THAT(r.log, ElementsAre("MouseUp(1)", "Draw(0)"));
    r.state.TimerTick();
    EXPECT_THAT(r.Events({"MouseOut", "StopTimer"}), ElementsAre("StopTimer", "MouseOut"));
    EXPECT_FALSE(r.state.IsHovering());
}

TEST(iButtonStateTest, FirstTickElsewhereRaisesMouseOutOnce) {
    Recorder r;
    r.state.TimerTick();
    EXPECT_THAT(r.log, ElementsAre("StopTimer", "MouseOut"));
}

TEST(iButtonStateTest, EnterClicksOnPressAndSpaceOnRelease) {
    Recorder r;
    r.state.KeyDown(controls::kKeyEnter, 0);
    EXPECT_THAT(r.Events({"KeyDown", "Click"}), ElementsAre("KeyDown(13)", "Click"));
    r.log.clear();
    r.state.KeyDown(controls::kKeySpace, 0);
    EXPECT_THAT(r.log, ElementsAre("KeyDown(32)", "Draw(2)"));
    r.log.clear();
    r.state.KeyUp(controls::kKeySpace, 0);
    EXPECT_THAT(r.log, ElementsAre("KeyUp(32)", "Draw(0)", "Click"));
    r.log.clear();
    r.state.KeyPress('a');
    r.state.KeyUp('A', 0);
    EXPECT_THAT(r.log, ElementsAre("KeyPress(97)", "KeyUp(65)"));
}

TEST(iButtonStateTest, ToggleFlipsValueOnClickEnterAndSpaceAndUsesCellsFourToSeven) {
    Recorder r;
    r.state.SetStyle(1);
    r.over = true;
    r.state.Press(controls::kLeftButton, 0, 1, 1);
    r.state.Release(controls::kLeftButton, 0, 1, 1);
    EXPECT_TRUE(r.state.Value());
    EXPECT_EQ(r.state.CellIndex(0), 4);
    EXPECT_EQ(r.state.CellIndex(3), 7);
    r.state.KeyDown(controls::kKeyEnter, 0);
    EXPECT_FALSE(r.state.Value());
    EXPECT_EQ(r.state.CellIndex(1), 1);
    r.state.KeyUp(controls::kKeySpace, 0);
    EXPECT_TRUE(r.state.Value());
    // A release off the button does not toggle.
    r.over = false;
    r.state.Press(controls::kLeftButton, 0, 1, 1);
    r.state.Release(controls::kLeftButton, 0, 900, 1);
    EXPECT_TRUE(r.state.Value());
}

TEST(iButtonStateTest, ValueIsOnlyKeptForToggleButtons) {
    Recorder r;
    r.state.SetValue(true);
    EXPECT_FALSE(r.state.Value());
    EXPECT_TRUE(r.log.isEmpty());
    r.state.SetStyle(1);
    r.state.SetValue(true);
    EXPECT_TRUE(r.state.Value());
    EXPECT_THAT(r.log, ElementsAre("Draw(0)"));
}

TEST(iButtonStateTest, DoubleClickShowsPressedOnlyAfterALeftPress) {
    Recorder r;
    r.over = true;
    r.state.Press(controls::kRightButton, 0, 1, 1);
    r.state.PlatformDoubleClick();
    EXPECT_THAT(r.Events({"Draw", "DBClick"}), ElementsAre("DBClick"));
    r.log.clear();
    r.state.Press(controls::kLeftButton, 0, 1, 1);
    r.state.Release(controls::kLeftButton, 0, 1, 1);
    r.log.clear();
    r.state.PlatformDoubleClick();
    EXPECT_THAT(r.log, ElementsAre("Draw(2)", "DBClick"));
}

TEST(iButtonTest, StripIsCutIntoCellsWhenFirstShownAndSizesTheButton) {
    HostWindow window;
    auto* button = new iButton(&window);
    PropertyBag bag;
    bag.SetPicture("BackPicture", Strip(kFiveCells));
    ASSERT_TRUE(button->ReadProperties(bag));
    EXPECT_FALSE(button->CellsReady());
    ASSERT_TRUE(window.ShowAndWait());
    EXPECT_TRUE(button->CellsReady());
    ASSERT_EQ(button->Cells().size(), 4u);
    EXPECT_EQ(button->CellSize(), QSize(30, 30));
    EXPECT_EQ(button->size(), QSize(30, 30));
    EXPECT_EQ(button->Cells()[2].toImage().pixelColor(0, 0), QColor(Qt::darkRed));

    // A resize from outside goes back to one cell while AutoSize is on.
    button->resize(50, 50);
    EXPECT_EQ(button->size(), QSize(30, 30));
}

TEST(iButtonTest, WithoutAutoSizeTheCellIsStretchedOverTheButton) {
    HostWindow window;
    auto* button = new iButton(&window);
    button->setGeometry(10, 10, 33, 33);
    QPixmap strip = Strip(kFiveCells);
    {
        // Cell 0: left half cyan, right half blue, so stretching shows at the far edge.
        QPainter painter(&strip);
        painter.fillRect(15, 0, 15, 30, Qt::blue);
    }
    PropertyBag bag;
    bag.SetPicture("BackPicture", strip);
    bag.SetBoolean("AutoSize", false);
    ASSERT_TRUE(button->ReadProperties(bag));
    button->SetPointerProbe([] { return false; });
    ASSERT_TRUE(window.ShowAndWait());
    EXPECT_EQ(button->size(), QSize(33, 33));
    const QImage face = button->grab().toImage();
    EXPECT_EQ(face.pixelColor(0, 0), QColor(Qt::darkCyan));
    EXPECT_EQ(face.pixelColor(32, 32), QColor(Qt::blue));
    EXPECT_EQ(face.pixelColor(31, 16), QColor(Qt::blue));
}

TEST(iButtonTest, LooksFollowHoverPressAndEnabled) {
    HostWindow window;
    auto* button = new iButton(&window);
    bool over = false;
    button->SetPointerProbe([&] { return over; });
    button->SetBackPicture(Strip(kFiveCells));
    ASSERT_TRUE(window.ShowAndWait());
    EXPECT_EQ(CentrePixel(button), QColor(Qt::darkCyan));
    over = true;
    QTest::mouseMove(button, QPoint(10, 10));
    EXPECT_EQ(button->State().LastLook(), 1);
    EXPECT_EQ(CentrePixel(button), QColor(Qt::magenta));
    QTest::mousePress(button, Qt::LeftButton, {}, QPoint(10, 10));
    EXPECT_EQ(CentrePixel(button), QColor(Qt::darkRed));
    QTest::mouseRelease(button, Qt::LeftButton, {}, QPoint(10, 10));
    EXPECT_EQ(CentrePixel(button), QColor(Qt::magenta));
    button->SetEnabled(false);
    EXPECT_EQ(CentrePixel(button), QColor(Qt::gray));
    button->SetEnabled(true);
    EXPECT_EQ(CentrePixel(button), QColor(Qt::magenta));
}

TEST(iButtonTest, RealClicksOnlyForTheLeftButton) {
    HostWindow window;
    auto* button = new iButton(&window);
    button->setGeometry(10, 10, 33, 33);
    button->SetAutoSize(false);
    button->SetBackPicture(Strip(kFiveCells));
    ASSERT_TRUE(window.ShowAndWait());
    controls_test::MoveCursorTo(button, QPoint(16, 16));
    SignalLog log(button);
    QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(16, 16));
    EXPECT_THAT(log.Only({"MouseDown", "MouseUp", "Click"}),
                ElementsAre("MouseDown", "MouseUp", "Click"));
    log.names.clear();
    QTest::mouseClick(button, Qt::RightButton, {}, QPoint(16, 16));
    EXPECT_THAT(log.Only({"MouseDown", "MouseUp", "Click"}), ElementsAre("MouseDown", "MouseUp"));
    log.names.clear();
    QTest::mousePress(button, Qt::LeftButton, {}, QPoint(16, 16));
    QTest::mouseRelease(button, Qt::LeftButton, {}, QPoint(60, 16));
    EXPECT_FALSE(log.names.contains("Click"));
}

TEST(iButtonTest, ToggleButtonDrawsTheOnCellsAfterAClick) {
    HostWindow window;
    auto* button = new iButton(&window);
    bool over = true;
    button->SetPointerProbe([&] { return over; });
    button->SetStyle(1);
    button->SetBackPicture(Strip(kTenCells));
    ASSERT_TRUE(window.ShowAndWait());
    ASSERT_EQ(button->Cells().size(), 8u);
    EXPECT_EQ(button->size(), QSize(30, 30));
    QSignalSpy click(button, &iButton::Click);
    QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(10, 10));
    EXPECT_EQ(click.count(), 1);
    EXPECT_TRUE(button->Value());
    EXPECT_EQ(CentrePixel(button), QColor(Qt::cyan));  // cell 5: hover while on
    over = false;
    EXPECT_TRUE(WaitUntil([&] { return button->State().LastLook() == 0; }));
    EXPECT_EQ(CentrePixel(button), QColor(Qt::green));  // cell 4
}

TEST(iButtonTest, KeysOfAFocusedButton) {
    HostWindow window;
    auto* button = new iButton(&window);
    button->SetPointerProbe([] { return false; });
    button->SetBackPicture(Strip(kFiveCells));
    ASSERT_TRUE(window.ShowAndWait(true));
    button->setFocus();
    ASSERT_TRUE(WaitUntil([&] { return button->hasFocus(); }));
    SignalLog log(button);
    QTest::keyPress(button, Qt::Key_Space);
    EXPECT_EQ(CentrePixel(button), QColor(Qt::darkRed));
    EXPECT_FALSE(log.names.contains("Click"));
    QTest::keyRelease(button, Qt::Key_Space);
    EXPECT_THAT(log.Only({"KeyDown", "KeyUp", "Click"}), ElementsAre("KeyDown", "KeyUp", "Click"));
    EXPECT_EQ(CentrePixel(button), QColor(Qt::darkCyan));
    log.names.clear();
    QTest::keyPress(button, Qt::Key_Return);
    EXPECT_THAT(log.Only({"KeyDown", "Click"}), ElementsAre("KeyDown", "Click"));
}

TEST(iButtonTest, CaptionIsCentredAndMovesOnePixelWhenPressed) {
    HostWindow window;
    auto* button = new iButton(&window);
    button->setGeometry(10, 10, 60, 30);
    button->SetPointerProbe([] { return true; });
    button->SetAutoSize(false);
    button->SetBackPicture(Strip({Qt::white, Qt::white, Qt::white, Qt::white, Qt::white}));
    button->SetcForeColor(0);
    button->SetCaption("OK");
    ASSERT_TRUE(window.ShowAndWait());
    const auto inkBox = [&] {
        const QImage image = button->grab().toImage();
        QRect box;
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                if (qGray(image.pixel(x, y)) < 128)
                    box |= QRect(x, y, 1, 1);
            }
        }
        return box;
    };
    button->cMouseAction(1, true);
    const QRect hover = inkBox();
    ASSERT_FALSE(hover.isEmpty());
    EXPECT_NEAR(hover.center().x(), 30, 2);
    EXPECT_NEAR(hover.center().y(), 15, 3);
    button->cMouseAction(2, true);
    EXPECT_EQ(inkBox().topLeft(), hover.topLeft() + QPoint(1, 1));
}

TEST(iButtonTest, SeeThroughFaceLetsTheMaskColourThrough) {
    HostWindow window;
    auto* button = new iButton(&window);
    button->SetPointerProbe([] { return false; });
    QPixmap strip = Strip({Qt::darkCyan, Qt::darkCyan, Qt::darkCyan, Qt::darkCyan, Qt::darkCyan});
    {
        QPainter painter(&strip);
        painter.fillRect(0, 0, 5, 5, controls::FromOle(iButton::kMaskColor));
    }
    button->SetcBackStyle(0);
    button->SetBackPicture(strip);
    ASSERT_TRUE(window.ShowAndWait());
    EXPECT_FALSE(button->mask().isEmpty());
    EXPECT_FALSE(button->mask().contains(QPoint(1, 1)));
    EXPECT_TRUE(button->mask().contains(QPoint(20, 20)));
    button->SetcBackStyle(1);
    EXPECT_TRUE(button->mask().isEmpty());
}

TEST(iButtonTest, StoredSetOfTheMainWindowsButton) {
    PropertyBag bag;
    bag.SetPicture("BackPicture", Strip(kFiveCells));
    bag.SetBoolean("AutoSize", false);
    bag.SetColor("cForeColor", 0x80000012);
    QFont font("宋体");
    font.setPointSize(9);
    bag.SetFont("cFont", font, 134);
    bag.SetInteger("cDrawMode", 13);
    iButton button;
    ASSERT_TRUE(button.ReadProperties(bag));
    EXPECT_FALSE(button.AutoSize());
    EXPECT_EQ(button.cForeColor(), 0x80000012u);
    EXPECT_EQ(button.cFont().family(), "宋体");
    EXPECT_EQ(button.cDrawMode(), 13);
    EXPECT_EQ(button.cBackStyle(), 1);
    EXPECT_EQ(button.Style(), 0);
    EXPECT_TRUE(button.Enabled());

    const PropertyBag written = button.WriteProperties();
    EXPECT_THAT(written.Keys(),
                ElementsAre("BackPicture", "AutoSize", "cFont", "cDrawMode", "cForeColor"));
    const auto font2 = controls::AsFont(*written.Find("cFont"));
    ASSERT_TRUE(font2);
    EXPECT_EQ(font2->charset, 134);

    iButton fresh;
    EXPECT_THAT(fresh.WriteProperties().Keys(), ElementsAre("cFont", "cDrawMode", "cForeColor"));
    EXPECT_EQ(fresh.cForeColor(), 0x80000012u);
    fresh.SetCaption("x");
    fresh.SetStyle(1);
    fresh.SetcBackStyle(0);
    fresh.SetEnabled(false);
    EXPECT_THAT(fresh.WriteProperties().Keys(),
                ElementsAre("Enabled", "Style", "cBackStyle", "Caption", "cFont", "cDrawMode",
                            "cForeColor"));
}
