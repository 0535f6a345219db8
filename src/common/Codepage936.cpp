#include "common/Codepage936.h"

#include <QStringDecoder>
#include <QStringEncoder>
#include <QStringList>

#include <array>
#include <memory>

namespace cp936 {
namespace {

constexpr int kUnknown = 63;  // "?"
constexpr char16_t kReplacement = 0xFFFD;

bool IsTrailByte(unsigned b) {
    return b >= 0x40 && b <= 0xFE && b != 0x7F;
}
bool IsLeadByte(unsigned b) {
    return b >= 0x81 && b <= 0xFE;
}

struct Tables {
    std::array<std::int16_t, 65536> code{};
    std::array<char16_t, 256> single{};      // 0 = no character
    std::array<char16_t, 126 * 256> pair{};  // (lead - 0x81) * 256 + trail; 0 = none
};

// Each character is converted with a line feed behind it, so that the converter's output can
// be cut back into one piece per character: 0x0A is never part of a two-byte character.
std::unique_ptr<Tables> BuildTables() {
    auto t = std::make_unique<Tables>();
    for (int u = 0; u < 0x80; ++u) {
        t->code[u] = static_cast<std::int16_t>(u);
        t->single[u] = static_cast<char16_t>(u);
    }

    QString probe;
    probe.reserve(2 * 65536);
    for (int u = 0x80; u < 0x10000; ++u) {
        if (u >= 0xD800 && u < 0xE000)
            continue;
        probe.append(QChar(u));
        probe.append(QLatin1Char('\n'));
    }
    QStringEncoder encoder("GBK", QStringConverter::Flag::Stateless);
    const QByteArray encoded = encoder.encode(probe);
    qsizetype pos = 0;
    for (int u = 0x80; u < 0x10000; ++u) {
        if (u >= 0xD800 && u < 0xE000) {
            t->code[u] = kUnknown;
            continue;
        }
        const qsizetype end = encoded.indexOf('\n', pos);
        const qsizetype len = (end < 0 ? encoded.size() : end) - pos;
        int code = kUnknown;
        if (len == 1) {
            code = static_cast<unsigned char>(encoded[pos]);
        } else if (len == 2) {
            code = 256 * static_cast<unsigned char>(encoded[pos]) +
                   static_cast<unsigned char>(encoded[pos + 1]) - 65536;
        }
        t->code[u] = static_cast<std::int16_t>(code);
        pos = end < 0 ? encoded.size() : end + 1;
    }

    QByteArray bytes;
    bytes.reserve(126 * 190 * 3 + 4);
    for (unsigned b : {0x80u, 0xFFu}) {
        bytes.append(static_cast<char>(b));
        bytes.append('\n');
    }
    for (unsigned lead = 0x81; lead <= 0xFE; ++lead) {
        for (unsigned trail = 0x40; trail <= 0xFE; ++trail) {
            if (!IsTrailByte(trail))
                continue;
            bytes.append(static_cast<char>(lead));
            bytes.append(static_cast<char>(trail));
            bytes.append('\n');
        }
    }
    QStringDecoder decoder("GBK", QStringConverter::Flag::Stateless);
    const QString decoded = decoder.decode(bytes);
    const QStringList pieces = decoded.split(QLatin1Char('\n'));
    qsizetype piece = 0;
    auto take = [&]() -> char16_t {
        if (piece >= pieces.size())
            return 0;
        const QString& p = pieces[piece++];
        return (p.size() == 1 && p[0].unicode() != kReplacement) ? p[0].unicode() : 0;
    };
    t->single[0x80] = take();
    t->single[0xFF] = take();
    for (unsigned lead = 0x81; lead <= 0xFE; ++lead) {
        for (unsigned trail = 0x40; trail <= 0xFE; ++trail) {
            if (!IsTrailByte(trail))
                continue;
            t->pair[(lead - 0x81) * 256 + trail] = take();
        }
    }
    return t;
}

const Tables& GetTables() {
    static const std::unique_ptr<Tables> tables = BuildTables();
    return *tables;
}

}  // namespace

int CodeOf(char16_t unit) {
    return GetTables().code[unit];
}

void AppendCodeBytes(QByteArray& out, int code) {
    if (code >= 0) {
        out.append(static_cast<char>(code & 0xFF));
    } else {
        const int v = code + 65536;
        out.append(static_cast<char>((v >> 8) & 0xFF));
        out.append(static_cast<char>(v & 0xFF));
    }
}

QByteArray Encode(QStringView text) {
    const auto& codes = GetTables().code;
    QByteArray out;
    out.reserve(text.size() * 2);
    for (QChar c : text)
        AppendCodeBytes(out, codes[c.unicode()]);
    return out;
}

QString Decode(QByteArrayView bytes) {
    const Tables& t = GetTables();
    QString out;
    out.reserve(bytes.size());
    const qsizetype n = bytes.size();
    for (qsizetype i = 0; i < n;) {
        const unsigned b = static_cast<unsigned char>(bytes[i]);
        if (!IsLeadByte(b)) {
            const char16_t c = t.single[b];
            out.append(QChar(c != 0 || b == 0 ? c : kReplacement));
            ++i;
            continue;
        }
        if (i + 1 < n && IsTrailByte(static_cast<unsigned char>(bytes[i + 1]))) {
            const char16_t c = t.pair[(b - 0x81) * 256 + static_cast<unsigned char>(bytes[i + 1])];
            out.append(QChar(c != 0 ? c : kReplacement));
            i += 2;
        } else {
            out.append(QChar(kReplacement));
            ++i;
        }
    }
    return out;
}

bool IsCharacterCode(int code) {
    return CharacterOfCode(code).unicode() != kReplacement;
}

QChar CharacterOfCode(int code) {
    const Tables& t = GetTables();
    if (code >= 0 && code <= 0xFF) {
        if (IsLeadByte(static_cast<unsigned>(code)))
            return QChar(kReplacement);
        const char16_t c = t.single[code];
        return QChar(c != 0 || code == 0 ? c : kReplacement);
    }
    if (code < -32768 || code > 0xFF)
        return QChar(kReplacement);
    const int v = code + 65536;
    const unsigned lead = static_cast<unsigned>(v >> 8), trail = static_cast<unsigned>(v & 0xFF);
    if (!IsLeadByte(lead) || !IsTrailByte(trail))
        return QChar(kReplacement);
    const char16_t c = t.pair[(lead - 0x81) * 256 + trail];
    return QChar(c != 0 ? c : kReplacement);
}

}  // namespace cp936
