#pragma once
// The network test of the start-up. A network is present when the service is on this machine
// (it needs none), or when an interface other than loopback is up and running. This is the
// production answer of platform::Current().networkPresent; tests put their own in place.

#include <QString>

namespace platform {

// The host names this machine: "localhost", a loopback address or an address of one of its
// interfaces.
bool IsLocalHost(const QString& host);
bool NetworkPresentFor(const QString& serviceHost);

}  // namespace platform
