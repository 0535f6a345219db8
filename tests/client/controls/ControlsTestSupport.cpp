#include "ControlsTestSupport.h"

#include <QApplication>
#include <QCursor>
#include <QDeadlineTimer>
#include <QMetaMethod>
#include <QTest>

namespace controls_test {

bool WaitUntil(const std::function<bool()>& done, int ms) {
    QDeadlineTimer deadline(ms);
    while (!done()) {
        if (deadline.hasExpired())
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    }
    return true;
}

HostWindow::HostWindow() {
    setGeometry(100, 100, 400, 300);
    setAutoFillBackground(true);
}

bool HostWindow::ShowAndWait(bool active) {
    show();
    if (!QTest::qWaitForWindowExposed(this))
        return false;
    if (!active)
        return true;
    activateWindow();
    return QTest::qWaitForWindowActive(this);
}

void MoveCursorTo(QWidget* widget, QPoint local) {
    QCursor::setPos(widget->mapToGlobal(local));
    QCoreApplication::processEvents();
}

void MoveCursorAway() {
    QCursor::setPos(QPoint(5, 5));
    QCoreApplication::processEvents();
}

SignalLog::SignalLog(QObject* object) {
    const QMetaObject* meta = object->metaObject();
    const QMetaMethod record = metaObject()->method(metaObject()->indexOfSlot("Record()"));
    for (int i = meta->methodOffset(); i < meta->methodCount(); ++i) {
        const QMetaMethod method = meta->method(i);
        if (method.methodType() != QMetaMethod::Signal)
            continue;
        if (method.methodSignature().contains('&'))
            continue;
        QObject::connect(object, method, this, record);
    }
}

void SignalLog::Record() {
    names << QString::fromLatin1(sender()->metaObject()->method(senderSignalIndex()).name());
}

QStringList SignalLog::Only(const QStringList& only) const {
    QStringList picked;
    for (const QString& name : names) {
        if (only.contains(name))
            picked << name;
    }
    return picked;
}

}  // namespace controls_test
