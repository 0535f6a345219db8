#include "ValueEncoding.h"

#include "Codepage936.h"

#include <array>
#include <cstring>
#include <memory>

namespace {

// For every UTF-16 unit, its code in decimal followed by "A", ready to copy: byte 0 holds the
// length (at most 7, as in "-32512A"), bytes 1..7 the characters.
using Piece = std::array<char, 8>;

std::unique_ptr<std::array<Piece, 65536>> BuildPieces() {
    auto pieces = std::make_unique<std::array<Piece, 65536>>();
    for (int u = 0; u < 65536; ++u) {
        const QByteArray text = QByteArray::number(cp936::CodeOf(static_cast<char16_t>(u))) + 'A';
        Piece& p = (*pieces)[u];
        p.fill(0);
        p[0] = static_cast<char>(text.size());
        std::memcpy(p.data() + 1, text.constData(), static_cast<size_t>(text.size()));
    }
    return pieces;
}

const std::array<Piece, 65536>& Pieces() {
    static const std::unique_ptr<std::array<Piece, 65536>> pieces = BuildPieces();
    return *pieces;
}

}  // namespace

void AppendEncodedValue(QByteArray& out, QStringView value) {
    if (value.isEmpty())
        return;
    const auto& pieces = Pieces();
    const qsizetype start = out.size();
    // Every piece is copied whole (8 bytes); the buffer has room for the last one.
    out.resize(start + value.size() * 7 + 8);
    char* dst = out.data() + start;
    for (QChar c : value) {
        const Piece& p = pieces[c.unicode()];
        std::memcpy(dst, p.data() + 1, 7);
        dst += p[0];
    }
    out.resize(dst - out.data() - 1);  // drop the final "A"
}

QString EncodeValue(QStringView value) {
    QByteArray out;
    AppendEncodedValue(out, value);
    return QString::fromLatin1(out);
}

QString EncodeValue(qint64 number) {
    return EncodeValue(QString::number(number));
}

std::optional<QByteArray> DecodeValueBytes(QByteArrayView encoded) {
    QByteArray out;
    if (encoded.isEmpty())
        return out;
    out.reserve(encoded.size() / 3 + 1);
    const qsizetype n = encoded.size();
    qsizetype i = 0;
    while (true) {
        bool negative = false;
        if (i < n && encoded[i] == '-') {
            negative = true;
            ++i;
        }
        int value = 0, digits = 0;
        while (i < n && encoded[i] >= '0' && encoded[i] <= '9') {
            if (++digits > 5)
                return std::nullopt;
            value = value * 10 + (encoded[i] - '0');
            ++i;
        }
        if (digits == 0)
            return std::nullopt;
        if (negative) {
            if (value == 0 || value > 32768)
                return std::nullopt;
            cp936::AppendCodeBytes(out, -value);
        } else {
            if (value > 255)
                return std::nullopt;
            out.append(static_cast<char>(value));
        }
        if (i == n)
            return out;
        if (encoded[i] != 'A' || i + 1 == n)
            return std::nullopt;
        ++i;
    }
}

std::optional<QString> DecodeValue(QByteArrayView encoded) {
    auto bytes = DecodeValueBytes(encoded);
    if (!bytes)
        return std::nullopt;
    return cp936::Decode(*bytes);
}
