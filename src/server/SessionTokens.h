#pragma once
// Session cookies. A successful sign-in lookup hands the client a random token in a cookie;
// the database keeps only a digest of it, so a copy of the database opens no session.

#include <QString>
#include <QStringView>

#include <string>
#include <string_view>

namespace server {

inline constexpr char kSessionCookie[] = "zr_session";

QString NewSessionToken();  // 64 hexadecimal digits from the system's random source
QString SessionDigest(QStringView token);

// The Set-Cookie value that hands the token to the client: for the whole site, not readable by
// page scripts, and gone when the client program ends.
std::string SessionCookieHeader(const QString& token);

// The token from a Cookie request header, or the empty text. A token that is not 64
// hexadecimal digits is ignored.
QString SessionTokenFromCookies(std::string_view cookieHeader);

}  // namespace server
