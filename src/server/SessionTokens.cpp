#include "SessionTokens.h"

#include "PasswordHasher.h"

#include <QByteArray>

#include <sodium.h>

namespace server {
namespace {
constexpr int kTokenBytes = 32;

bool IsToken(std::string_view text) {
    if (text.size() != kTokenBytes * 2)
        return false;
    for (char c : text) {
        if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'f')))
            return false;
    }
    return true;
}
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

QString SessionTokenFromCookies(std::string_view header) {
    const std::string_view name(kSessionCookie);
    size_t pos = 0;
    while (pos < header.size()) {
        size_t end = header.find(';', pos);
        if (end == std::string_view::npos)
            end = header.size();
        std::string_view pair = header.substr(pos, end - pos);
        while (!pair.empty() && pair.front() == ' ')
            pair.remove_prefix(1);
        while (!pair.empty() && pair.back() == ' ')
            pair.remove_suffix(1);
        if (pair.size() > name.size() && pair.substr(0, name.size()) == name &&
            pair[name.size()] == '=') {
            const std::string_view value = pair.substr(name.size() + 1);
            if (IsToken(value)) {
                return QString::fromLatin1(value.data(), static_cast<qsizetype>(value.size()));
            }
        }
        pos = end + 1;
    }
    return {};
}

}  // namespace server
