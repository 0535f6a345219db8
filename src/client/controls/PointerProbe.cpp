#include "client/controls/PointerProbe.h"

#include <QApplication>
#include <QCursor>
#include <QWidget>

namespace controls {

bool IsControlAt(const QWidget* control, QPoint global) {
    const QWidget* at = QApplication::widgetAt(global);
    return at != nullptr && (at == control || control->isAncestorOf(at));
}

bool IsControlUnderCursor(const QWidget* control) {
    return IsControlAt(control, QCursor::pos());
}

std::function<bool()> CursorProbe(const QWidget* control) {
    return [control] { return IsControlUnderCursor(control); };
}

}  // namespace controls
