#pragma once
// Where the service lives. The gateway page, the published pages and the assets of the page
// styles are all on this one host: "--service URL" on the command line, else the environment
// variable ZENRI_SERVICE, else the built-in address.

#include <QString>
#include <QStringList>
#include <QUrl>

namespace service {

inline constexpr char kDefaultAddress[] = "http://127.0.0.1:8080";
inline constexpr char kEnvironmentVariable[] = "ZENRI_SERVICE";

// Takes "--service URL" (or "--service=URL") from the arguments, else the environment, else
// the default. Returns false (and keeps the previous address) for an address that is not an
// absolute http or https address.
bool Configure(const QStringList& arguments);
bool SetAddress(const QString& address);

// Scheme, host and port, without a trailing "/": "http://127.0.0.1:8080".
QString Address();

QString GatewayAddress();                      // Address() + "/asp/index.asp"
QString PageAddress(const QString& pageName);  // Address() + "/love/" + name
QString HomeAddress();                         // Address() + "/"
QString PageOf(const QString& path);           // Address() + path (path starts with "/")

}  // namespace service
