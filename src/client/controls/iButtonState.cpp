#include "client/controls/iButtonState.h"

#include "client/controls/InputCodes.h"

#include <utility>

namespace controls {

iButtonState::iButtonState(Host& host, std::function<bool()> isMouseOver)
    : host_(host), isMouseOver_(std::move(isMouseOver)) {}

void iButtonState::cMouseAction(int look, bool force) {
    if (look == lastLook_ && !force)
        return;
    lastLook_ = look;
    host_.DrawButton(look);
}

int iButtonState::CurrentState() const {
    if (!host_.IsEnabled())
        return kDisabled;
    if (isPressed_)
        return isMouseOver_() ? kPressed : kNormal;
    return isMouseOver_() ? kHover : kNormal;
}

void iButtonState::SetValue(bool value) {
    if (style_ != 1) {
        value_ = false;
        return;
    }
    value_ = value;
    Redraw();
}

void iButtonState::Toggle() {
    if (style_ == 1)
        SetValue(!value_);
}

void iButtonState::PointerMove(int buttons, int shift, double x, double y) {
    host_.RaiseMouseMove(buttons, shift, x, y);
    if (isMouseOver_() && !isHovering_) {
        cMouseAction(kHover, false);
        isHovering_ = true;
        host_.StartTimer();
        host_.RaiseMouseOver();
    }
}

void iButtonState::Press(int button, int shift, double x, double y) {
    host_.RaiseMouseDown(button, shift, x, y);
    lastButton_ = button;
    if (button == kLeftButton) {
        cMouseAction(kPressed, false);
        isPressed_ = true;
    }
}

void iButtonState::Release(int button, int shift, double x, double y) {
    host_.RaiseMouseUp(button, shift, x, y);
    if (button != kLeftButton)
        return;
    if (isMouseOver_()) {
        Toggle();
        cMouseAction(kHover, true);
    } else {
        cMouseAction(kNormal, true);
    }
    isPressed_ = false;
}

void iButtonState::PlatformClick() {
    if (lastButton_ != kLeftButton)
        return;
    DrawCurrent();
    host_.RaiseClick();
}

void iButtonState::PlatformDoubleClick() {
    if (lastButton_ == kLeftButton)
        cMouseAction(kPressed, false);
    host_.RaiseDBClick();
}

void iButtonState::TimerTick() {
    if (isMouseOver_()) {
        if (isPressed_)
            cMouseAction(kPressed, false);
        return;
    }
    if (isPressed_) {
        cMouseAction(kNormal, false);
        return;
    }
    host_.StopTimer();
    isHovering_ = false;
    host_.RaiseMouseOut();
    cMouseAction(kNormal, false);
}

void iButtonState::KeyDown(int key, int shift) {
    host_.RaiseKeyDown(key, shift);
    if (key == kKeyEnter) {
        Toggle();
        DrawCurrent();
        host_.RaiseClick();
    } else if (key == kKeySpace) {
        cMouseAction(kPressed, true);
    }
}

void iButtonState::KeyUp(int key, int shift) {
    host_.RaiseKeyUp(key, shift);
    if (key == kKeySpace) {
        Toggle();
        DrawCurrent();
        host_.RaiseClick();
    }
}

void iButtonState::KeyPress(int code) {
    host_.RaiseKeyPress(code);
}

}  // namespace controls
