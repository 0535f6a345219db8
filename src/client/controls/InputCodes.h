#pragma once
// The numbers the controls' events carry: mouse buttons 1 left, 2 right, 4 middle (their sum
// when several are held), shift state 1 Shift, 2 Ctrl, 4 Alt, and key codes of the platform's
// virtual-key table (13 Enter, 32 Space, 37..40 arrows, 65..90 letters).

#include <Qt>

#include <optional>

class QKeyEvent;

namespace controls {

inline constexpr int kLeftButton = 1;
inline constexpr int kRightButton = 2;
inline constexpr int kMiddleButton = 4;

inline constexpr int kKeyBackspace = 8;
inline constexpr int kKeyTab = 9;
inline constexpr int kKeyEnter = 13;
inline constexpr int kKeySpace = 32;
inline constexpr int kKeyLeft = 37;
inline constexpr int kKeyUp = 38;
inline constexpr int kKeyRight = 39;
inline constexpr int kKeyDown = 40;

int ButtonCode(Qt::MouseButton button);
int ButtonsCode(Qt::MouseButtons buttons);
int ShiftCode(Qt::KeyboardModifiers modifiers);
// The virtual-key code of a key event; 0 for keys without one.
int KeyCode(const QKeyEvent& event);
// The character code a key event types, if it types one (Backspace 8 and Enter 13 included;
// Delete and the cursor keys type nothing).
std::optional<int> CharacterCode(const QKeyEvent& event);

// Which presses and releases make a platform click: a left press while no other button is
// held, released inside the control. The second press of a double click arms nothing.
class ClickTracker {
public:
    void Press(int button) {
        if (button == kLeftButton)
            armed_ = held_ == 0;
        held_ |= button;
    }
    void DoublePress(int button) {
        held_ |= button;
        armed_ = false;
    }
    // True when this release completes a click.
    bool Release(int button, bool inside) {
        held_ &= ~button;
        if (button != kLeftButton)
            return false;
        const bool click = armed_ && inside;
        armed_ = false;
        return click;
    }

private:
    int held_ = 0;
    bool armed_ = false;
};

}  // namespace controls
