#pragma once

// The sample video clip, frame by frame: a night sky over dark hills, glowing hearts rising,
// a big heart that draws itself in light, fills and beats, then "我爱你" and "遇见你，是我最美
// 的意外" fading in. Every frame is a pure function of its number, so the poster picture is
// exactly the frame it shows.

#include <QImage>
#include <QSize>

namespace art {

inline constexpr QSize kClipSize(640, 360);
inline constexpr int kClipFps = 25;
inline constexpr int kClipFrames = 18 * kClipFps;
// The poster shows the clip once everything has appeared.
inline constexpr int kClipPosterFrame = 13 * kClipFps;

// Frame `frame` (0 .. kClipFrames - 1), opaque, kClipSize.
QImage drawClipFrame(int frame);

}  // namespace art
