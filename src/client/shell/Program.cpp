#include "client/shell/Program.h"

#include "client/platform/Platform.h"
#include "client/shell/GGCT.h"
#include "client/shell/WindowRegistry.h"

#include <QApplication>
#include <QFileInfo>

namespace program {

QString ExecutableBaseName() {
    return QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName();
}

void EndProgram() {
    // Closing a window may itself end the program (the update notice does): one end at a time.
    static bool ending = false;
    if (ending)
        return;
    ending = true;
    const QList<QPointer<QWidget>> windows = WindowRegistry::Windows();
    for (auto it = windows.crbegin(); it != windows.crend(); ++it) {
        if (*it)
            (*it)->close();
    }
    // Windows shown before the registry watched them, if any.
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (w->isVisible())
            w->close();
    }
    GGCT::Reset();
    WindowRegistry::Clear();
    platform::Current().programEnded();
    QCoreApplication::quit();
    ending = false;
}

}  // namespace program
