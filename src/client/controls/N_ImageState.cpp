#include "client/controls/N_ImageState.h"

#include "client/controls/HoverRule.h"
#include "client/controls/InputCodes.h"

#include <utility>

namespace controls {

N_ImageState::N_ImageState(Host& host, std::function<bool()> isMouseOver)
    : host_(host), isMouseOver_(std::move(isMouseOver)) {}

void N_ImageState::SetFace(int state) {
    faceState_ = state;
    host_.ShowState(state);
}

void N_ImageState::PointerMove(int buttons, int shift, double x, double y) {
    host_.RaiseMouseMove(buttons, shift, x, y);
    if (buttons != 0 && buttons != kLeftButton)
        return;
    FollowPointer<N_ImageState>(host_, isHovering_, isMouseOver_(), buttons,
                                [this](int face) { SetFace(face); });
}

void N_ImageState::Press(int button, int shift, double x, double y) {
    host_.RaiseMouseDown(button, shift, x, y);
    if (button == kLeftButton)
        SetFace(kDown);
}

void N_ImageState::Release(int button, int shift, double x, double y) {
    host_.RaiseMouseUp(button, shift, x, y);
    SetFace(isMouseOver_() ? kHover : kNormal);
}

void N_ImageState::PlatformClick() {
    host_.RaiseClick();
}

void N_ImageState::PlatformDoubleClick() {
    host_.RaiseDblClick();
}

void N_ImageState::TimerTick() {
    CheckPointerLeft<N_ImageState>(host_, isHovering_, isMouseOver_(),
                                   [this](int face) { SetFace(face); });
}

}  // namespace controls
