#pragma once
// The pointer and key behaviour of N_Shape, apart from its pixels: face state (normal, hover,
// down), hover tracking with its polling timer, the capture check, press and release rules
// and the keys. The widget feeds it events and draws what its host calls ask for.

#include <functional>

namespace controls {

class N_ShapeState {
public:
    // Where on the button a pointer event happened.
    enum class Part { Face, Caption, Picture };
    enum class Picture { Normal, Hover, Down };

    static constexpr int kNormal = 0;
    static constexpr int kHover = 1;
    static constexpr int kDown = 2;

    // What the state machine asks of its button, in the order it happens.
    class Host {
    public:
        virtual ~Host() = default;
        // Face, border and caption colours of a face state.
        virtual void PaintState(int faceState) = 0;
        // A repaint of the whole control, which puts Picture_Normal in the picture box.
        virtual void Repaint() = 0;
        virtual void ShowPicture(Picture which) = 0;
        // The picture box shows the same picture object as `which` (two empty pictures count
        // as the same).
        virtual bool Shows(Picture which) const = 0;
        virtual void StartTimer() = 0;
        virtual void StopTimer() = 0;
        virtual void MoveFocus(bool forward) = 0;

        virtual void RaiseClick() = 0;
        virtual void RaiseDblClick() = 0;
        virtual void RaiseMouseMove(int button, int shift, double x, double y) = 0;
        virtual void RaiseMouseUp(int button, int shift, double x, double y) = 0;
        virtual void RaiseMouseDown(int button, int shift, double x, double y) = 0;
        virtual void RaiseMouseEnter() = 0;
        virtual void RaiseMouseLeave() = 0;
        virtual void RaiseMouseOut() = 0;
        virtual void RaiseKeyPress(int code) = 0;
        virtual void RaiseKeyDown(int key, int shift) = 0;
        virtual void RaiseKeyUp(int key, int shift) = 0;
    };

    // isMouseOver: the control is the window under the cursor. isOverAt: the control is the
    // window at a point of its own pixel coordinates.
    N_ShapeState(Host& host, std::function<bool()> isMouseOver,
                 std::function<bool(int x, int y)> isOverAt);

    void PointerMove(int buttons, int shift, double x, double y, Part part);
    void Press(int button, int shift, double x, double y, Part part);
    void Release(int button, int shift, double x, double y, Part part);
    void DoubleClick();
    void TimerTick();
    void KeyDown(int key, int shift);
    void KeyPress(int code);
    void KeyUp(int key, int shift);

    int FaceState() const { return faceState_; }
    bool IsHovering() const { return isHovering_; }
    bool MouseInside() const { return mouseInside_; }
    bool HasCapture() const { return captured_; }

private:
    void SetFace(int state);
    void CaptureCheck(double x, double y, bool tracksInside);

    Host& host_;
    std::function<bool()> isMouseOver_;
    std::function<bool(int, int)> isOverAt_;
    int faceState_ = kNormal;
    bool isHovering_ = false;
    bool mouseInside_ = false;
    bool captured_ = false;
};

}  // namespace controls
