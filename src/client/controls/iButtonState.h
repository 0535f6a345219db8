#pragma once
// The pointer, key and toggle behaviour of iButton apart from its pixels: the look to draw
// (0 normal, 1 hover, 2 pressed, 3 disabled), hover tracking with the 50 ms polling timer,
// press, release, clicks, keys and the toggle Value of Style 1.

#include <functional>

namespace controls {

class iButtonState {
public:
    static constexpr int kNormal = 0;
    static constexpr int kHover = 1;
    static constexpr int kPressed = 2;
    static constexpr int kDisabled = 3;

    class Host {
    public:
        virtual ~Host() = default;
        // Draw the face for a look (the cell of the look, then the caption).
        virtual void DrawButton(int look) = 0;
        virtual bool IsEnabled() const = 0;
        virtual void StartTimer() = 0;
        virtual void StopTimer() = 0;

        virtual void RaiseClick() = 0;
        virtual void RaiseMouseDown(int button, int shift, double x, double y) = 0;
        virtual void RaiseKeyDown(int key, int shift) = 0;
        virtual void RaiseKeyUp(int key, int shift) = 0;
        virtual void RaiseKeyPress(int code) = 0;
        virtual void RaiseMouseUp(int button, int shift, double x, double y) = 0;
        virtual void RaiseMouseMove(int button, int shift, double x, double y) = 0;
        virtual void RaiseMouseOut() = 0;
        virtual void RaiseMouseOver() = 0;
        virtual void RaiseDBClick() = 0;
    };

    iButtonState(Host& host, std::function<bool()> isMouseOver);

    // Draws the face for `look` when it differs from the look drawn last, or when forced.
    void cMouseAction(int look, bool force);
    // The look the button's state calls for now.
    int CurrentState() const;
    // Draws the face for CurrentState(), forced.
    void DrawCurrent() { cMouseAction(CurrentState(), true); }
    // Draws the look drawn last again, forced.
    void Redraw() { cMouseAction(lastLook_, true); }

    void PointerMove(int buttons, int shift, double x, double y);
    void Press(int button, int shift, double x, double y);
    void Release(int button, int shift, double x, double y);
    void PlatformClick();
    void PlatformDoubleClick();
    void TimerTick();
    void KeyDown(int key, int shift);
    void KeyUp(int key, int shift);
    void KeyPress(int code);

    // 0 push button, 1 toggle button.
    int Style() const { return style_; }
    void SetStyle(int style) { style_ = style; }
    // Kept only with Style 1; otherwise it becomes false. A kept value redraws the face.
    bool Value() const { return value_; }
    void SetValue(bool value);
    // The strip cell of a look: a toggle that is on uses cells 4 to 7.
    int CellIndex(int look) const { return look + (value_ ? 1 : 0) * style_ * 4; }

    int LastLook() const { return lastLook_; }
    bool IsHovering() const { return isHovering_; }
    bool IsPressed() const { return isPressed_; }

private:
    void Toggle();

    Host& host_;
    std::function<bool()> isMouseOver_;
    int style_ = 0;
    bool value_ = false;
    bool isHovering_ = false;
    bool isPressed_ = false;
    int lastButton_ = 0;
    int lastLook_ = kNormal;
};

}  // namespace controls
