#pragma once
// Session cookies. A successful sign-in lookup hands the client a random token in a cookie;
// the database keeps only a digest of it, so a copy of the database opens no session.

#include <QString>
#include <QStringView>

#include <string>

namespace server {

inline constexpr char kSessionCookie[] = "zr_session";
// A token's length: 32 random bytes as small hexadecimal digits.
inline constexpr int kSessionTokenDigits = 64;

QString NewSessionToken();  // 64 hexadecimal digits from the system's random source
QString SessionDigest(QStringView token);

// The Set-Cookie value that hands the token to the client: for the whole site, not readable by
// page scripts, and gone when the client program ends.
std::string SessionCookieHeader(const QString& token);

}  // namespace server
