#include "client/platform/Platform.h"

#include "client/platform/NetworkPresence.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QEventLoop>
#include <QFileDialog>
#include <QTimer>
#include <QUrl>

namespace platform {

Platform Production() {
    Platform p;
    p.openDocument = [](const QString& address) {
        // A web address goes to the browser, anything else is taken for a local file.
        QDesktopServices::openUrl(QUrl::fromUserInput(address));
    };
    p.showMessage = [](const QString& text, const QString& title, QMessageBox::Icon icon) {
        QMessageBox box(icon, title, text, QMessageBox::Ok);
        box.exec();
    };
    p.chooseSaveFile = [](QWidget* parent, const QString& title, const QString& suggested,
                          const QString& filter) {
        return QFileDialog::getSaveFileName(parent, title, suggested, filter);
    };
    p.wait = [](int milliseconds) {
        QEventLoop loop;
        QTimer::singleShot(milliseconds, &loop, &QEventLoop::quit);
        loop.exec();
    };
    p.networkPresent = &NetworkPresentFor;
    p.programFolder = [] { return QCoreApplication::applicationDirPath(); };
    p.temporaryFolder = [] { return QDir::tempPath(); };
    p.programEnded = [] {};
    return p;
}

Platform& Current() {
    static Platform current = Production();
    return current;
}

void Restore() {
    Current() = Production();
}

}  // namespace platform
