#include "client/platform/NetworkPresence.h"

#include <QHostAddress>
#include <QNetworkInterface>

namespace platform {

bool IsLocalHost(const QString& host) {
    if (host.compare(QLatin1String("localhost"), Qt::CaseInsensitive) == 0)
        return true;
    const QHostAddress address(host);
    if (address.isNull())
        return false;
    if (address.isLoopback())
        return true;
    return QNetworkInterface::allAddresses().contains(address);
}

bool NetworkPresentFor(const QString& serviceHost) {
    if (IsLocalHost(serviceHost))
        return true;
    const auto interfaces = QNetworkInterface::allInterfaces();
    for (const QNetworkInterface& i : interfaces) {
        const auto flags = i.flags();
        if (flags.testFlag(QNetworkInterface::IsUp) &&
            flags.testFlag(QNetworkInterface::IsRunning) &&
            !flags.testFlag(QNetworkInterface::IsLoopBack)) {
            return true;
        }
    }
    return false;
}

}  // namespace platform
