#pragma once
// The hover test of the button controls: is the widget under the cursor this control (or a
// part of it)? A widget that covers the control makes the answer false, as it should.

#include <QPoint>

#include <functional>

class QWidget;

namespace controls {

// The widget at a global position is `control` or one of its descendants.
bool IsControlAt(const QWidget* control, QPoint global);
// The test at the cursor's current position.
bool IsControlUnderCursor(const QWidget* control);
// A predicate that runs that test for `control`.
std::function<bool()> CursorProbe(const QWidget* control);

}  // namespace controls
