#pragma once
// Helpers of the control tests: a host window on the offscreen screen, a pointer that moves the
// real cursor (so the controls' hover test sees it), waiting with a deadline, and a recorder
// of a control's signals by name.

#include <QObject>
#include <QPoint>
#include <QStringList>
#include <QWidget>

#include <functional>

namespace controls_test {

// Processes events until `done` holds or `ms` have passed; returns whether it held.
bool WaitUntil(const std::function<bool()>& done, int ms = 2000);

// A top-level window placed away from the screen's corner, shown and exposed.
class HostWindow : public QWidget {
public:
    HostWindow();
    // Shows the window and waits until it is exposed (and, when asked, active).
    bool ShowAndWait(bool active = false);
};

// Moves the cursor to a point of `widget` (no button held): the platform delivers the moves,
// enter and leave events the way the pointer would.
void MoveCursorTo(QWidget* widget, QPoint local);
// Moves the cursor to a screen point no window covers.
void MoveCursorAway();

// Records, in order, the names of the signals an object raises (those the object's own class
// declares, reference parameters excepted).
class SignalLog : public QObject {
    Q_OBJECT
public:
    explicit SignalLog(QObject* object);
    QStringList names;
    // The recorded names that are in `only`, in order.
    QStringList Only(const QStringList& only) const;

private slots:
    void Record();
};

}  // namespace controls_test
