#include "client/controls/N_ShapeState.h"

#include "client/controls/HoverRule.h"
#include "client/controls/InputCodes.h"

#include <cmath>
#include <utility>

namespace controls {

N_ShapeState::N_ShapeState(Host& host, std::function<bool()> isMouseOver,
                           std::function<bool(int x, int y)> isOverAt)
    : host_(host), isMouseOver_(std::move(isMouseOver)), isOverAt_(std::move(isOverAt)) {}

void N_ShapeState::SetFace(int state) {
    faceState_ = state;
    host_.PaintState(state);
}

void N_ShapeState::PointerMove(int buttons, int shift, double x, double y, Part part) {
    host_.RaiseMouseMove(buttons, shift, x, y);
    if (part != Part::Picture && (buttons == 0 || buttons == kLeftButton)) {
        FollowPointer<N_ShapeState>(host_, isHovering_, isMouseOver_(), buttons,
                                    [this](int face) { SetFace(face); });
    }
    if (buttons != kLeftButton)
        CaptureCheck(x, y, part != Part::Picture);
}

void N_ShapeState::CaptureCheck(double x, double y, bool tracksInside) {
    if (captured_) {
        if (!isOverAt_(int(std::lround(x)), int(std::lround(y)))) {
            host_.Repaint();
            captured_ = false;
            host_.ShowPicture(Picture::Normal);
            if (tracksInside)
                mouseInside_ = false;
            host_.RaiseMouseOut();
        }
        return;
    }
    captured_ = true;
    if (!host_.Shows(Picture::Hover)) {
        host_.ShowPicture(Picture::Hover);
        if (tracksInside)
            mouseInside_ = true;
    }
}

void N_ShapeState::Press(int button, int shift, double x, double y, Part part) {
    if (part == Part::Face)
        host_.ShowPicture(Picture::Down);
    host_.RaiseMouseDown(button, shift, x, y);
    if (part != Part::Picture && button == kLeftButton)
        SetFace(kDown);
}

void N_ShapeState::Release(int button, int shift, double x, double y, Part part) {
    if (part == Part::Face)
        host_.ShowPicture(Picture::Hover);
    host_.RaiseMouseUp(button, shift, x, y);
    if (part == Part::Picture) {
        host_.RaiseClick();
        return;
    }
    faceState_ = isMouseOver_() ? kHover : kNormal;
    // Click comes before the face is painted for its new state.
    host_.RaiseClick();
    host_.PaintState(faceState_);
}

void N_ShapeState::DoubleClick() {
    host_.RaiseDblClick();
}

void N_ShapeState::TimerTick() {
    CheckPointerLeft<N_ShapeState>(host_, isHovering_, isMouseOver_(),
                                   [this](int face) { SetFace(face); });
}

void N_ShapeState::KeyDown(int key, int shift) {
    if (key == kKeyRight || key == kKeyDown) {
        host_.MoveFocus(true);
    } else if (key == kKeyLeft || key == kKeyUp) {
        host_.MoveFocus(false);
    } else if (key == kKeyEnter) {
        host_.RaiseClick();
    }
    host_.RaiseKeyDown(key, shift);
}

void N_ShapeState::KeyPress(int code) {
    host_.RaiseKeyPress(code);
}

void N_ShapeState::KeyUp(int key, int shift) {
    host_.RaiseKeyUp(key, shift);
    host_.Repaint();
}

}  // namespace controls
