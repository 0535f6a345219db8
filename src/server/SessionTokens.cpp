#include "server/SessionTokens.h"

#include "server/PasswordHasher.h"

#include <QByteArray>

#include <sodium.h>

namespace server {
namespace {
constexpr int kTokenBytes = kSessionTokenDigits / 2;
}  // namespace

QString NewSessionToken() {
    InitialiseSodium();
    unsigned char bytes[kTokenBytes];
    randombytes_buf(bytes, sizeof bytes);
    return QString::fromLatin1(
        QByteArray(reinterpret_cast<const char*>(bytes), kTokenBytes).toHex());
}

QString SessionDigest(QStringView token) {
    InitialiseSodium();
    const QByteArray in = token.toLatin1();
    unsigned char out[crypto_generichash_BYTES];
    crypto_generichash(out, sizeof out, reinterpret_cast<const unsigned char*>(in.constData()),
                       static_cast<unsigned long long>(in.size()), nullptr, 0);
    return QString::fromLatin1(QByteArray(reinterpret_cast<const char*>(out), sizeof out).toHex());
}

std::string SessionCookieHeader(const QString& token) {
    return std::string(kSessionCookie) + "=" + token.toStdString() +
           "; Path=/asp/; HttpOnly; SameSite=Lax";
}

}  // namespace server
