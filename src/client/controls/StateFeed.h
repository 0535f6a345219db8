#pragma once
// What the custom controls' widgets share between their Qt events and their state machines: each
// mouse and key event goes to the control's state in the platform's units (button and shift
// codes, positions in twips, virtual-key and character codes). Templates, because each control's
// state is a class of its own with the same entry points (N_ImageState, iButtonState,
// N_ShapeState).

#include "client/controls/InputCodes.h"
#include "client/controls/Twips.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QWidget>

namespace controls {

// A press: the click tracker learns of it, and the state gets it with its place in twips.
template <class State>
void FeedPress(State& state, ClickTracker& clicks, const QMouseEvent& event) {
    const int button = ButtonCode(event.button());
    clicks.Press(button);
    state.Press(button, ShiftCode(event.modifiers()), PixelsToTwips(event.position().x()),
                PixelsToTwips(event.position().y()));
}

// A release, then the platform click it completes when the press and the release were both on
// the control.
template <class State>
void FeedRelease(State& state, ClickTracker& clicks, const QWidget& control,
                 const QMouseEvent& event) {
    const int button = ButtonCode(event.button());
    const bool click = clicks.Release(button, control.rect().contains(event.position().toPoint()));
    state.Release(button, ShiftCode(event.modifiers()), PixelsToTwips(event.position().x()),
                  PixelsToTwips(event.position().y()));
    if (click)
        state.PlatformClick();
}

// A key goes down, and the character it types, if any.
template <class State>
void FeedKeyPress(State& state, const QKeyEvent& event) {
    state.KeyDown(KeyCode(event), ShiftCode(event.modifiers()));
    if (const auto code = CharacterCode(event))
        state.KeyPress(*code);
}

// A key comes up; the releases of a held key's repeats are not told.
template <class State>
void FeedKeyRelease(State& state, const QKeyEvent& event) {
    if (event.isAutoRepeat())
        return;
    state.KeyUp(KeyCode(event), ShiftCode(event.modifiers()));
}

}  // namespace controls
