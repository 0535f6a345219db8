// N_Image: its state machine, its size following the picture it shows, and its clicks.

#include "ControlsTestSupport.h"
#include "client/controls/InputCodes.h"
#include "client/controls/N_Image.h"
#include "client/controls/N_ImageState.h"

#include <QSignalSpy>
#include <QTest>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

using controls::N_ImageState;
using controls::PropertyBag;
using controls_test::HostWindow;
using controls_test::SignalLog;
using controls_test::WaitUntil;
using ::testing::ElementsAre;

namespace {

class Recorder : public N_ImageState::Host {
public:
    QStringList log;
    bool over = false;
    N_ImageState state{*this, [this] { return over; }};

    void ShowState(int s) override { log << QString("Show(%1)").arg(s); }
    void StartTimer() override { log << "StartTimer"; }
    void StopTimer() override { log << "StopTimer"; }
    void RaiseClick() override { log << "Click"; }
    void RaiseDblClick() override { log << "DblClick"; }
    void RaiseMouseMove(int b, int, double, double) override {
        log << QString("MouseMove(%1)").arg(b);
    }
    void RaiseMouseUp(int b, int, double, double) override { log << QString("MouseUp(%1)").arg(b); }
    void RaiseMouseDown(int b, int, double, double) override {
        log << QString("MouseDown(%1)").arg(b);
    }
    void RaiseMouseEnter() override { log << "MouseEnter"; }
    void RaiseMouseLeave() override { log << "MouseLeave"; }
};

QPixmap Solid(QSize size, QColor colour) {
    QPixmap picture(size);
    picture.fill(colour);
    return picture;
}

// An N_Image in a shown window with three pictures of different sizes; the hover test is
// the test's to set.
struct Bench {
    HostWindow window;
    N_Image* image = new N_Image(&window);
    bool over = false;

    Bench() {
        image->move(20, 20);
        image->SetPicture(Solid(QSize(48, 19), Qt::red));
        image->SetPictureHover(Solid(QSize(60, 25), Qt::magenta));
        image->SetPictureDown(Solid(QSize(40, 15), Qt::darkRed));
        image->SetPointerProbe([this] { return over; });
    }
};

}  // namespace

TEST(N_ImageStateTest, HoverDownAndBackFollowThePointer) {
    Recorder r;
    r.over = true;
    r.state.PointerMove(0, 0, 1, 1);
    EXPECT_THAT(r.log, ElementsAre("MouseMove(0)", "StartTimer", "MouseEnter", "Show(1)"));
    r.log.clear();
    r.state.PointerMove(0, 0, 2, 1);
    EXPECT_THAT(r.log, ElementsAre("MouseMove(0)"));

    r.log.clear();
    r.state.Press(controls::kLeftButton, 0, 2, 1);
    EXPECT_EQ(r.state.FaceState(), 2);
    r.state.Release(controls::kLeftButton, 0, 2, 1);
    r.state.PlatformClick();
    EXPECT_THAT(r.log, ElementsAre("MouseDown(1)", "Show(2)", "MouseUp(1)", "Show(1)", "Click"));

    r.log.clear();
    r.over = false;
    r.state.TimerTick();
    EXPECT_THAT(r.log, ElementsAre("StopTimer", "MouseLeave", "Show(0)"));
    EXPECT_FALSE(r.state.IsHovering());
}

TEST(N_ImageStateTest, RightButtonNeverShowsDownAndHeldLeftRestartsHover) {
    Recorder r;
    r.over = true;
    r.state.Press(controls::kRightButton, 0, 1, 1);
    EXPECT_THAT(r.log, ElementsAre("MouseDown(2)"));
    r.state.PointerMove(controls::kRightButton, 0, 1, 1);
    EXPECT_EQ(r.state.FaceState(), 0);
    r.state.PointerMove(controls::kLeftButton, 0, 1, 1);
    EXPECT_EQ(r.state.FaceState(), 2);
    EXPECT_FALSE(r.state.IsHovering());
    r.over = false;
    r.state.Release(controls::kLeftButton, 0, 90, 1);
    EXPECT_EQ(r.state.FaceState(), 0);
}

TEST(N_ImageTest, SizeFollowsThePictureOfEachState) {
    Bench b;
    ASSERT_TRUE(b.window.ShowAndWait());
    EXPECT_EQ(b.image->size(), QSize(48, 19));
    b.over = true;
    QTest::mouseMove(b.image, QPoint(5, 5));
    EXPECT_EQ(b.image->State().FaceState(), 1);
    EXPECT_EQ(b.image->size(), QSize(60, 25));
    QTest::mousePress(b.image, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(b.image->size(), QSize(40, 15));
    QTest::mouseRelease(b.image, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(b.image->size(), QSize(60, 25));
    b.over = false;
    EXPECT_TRUE(WaitUntil([&] { return b.image->size() == QSize(48, 19); }));
}

TEST(N_ImageTest, AResizeFromOutsideIsUndone) {
    Bench b;
    ASSERT_TRUE(b.window.ShowAndWait());
    b.image->resize(100, 100);
    EXPECT_EQ(b.image->size(), QSize(48, 19));
    b.image->setGeometry(5, 5, 10, 10);
    EXPECT_EQ(b.image->size(), QSize(48, 19));
    EXPECT_EQ(b.image->pos(), QPoint(5, 5));
}

TEST(N_ImageTest, WithoutAPictureTheControlKeepsItsSize) {
    HostWindow window;
    auto* image = new N_Image(&window);
    image->resize(30, 12);
    ASSERT_TRUE(window.ShowAndWait());
    EXPECT_EQ(image->size(), QSize(30, 12));
    image->SetPictureHover(Solid(QSize(5, 5), Qt::red));
    EXPECT_EQ(image->size(), QSize(30, 12));
    EXPECT_TRUE(image->ShownPicture().isNull());
}

TEST(N_ImageTest, LeftClickInsideClicksRightClickAndDragOffDoNot) {
    Bench b;
    ASSERT_TRUE(b.window.ShowAndWait());
    SignalLog log(b.image);
    b.over = true;
    QTest::mouseClick(b.image, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_THAT(log.Only({"MouseDown", "MouseUp", "Click"}),
                ElementsAre("MouseDown", "MouseUp", "Click"));

    log.names.clear();
    QTest::mouseClick(b.image, Qt::RightButton, {}, QPoint(5, 5));
    EXPECT_THAT(log.Only({"MouseDown", "MouseUp", "Click"}), ElementsAre("MouseDown", "MouseUp"));

    log.names.clear();
    QTest::mousePress(b.image, Qt::LeftButton, {}, QPoint(5, 5));
    b.over = false;
    QTest::mouseMove(b.image, QPoint(200, 5));
    QTest::mouseRelease(b.image, Qt::LeftButton, {}, QPoint(200, 5));
    EXPECT_FALSE(log.names.contains("Click"));
    EXPECT_EQ(b.image->State().FaceState(), 0);
    EXPECT_EQ(b.image->size(), QSize(48, 19));
}

TEST(N_ImageTest, DoubleClickIsReportedOnce) {
    Bench b;
    ASSERT_TRUE(b.window.ShowAndWait());
    b.over = true;
    SignalLog log(b.image);
    QTest::mousePress(b.image, Qt::LeftButton, {}, QPoint(5, 5));
    QTest::mouseRelease(b.image, Qt::LeftButton, {}, QPoint(5, 5));
    QTest::mouseDClick(b.image, Qt::LeftButton, {}, QPoint(5, 5));
    QTest::mouseRelease(b.image, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_THAT(log.Only({"Click", "DblClick", "MouseDown"}),
                ElementsAre("MouseDown", "Click", "DblClick"));
}

TEST(N_ImageTest, RealCursorEntersAndLeaves) {
    Bench b;
    b.image->SetPointerProbe({});
    controls_test::MoveCursorAway();
    ASSERT_TRUE(b.window.ShowAndWait());
    QSignalSpy enter(b.image, &N_Image::MouseEnter);
    QSignalSpy leave(b.image, &N_Image::MouseLeave);
    controls_test::MoveCursorTo(b.image, QPoint(10, 10));
    EXPECT_TRUE(WaitUntil([&] { return enter.count() == 1; }));
    EXPECT_EQ(b.image->size(), QSize(60, 25));
    controls_test::MoveCursorAway();
    EXPECT_TRUE(WaitUntil([&] { return leave.count() == 1; }));
    EXPECT_EQ(b.image->size(), QSize(48, 19));
}

TEST(N_ImageTest, StoredSetLeavesOutMissingPictures) {
    N_Image image;
    image.SetPictureDown(Solid(QSize(3, 3), Qt::blue));
    const PropertyBag bag = image.WriteProperties();
    EXPECT_THAT(bag.Keys(), ElementsAre("PictureDown"));

    PropertyBag full;
    full.SetPicture("Picture", Solid(QSize(48, 19), Qt::red));
    full.SetPicture("PictureHover", Solid(QSize(48, 19), Qt::magenta));
    N_Image loaded;
    ASSERT_TRUE(loaded.ReadProperties(full));
    EXPECT_FALSE(loaded.Picture().isNull());
    EXPECT_FALSE(loaded.PictureHover().isNull());
    EXPECT_TRUE(loaded.PictureDown().isNull());
    EXPECT_EQ(loaded.size(), QSize(48, 19));
    EXPECT_THAT(loaded.WriteProperties().Keys(), ElementsAre("Picture", "PictureHover"));
}
