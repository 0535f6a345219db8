#pragma once
// The hover rule that the pictured and the shaped buttons share (N_ImageState, N_ShapeState),
// for a move of the pointer with no button or the left one held:
// - leaving the control shows the normal face;
// - the left button held inside shows the down face and drops hover tracking on purpose, so
//   that the next plain move inside starts it again (and raises MouseEnter once more);
// - a plain move inside starts tracking once, with the control's timer and MouseEnter, and
//   shows the hover face.

#include "client/controls/InputCodes.h"

namespace controls {

// `host` gives StartTimer and RaiseMouseEnter; `setFace` shows one of State's kNormal, kHover
// and kDown.
template <class State, class Host, class SetFace>
void FollowPointer(Host& host, bool& hovering, bool inside, int buttons, SetFace setFace) {
    if (!inside) {
        hovering = false;
        setFace(State::kNormal);
    } else if (buttons == kLeftButton) {
        hovering = true;
        setFace(State::kDown);
        hovering = false;
    } else if (!hovering) {
        host.StartTimer();
        hovering = true;
        host.RaiseMouseEnter();
        setFace(State::kHover);
    }
}

// A tick of the hover timer: once the pointer has left, tracking ends with MouseLeave and the
// normal face. `host` gives StopTimer and RaiseMouseLeave.
template <class State, class Host, class SetFace>
void CheckPointerLeft(Host& host, bool& hovering, bool inside, SetFace setFace) {
    if (inside)
        return;
    host.StopTimer();
    hovering = false;
    host.RaiseMouseLeave();
    setFace(State::kNormal);
}

}  // namespace controls
