#include "client/gateway/ServiceAddress.h"

#include "common/GatewayProtocol.h"

namespace service {
namespace {

QString& Current() {
    static QString address = QString::fromLatin1(kDefaultAddress);
    return address;
}

}  // namespace

bool SetAddress(const QString& address) {
    const QUrl url(address.trimmed(), QUrl::StrictMode);
    if (!url.isValid() || url.host().isEmpty() ||
        (url.scheme() != QLatin1String("http") && url.scheme() != QLatin1String("https"))) {
        return false;
    }
    QString text = url.adjusted(QUrl::RemoveQuery | QUrl::RemoveFragment | QUrl::RemovePath)
                       .toString(QUrl::FullyEncoded);
    while (text.endsWith(QLatin1Char('/')))
        text.chop(1);
    Current() = text;
    return true;
}

bool Configure(const QStringList& arguments) {
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString& arg = arguments[i];
        if (arg == QLatin1String("--service") && i + 1 < arguments.size()) {
            return SetAddress(arguments[i + 1]);
        }
        if (arg.startsWith(QLatin1String("--service="))) {
            return SetAddress(arg.mid(10));
        }
    }
    const QString fromEnvironment = qEnvironmentVariable(kEnvironmentVariable);
    if (!fromEnvironment.isEmpty())
        return SetAddress(fromEnvironment);
    return SetAddress(QString::fromLatin1(kDefaultAddress));
}

QString Address() {
    return Current();
}
QString GatewayAddress() {
    return Current() + QLatin1String(gateway::kGatewayPath);
}
QString PageAddress(const QString& pageName) {
    return Current() + "/love/" + pageName;
}
QString HomeAddress() {
    return Current() + QLatin1Char('/');
}
QString PageOf(const QString& path) {
    return Current() + path;
}

}  // namespace service
