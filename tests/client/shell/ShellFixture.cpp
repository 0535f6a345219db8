#include "ShellFixture.h"

#include "client/gateway/ServiceAddress.h"
#include "client/gateway/XmlHttp.h"
#include "client/platform/Platform.h"
#include "client/shell/FontSubstitutes.h"
#include "client/shell/GGCT.h"
#include "client/shell/SingleInstance.h"
#include "common/GatewayProtocol.h"
#include "common/ValueEncoding.h"

#include <QApplication>
#include <QCoreApplication>
#include <QNetworkAccessManager>
#include <QNetworkCookieJar>
#include <QPointer>
#include <QWidget>

namespace {

// The windows are measured and drawn with the faces the program gives them: main() installs
// the shell's font substitutes as soon as the application exists, and so does every program
// of window tests.
void InstallProgramFonts() {
    program::InstallFontSubstitutes();
}

}  // namespace

Q_COREAPP_STARTUP_FUNCTION(InstallProgramFonts)

void ShellFixture::SetUp() {
    ASSERT_TRUE(service.Start()) << service.Error().toStdString();
    ASSERT_TRUE(service::SetAddress(service.Url()));
    static int counter = 0;
    program::SetInstanceKey(
        QStringLiteral("shell-test-%1-%2").arg(QCoreApplication::applicationPid()).arg(++counter));
    platform::Platform& p = platform::Current();
    p.networkPresent = [this](const QString&) { return networkPresent; };
    p.programEnded = [this] { ++programEnds; };
    p.openDocument = [this](const QString& a) { openedDocuments.append(a); };
    p.showMessage = [this](const QString& text, const QString& title, QMessageBox::Icon icon) {
        messages.append({text, title, icon});
    };
    p.programFolder = [folder = programFolder.path()] { return folder; };
    xmlhttp::SetObserver([this](const QString&, const QByteArray& body) {
        RecordedRequest request;
        const auto form = gateway::SplitForm(body);
        if (form) {
            request.code = DecodeValue(form->at("zc")).value_or(QString()).toInt();
            if (form->count("sql"))
                request.statement = DecodeValue(form->at("sql")).value_or("");
        }
        requests.append(request);
    });
    xmlhttp::SetTimeoutMs(5000);
}

void ShellFixture::TearDown() {
    QList<QPointer<QWidget>> windows;
    for (QWidget* w : QApplication::topLevelWidgets())
        windows.append(w);
    for (const QPointer<QWidget>& w : windows)
        delete w.data();
    GGCT::Reset();
    program::ReleaseInstance();
    platform::Restore();
    xmlhttp::SetObserver({});
    xmlhttp::SetTimeoutMs(20000);
    // Idle kept-alive connections would hold up the service's stop; the session cookie of
    // this test's service means nothing to the next one.
    xmlhttp::Manager().clearConnectionCache();
    xmlhttp::Manager().setCookieJar(new QNetworkCookieJar);
}

QStringList ShellFixture::RequestStatements() const {
    QStringList out;
    for (const RecordedRequest& r : requests) {
        out << (r.code == 3 ? QStringLiteral("(server time)") : r.statement);
    }
    return out;
}

void SetServiceSetting(const ServiceProcess& service, int field, const QString& value) {
    const auto result = service.RunCommand(
        {QStringLiteral("settings"), QStringLiteral("set"), QString::number(field), value});
    ASSERT_EQ(result.exitCode, 0) << result.output.toStdString();
}
