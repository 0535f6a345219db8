#pragma once
// A click as a user makes it: the pointer is put on the middle of the control, and the left
// button goes down and up there. The events go to the control's window through the window
// system, which hands them to whatever is under the pointer; the control's own state machine
// then decides whether it raises Click. So a disabled or covered control is not clicked, as for
// a user; a control whose window is not shown cannot be clicked at all, and the test fails.
// Nothing else runs between the pointer's arrival and the press: a click right after show()
// comes before the window's queued work, as a quick user's would.

#include <QCursor>
#include <QTest>
#include <QWidget>
#include <QWindow>

#include <gtest/gtest.h>

inline void Click(QWidget* control) {
    QWidget* window = control->window();
    if (!control->isVisible() || !window->windowHandle()) {
        ADD_FAILURE() << "Click on " << control->objectName().toStdString()
                      << ", which is not shown";
        return;
    }
    const QPoint local = control->rect().center();
    const QPoint inWindow = control->mapTo(window, local);
    QCursor::setPos(control->mapToGlobal(local));
    QTest::mouseClick(window->windowHandle(), Qt::LeftButton, {}, inWindow);
}
