#pragma once
// Window routines several windows share. Opening a document, the message box and the busy
// wait go through the platform (Platform.h), where tests put their recorders.

#include <QMessageBox>
#include <QObject>
#include <QPalette>
#include <QPoint>
#include <QString>

class N_Shape;
class QIcon;
class QWidget;

// Asks the desktop to open an address or a file with its default handler; the result is not
// examined.
void OpenDocument(const QString& address);
// Lets the user move a frameless window as if its caption had been grabbed.
void DragWindow(QWidget* window);

// Moves a frameless window with the mouse pressed on one of its watched surfaces (where no
// child control is under the pointer): the left button hands the move to the window system
// through DragWindow; another of the accepted buttons, or a platform without system moves,
// moves the window by hand until the button is released. Presses of other buttons pass by.
class WindowMover : public QObject {
public:
    explicit WindowMover(QWidget* window, Qt::MouseButtons buttons = Qt::AllButtons);
    void Watch(QWidget* surface);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* window_;
    Qt::MouseButtons buttons_;
    bool moving_ = false;
    QPoint offset_;
};

// The program's icon, which every window carries. Read from the resources once: reading the
// picture again for each window would cost every window's opening its decoding.
const QIcon& ProgramIcon();

// Places a window in the middle of the primary screen's available area.
void CentreOnScreen(QWidget* window);
// Sets one colour of a widget's palette (its ground with QPalette::Window, its text with
// QPalette::WindowText).
void SetPaletteColor(QWidget* widget, QPalette::ColorRole role, const QColor& colour);

// A message box with one OK button.
void ShowMessage(const QString& text, const QString& title, QMessageBox::Icon icon);

// Waits the given time while window events keep being handled.
void WaitWithEvents(int milliseconds);

// The half-second pause of a button that starts requests: the window shows the wait pointer
// and the button is disabled while events go on, so a double click cannot start a second
// attempt. False when the window went away meanwhile.
bool LockOutButton(QWidget* window, N_Shape* button, int milliseconds = 500);
