// N_Shape's state machine on its own: what it asks of the button, in order.

#include "client/controls/InputCodes.h"
#include "client/controls/N_ShapeState.h"

#include <QString>
#include <QStringList>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

using controls::N_ShapeState;
using Part = N_ShapeState::Part;
using Picture = N_ShapeState::Picture;
using ::testing::ElementsAre;

namespace {

const char* Name(Picture p) {
    switch (p) {
        case Picture::Hover:
            return "Hover";
        case Picture::Down:
            return "Down";
        default:
            return "Normal";
    }
}

// Records every request; pictures are three distinct ones unless `emptyPictures`.
class Recorder : public N_ShapeState::Host {
public:
    QStringList log;
    bool over = false;
    bool overAt = true;
    bool emptyPictures = false;
    Picture shown = Picture::Normal;
    N_ShapeState state{*this, [this] { return over; }, [this](int, int) { return overAt; }};

    QStringList Events(const QStringList& only) const {
        QStringList picked;
        for (const QString& entry : log) {
            if (only.contains(entry.section('(', 0, 0)))
                picked << entry;
        }
        return picked;
    }

    void PaintState(int s) override { log << QString("Paint(%1)").arg(s); }
    void Repaint() override {
        shown = Picture::Normal;
        log << "Repaint";
    }
    void ShowPicture(Picture p) override {
        shown = p;
        log << QString("Show(%1)").arg(Name(p));
    }
    bool Shows(Picture p) const override { return emptyPictures || shown == p; }
    void StartTimer() override { log << "StartTimer"; }
    void StopTimer() override { log << "StopTimer"; }
    void MoveFocus(bool forward) override { log << (forward ? "Tab" : "ShiftTab"); }
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
    void RaiseMouseOut() override { log << "MouseOut"; }
    void RaiseKeyPress(int c) override { log << QString("KeyPress(%1)").arg(c); }
    void RaiseKeyDown(int k, int) override { log << QString("KeyDown(%1)").arg(k); }
    void RaiseKeyUp(int k, int) override { log << QString("KeyUp(%1)").arg(k); }
};

}  // namespace

TEST(N_ShapeStateTest, PlainMoveInsideStartsHoverOnceAndTakesTheCapture) {
    Recorder r;
    r.over = true;
    r.state.PointerMove(0, 0, 5, 5, Part::Face);
    EXPECT_THAT(r.log,
                ElementsAre("MouseMove(0)", "StartTimer", "MouseEnter", "Paint(1)", "Show(Hover)"));
    EXPECT_EQ(r.state.FaceState(), 1);
    EXPECT_TRUE(r.state.IsHovering());
    EXPECT_TRUE(r.state.HasCapture());
    EXPECT_TRUE(r.state.MouseInside());

    r.log.clear();
    r.state.PointerMove(0, 0, 6, 5, Part::Caption);
    EXPECT_THAT(r.log, ElementsAre("MouseMove(0)"));
}

TEST(N_ShapeStateTest, CaptureCheckRaisesMouseOutWhenThePointerLeaves) {
    Recorder r;
    r.over = true;
    r.state.PointerMove(0, 0, 5, 5, Part::Face);
    r.log.clear();
    r.over = false;
    r.overAt = false;
    r.state.PointerMove(0, 0, -3, 5, Part::Face);
    EXPECT_THAT(r.log,
                ElementsAre("MouseMove(0)", "Paint(0)", "Repaint", "Show(Normal)", "MouseOut"));
    EXPECT_FALSE(r.state.HasCapture());
    EXPECT_FALSE(r.state.MouseInside());
    EXPECT_FALSE(r.state.IsHovering());

    // The timer, still running, notices on its next tick.
    r.log.clear();
    r.state.TimerTick();
    EXPECT_THAT(r.log, ElementsAre("StopTimer", "MouseLeave", "Paint(0)"));
}

TEST(N_ShapeStateTest, WithoutPicturesMouseInsideStaysFalseYetMouseOutIsRaised) {
    Recorder r;
    r.emptyPictures = true;
    r.over = true;
    r.state.PointerMove(0, 0, 5, 5, Part::Face);
    EXPECT_TRUE(r.state.HasCapture());
    EXPECT_FALSE(r.state.MouseInside());
    r.over = r.overAt = false;
    r.state.PointerMove(0, 0, 50, 5, Part::Face);
    EXPECT_THAT(r.Events({"MouseOut"}), ElementsAre("MouseOut"));
    EXPECT_FALSE(r.state.MouseInside());
}

TEST(N_ShapeStateTest, RightClickRaisesDownUpClickWithoutTheDownColours) {
    Recorder r;
    r.over = true;
    r.state.Press(controls::kRightButton, 0, 5, 5, Part::Face);
    r.state.Release(controls::kRightButton, 0, 5, 5, Part::Face);
    EXPECT_THAT(r.log, ElementsAre("Show(Down)", "MouseDown(2)", "Show(Hover)", "MouseUp(2)",
                                   "Click", "Paint(1)"));
    EXPECT_FALSE(r.log.contains("Paint(2)"));
}

TEST(N_ShapeStateTest, LeftPressDragOffAndReleaseStillClicksAndEndsNormal) {
    Recorder r;
    r.over = true;
    r.state.Press(controls::kLeftButton, 0, 5, 5, Part::Face);
    EXPECT_EQ(r.state.FaceState(), 2);
    r.over = false;
    r.state.PointerMove(controls::kLeftButton, 0, 90, 5, Part::Face);
    r.state.Release(controls::kLeftButton, 0, 90, 5, Part::Face);
    EXPECT_THAT(r.Events({"MouseDown", "MouseUp", "Click"}),
                ElementsAre("MouseDown(1)", "MouseUp(1)", "Click"));
    // Click comes before the face is painted for the new state, which is normal.
    EXPECT_EQ(r.log.takeLast(), "Paint(0)");
    EXPECT_EQ(r.log.takeLast(), "Click");
    EXPECT_EQ(r.state.FaceState(), 0);
}

TEST(N_ShapeStateTest, LeftButtonHeldInsideShowsDownAndRestartsHoverTracking) {
    Recorder r;
    r.over = true;
    r.state.PointerMove(0, 0, 5, 5, Part::Face);
    r.state.PointerMove(controls::kLeftButton, 0, 6, 5, Part::Face);
    EXPECT_EQ(r.state.FaceState(), 2);
    EXPECT_FALSE(r.state.IsHovering());
    r.log.clear();
    r.state.PointerMove(0, 0, 7, 5, Part::Face);
    EXPECT_THAT(r.Events({"MouseEnter", "Paint"}), ElementsAre("MouseEnter", "Paint(1)"));
}

TEST(N_ShapeStateTest, OtherButtonsHeldSkipHoverTrackingButNotTheCaptureCheck) {
    Recorder r;
    r.over = true;
    r.state.PointerMove(controls::kRightButton, 0, 5, 5, Part::Face);
    EXPECT_THAT(r.log, ElementsAre("MouseMove(2)", "Show(Hover)"));
    EXPECT_TRUE(r.state.HasCapture());
    EXPECT_EQ(r.state.FaceState(), 0);
}

TEST(N_ShapeStateTest, DoubleClickGivesClickDblClickClick) {
    Recorder r;
    r.over = true;
    r.state.Press(1, 0, 5, 5, Part::Face);
    r.state.Release(1, 0, 5, 5, Part::Face);
    r.state.DoubleClick();
    r.state.Release(1, 0, 5, 5, Part::Face);
    EXPECT_THAT(r.Events({"Click", "DblClick"}), ElementsAre("Click", "DblClick", "Click"));
}

TEST(N_ShapeStateTest, CaptionAndPictureChangeWhatAPressDoes) {
    Recorder caption;
    caption.over = true;
    caption.state.Press(1, 0, 5, 5, Part::Caption);
    caption.state.Release(1, 0, 5, 5, Part::Caption);
    EXPECT_THAT(caption.log,
                ElementsAre("MouseDown(1)", "Paint(2)", "MouseUp(1)", "Click", "Paint(1)"));

    Recorder picture;
    picture.over = true;
    picture.state.Press(1, 0, 9, 9, Part::Picture);
    picture.state.Release(1, 0, 9, 9, Part::Picture);
    EXPECT_THAT(picture.log, ElementsAre("MouseDown(1)", "MouseUp(1)", "Click"));
    EXPECT_EQ(picture.state.FaceState(), 0);

    Recorder move;
    move.over = true;
    move.state.PointerMove(0, 0, 9, 9, Part::Picture);
    EXPECT_THAT(move.log, ElementsAre("MouseMove(0)", "Show(Hover)"));
    EXPECT_FALSE(move.state.MouseInside());
    EXPECT_FALSE(move.state.IsHovering());
}

TEST(N_ShapeStateTest, TimerTickInsideDoesNothing) {
    Recorder r;
    r.over = true;
    r.state.PointerMove(0, 0, 5, 5, Part::Face);
    r.log.clear();
    r.state.TimerTick();
    EXPECT_TRUE(r.log.isEmpty());
    EXPECT_EQ(r.state.FaceState(), 1);
}

TEST(N_ShapeStateTest, KeysMoveTheFocusAndEnterClicksBeforeKeyDown) {
    Recorder r;
    r.state.KeyDown(controls::kKeyEnter, 0);
    r.state.KeyPress(13);
    EXPECT_THAT(r.log, ElementsAre("Click", "KeyDown(13)", "KeyPress(13)"));

    r.log.clear();
    r.state.KeyDown(controls::kKeyRight, 0);
    r.state.KeyDown(controls::kKeyDown, 0);
    r.state.KeyDown(controls::kKeyLeft, 0);
    r.state.KeyDown(controls::kKeyUp, 0);
    r.state.KeyDown(controls::kKeySpace, 0);
    EXPECT_THAT(r.log, ElementsAre("Tab", "KeyDown(39)", "Tab", "KeyDown(40)", "ShiftTab",
                                   "KeyDown(37)", "ShiftTab", "KeyDown(38)", "KeyDown(32)"));

    r.log.clear();
    r.state.KeyUp(controls::kKeySpace, 1);
    EXPECT_THAT(r.log, ElementsAre("KeyUp(32)", "Repaint"));
}
