#include "common/ValueEncoding.h"

#include "common/Codepage936.h"

#include <algorithm>
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

namespace {

// One code at `in`: an optional "-" and one to five digits, read no further than `end`. Gives
// the byte count written (1 or 2) and moves `in` past the code, or 0 when the code is
// malformed.
inline int DecodeCode(const char*& in, const char* end, char* out) {
    const bool negative = in < end && *in == '-';
    in += negative;
    unsigned value = 0;
    const char* const first = in;
    while (in < end) {
        const unsigned digit = static_cast<unsigned char>(*in) - '0';
        if (digit > 9)
            break;
        value = value * 10 + digit;
        ++in;
        if (in - first > 5)
            return 0;
    }
    if (in == first)
        return 0;
    if (negative) {
        if (value == 0 || value > 32768)
            return 0;
        // The code's two bytes, lead byte first: 65536 - value as a 16-bit number.
        const unsigned v = 65536 - value;
        out[0] = static_cast<char>(v >> 8);
        out[1] = static_cast<char>(v & 0xFF);
        return 2;
    }
    if (value > 255)
        return 0;
    out[0] = static_cast<char>(value);
    return 1;
}

}  // namespace

std::optional<QByteArray> DecodeValueBytes(QByteArrayView encoded, qsizetype maxBytes,
                                           bool* tooLong) {
    if (tooLong)
        *tooLong = false;
    QByteArray out;
    if (encoded.isEmpty())
        return out;
    // A page is hundreds of thousands of codes: the bytes go straight into a buffer of the
    // largest size they can take (a code of n characters gives at most n bytes, and no more
    // than the limit and the two bytes of the code that passes it), cut to size at the end,
    // rather than through an append per byte.
    const char* in = encoded.data();
    const char* const end = in + encoded.size();
    const qsizetype room =
        maxBytes < 0 ? encoded.size() : std::min<qsizetype>(encoded.size(), maxBytes + 2);
    out.resize(room);
    char* const first = out.data();
    char* at = first;
    while (true) {
        const int written = DecodeCode(in, end, at);
        if (written == 0)
            return std::nullopt;
        at += written;
        if (maxBytes >= 0 && at - first > maxBytes) {
            if (tooLong)
                *tooLong = true;
            return std::nullopt;
        }
        if (in == end) {
            out.truncate(at - first);
            return out;
        }
        if (*in != 'A' || in + 1 == end)
            return std::nullopt;
        ++in;
    }
}

std::optional<QString> DecodeValue(QByteArrayView encoded, qsizetype maxChars, bool* tooLong) {
    // A character takes one or two bytes: a text past 2 * maxChars bytes is past maxChars.
    auto bytes = DecodeValueBytes(encoded, maxChars < 0 ? -1 : 2 * maxChars, tooLong);
    if (!bytes)
        return std::nullopt;
    QString text = cp936::Decode(*bytes);
    if (maxChars >= 0 && text.size() > maxChars) {
        if (tooLong)
            *tooLong = true;
        return std::nullopt;
    }
    return text;
}
