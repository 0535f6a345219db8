#pragma once
// The pointer behaviour of N_Image apart from its pixels: face state (normal, hover, down),
// hover tracking with its polling timer, press and release, and the platform's clicks.

#include <functional>

namespace controls {

class N_ImageState {
public:
    static constexpr int kNormal = 0;
    static constexpr int kHover = 1;
    static constexpr int kDown = 2;

    class Host {
    public:
        virtual ~Host() = default;
        // Redraw for the current face state (the control takes its picture's size).
        virtual void ShowState(int faceState) = 0;
        virtual void StartTimer() = 0;
        virtual void StopTimer() = 0;

        virtual void RaiseClick() = 0;
        virtual void RaiseDblClick() = 0;
        virtual void RaiseMouseMove(int button, int shift, double x, double y) = 0;
        virtual void RaiseMouseUp(int button, int shift, double x, double y) = 0;
        virtual void RaiseMouseDown(int button, int shift, double x, double y) = 0;
        virtual void RaiseMouseEnter() = 0;
        virtual void RaiseMouseLeave() = 0;
    };

    N_ImageState(Host& host, std::function<bool()> isMouseOver);

    void PointerMove(int buttons, int shift, double x, double y);
    void Press(int button, int shift, double x, double y);
    void Release(int button, int shift, double x, double y);
    // A click or double click as the platform reports it (after the release, or in place of
    // the second press).
    void PlatformClick();
    void PlatformDoubleClick();
    void TimerTick();

    int FaceState() const { return faceState_; }
    bool IsHovering() const { return isHovering_; }

private:
    void SetFace(int state);

    Host& host_;
    std::function<bool()> isMouseOver_;
    int faceState_ = kNormal;
    bool isHovering_ = false;
};

}  // namespace controls
