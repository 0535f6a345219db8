#include "client/shell/CommonRoutines.h"

#include "client/controls/N_Shape.h"
#include "client/platform/Platform.h"

#include <QGuiApplication>
#include <QIcon>
#include <QMouseEvent>
#include <QPointer>
#include <QScreen>
#include <QWidget>
#include <QWindow>

void OpenDocument(const QString& address) {
    platform::Current().openDocument(address);
}

void DragWindow(QWidget* window) {
    if (!window || window->isMaximized())
        return;
    if (QWidget* grabber = QWidget::mouseGrabber())
        grabber->releaseMouse();
    if (QWindow* handle = window->windowHandle())
        handle->startSystemMove();
}

WindowMover::WindowMover(QWidget* window, Qt::MouseButtons buttons)
    : QObject(window), window_(window), buttons_(buttons) {}

void WindowMover::Watch(QWidget* surface) {
    surface->installEventFilter(this);
}

bool WindowMover::eventFilter(QObject* watched, QEvent* event) {
    auto* surface = static_cast<QWidget*>(watched);
    switch (event->type()) {
        case QEvent::MouseButtonPress: {
            auto* press = static_cast<QMouseEvent*>(event);
            if (!(buttons_ & press->button()) || surface->childAt(press->position().toPoint()))
                return false;
            if (press->button() == Qt::LeftButton && !window_->isMaximized() &&
                window_->windowHandle()) {
                if (QWidget* grabber = QWidget::mouseGrabber())
                    grabber->releaseMouse();
                if (window_->windowHandle()->startSystemMove())
                    return true;
            }
            moving_ = true;
            offset_ = press->globalPosition().toPoint() - window_->frameGeometry().topLeft();
            return true;
        }
        case QEvent::MouseMove:
            if (!moving_)
                return false;
            window_->move(static_cast<QMouseEvent*>(event)->globalPosition().toPoint() - offset_);
            return true;
        case QEvent::MouseButtonRelease:
            if (!moving_)
                return false;
            moving_ = false;
            return true;
        default:
            return false;
    }
}

const QIcon& ProgramIcon() {
    static const QIcon icon(QStringLiteral(":/icon.png"));
    return icon;
}

void CentreOnScreen(QWidget* window) {
    if (QScreen* screen = QGuiApplication::primaryScreen())
        window->move(screen->availableGeometry().center() - window->rect().center());
}

void SetPaletteColor(QWidget* widget, QPalette::ColorRole role, const QColor& colour) {
    QPalette palette = widget->palette();
    palette.setColor(role, colour);
    widget->setPalette(palette);
}

void ShowMessage(const QString& text, const QString& title, QMessageBox::Icon icon) {
    platform::Current().showMessage(text, title, icon);
}

void WaitWithEvents(int milliseconds) {
    platform::Current().wait(milliseconds);
}

bool LockOutButton(QWidget* window, N_Shape* button, int milliseconds) {
    const QPointer<QWidget> alive(window);
    window->setCursor(Qt::WaitCursor);
    button->SetEnabled(false);
    WaitWithEvents(milliseconds);
    if (!alive)
        return false;
    button->SetEnabled(true);
    window->unsetCursor();
    return window->isVisible();
}
