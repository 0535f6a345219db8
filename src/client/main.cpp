// Zenri表白网页生成器: the desktop client.
//   ZenriBiaobai [--service URL] [--instance-key KEY]

#include "client/shell/Main.h"
#include "client/accounts/Login.h"
#include "client/gateway/ServiceAddress.h"
#include "client/pages/StyleEditor.h"
#include "client/publish/SCCT.h"
#include "client/shell/FontSubstitutes.h"
#include "client/shell/Program.h"
#include "client/shell/SingleInstance.h"

#include <QApplication>

#include <cstdio>

namespace {

QString ArgumentValue(const QStringList& arguments, const QString& name) {
    const qsizetype at = arguments.indexOf(name);
    return at >= 0 && at + 1 < arguments.size() ? arguments[at + 1] : QString();
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("ZenriBiaobai"));
    QApplication::setApplicationVersion(QString::fromUtf16(program::kClientVersion));
    program::InstallFontSubstitutes();

    const QStringList arguments = QApplication::arguments();
    if (!service::Configure(arguments)) {
        std::fprintf(stderr, "The service address must be an http or https address.\n");
        return 2;
    }
    const QString instanceKey = ArgumentValue(arguments, QStringLiteral("--instance-key"));
    if (!instanceKey.isEmpty())
        program::SetInstanceKey(instanceKey);

    auto* window = new Main();
    window->setAttribute(Qt::WA_DeleteOnClose);
    QObject::connect(window, &Main::SignInRequested, window, [](Main* owner) {
        auto* login = new Login(owner);
        QObject::connect(login, &Login::SignedIn, owner, &Main::EnableGallery);
        login->show();
    });
    QObject::connect(window, &Main::EditorRequested, &EditorDesk::Instance(), &EditorDesk::Open);
    QObject::connect(&EditorDesk::Instance(), &EditorDesk::UploadRequested, &SCCT::ShowWindow);
    if (window->Load() == Main::Start::Ended)
        return 0;
    return QApplication::exec();
}
