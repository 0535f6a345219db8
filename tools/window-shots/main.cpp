// window-shots: pictures of the client's editor windows, to compare with their layouts.
//   window-shots OUTPUT-FOLDER [--service URL]
// Writes FG1.png … FG8.png, each window as it opens (sample entries in the boxes). Run it
// under a real display (xvfb-run) to see the desktop's own fonts; offscreen works as well.

#include "client/gateway/ServiceAddress.h"
#include "client/pages/StyleEditor.h"
#include "client/shell/FontSubstitutes.h"

#include <QApplication>
#include <QDir>
#include <QTimer>

#include <cstdio>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    program::InstallFontSubstitutes();
    const QStringList args = app.arguments();
    if (args.size() < 2) {
        std::fputs("usage: window-shots OUTPUT-FOLDER [--service URL]\n", stderr);
        return 2;
    }
    service::Configure(args);
    const QDir out(args[1]);
    QDir().mkpath(out.path());
    int failures = 0;
    for (int style = 1; style <= pages::kStyleCount; ++style) {
        StyleEditor* editor = EditorDesk::Instance().Open(style);
        QApplication::processEvents();
        const QString file = out.filePath(editor->objectName() + QStringLiteral(".png"));
        if (!editor->grab().save(file)) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(file));
            ++failures;
        } else {
            std::printf("%s\n", qPrintable(file));
        }
        editor->close();
        QApplication::processEvents();
    }
    return failures ? 1 : 0;
}
