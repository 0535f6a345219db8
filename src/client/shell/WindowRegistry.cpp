#include "client/shell/WindowRegistry.h"

#include <QApplication>
#include <QEvent>

namespace program {
namespace {

QList<QPointer<QWidget>>& OpenWindows() {
    static QList<QPointer<QWidget>> windows;
    return windows;
}

void Prune() {
    OpenWindows().removeIf([](const QPointer<QWidget>& w) { return w.isNull(); });
}

// Records every top-level window the first time it is shown.
class ShowWatcher : public QObject {
public:
    using QObject::QObject;
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Show && watched->isWidgetType()) {
            auto* widget = static_cast<QWidget*>(watched);
            if (widget->isWindow())
                WindowRegistry::Add(widget);
        }
        return false;
    }
};

}  // namespace

void WindowRegistry::Install() {
    static bool installed = false;
    if (installed)
        return;
    installed = true;
    qApp->installEventFilter(new ShowWatcher(qApp));
}

void WindowRegistry::Add(QWidget* window) {
    Prune();
    for (const auto& w : OpenWindows()) {
        if (w == window)
            return;
    }
    OpenWindows().append(window);
}

QList<QPointer<QWidget>> WindowRegistry::Windows() {
    Prune();
    return OpenWindows();
}

void WindowRegistry::Clear() {
    OpenWindows().clear();
}

}  // namespace program
