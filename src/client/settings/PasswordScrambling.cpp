#include "client/settings/PasswordScrambling.h"

#include "common/Codepage936.h"

#include <QRandomGenerator>

#include <algorithm>
#include <climits>
#include <cmath>

namespace scrambling {
namespace {

// Shift of the code at scrambling position p (1..5, then 0 for the sixth of a group).
int Shift(int p, int k) {
    switch (p) {
        case 1:
            return (k - 5) + 1;
        case 2:
            return -(k - 4) + 2;
        case 3:
            return (k - 2) + 3;
        case 4:
            return -(k - 3) + 4;
        case 5:
            return (k - 5) + 5;
        default:
            return -(k - 2);
    }
}

// Stored positions 1..9, 0 of a group of ten, and the scrambling position each coded one
// came from; -1 marks a filler.
constexpr int kSourcePosition[10] = {-1, 1, -1, 2, 3, -1, 4, -1, 5, 0};

bool IsPlain(int code, bool atEnd) {
    if (code < 32 || code == 127 || code == '\\')
        return false;
    if (atEnd && (code == ' ' || code == '"' || code == '\''))
        return false;
    return cp936::IsCharacterCode(code);
}

}  // namespace

int KeyNumber(const QString& key) {
    long long sum = 0;
    for (QChar c : key)
        sum += cp936::CodeOf(c.unicode());
    return static_cast<int>(std::floor(static_cast<double>(sum) * 0.1 / 6.0));
}

std::vector<int> ScrambleCodes(const std::vector<int>& codes, int keyNumber,
                               const FillerSource& filler) {
    const FillerSource draw = filler ? filler : [] {
        return static_cast<int>(QRandomGenerator::global()->bounded(95)) + 32;
    };
    std::vector<int> out;
    out.reserve(codes.size() * 2);
    int p = 0;
    for (int c : codes) {
        p = (p + 1) % 6;
        out.push_back(c + Shift(p, keyNumber));
        if (p == 1 || p == 3 || p == 4 || p == 0)
            out.push_back(draw());
    }
    return out;
}

std::vector<int> UnscrambleCodes(const std::vector<int>& codes, int keyNumber) {
    std::vector<int> out;
    out.reserve(codes.size());
    int q = 0;
    for (int d : codes) {
        q = (q + 1) % 10;
        const int source = kSourcePosition[q];
        if (source >= 0) {
            // A stored text edited by hand may hold any int; a shift past the end of the
            // range stops at the end, which is no character either.
            const long long code = static_cast<long long>(d) - Shift(source, keyNumber);
            out.push_back(static_cast<int>(std::clamp<long long>(code, INT_MIN, INT_MAX)));
        }
    }
    return out;
}

QString CodesToStoredText(const std::vector<int>& codes) {
    QString out;
    for (size_t i = 0; i < codes.size(); ++i) {
        const int code = codes[i];
        const bool atEnd = i == 0 || i + 1 == codes.size();
        if (code == '\\') {
            out += QLatin1String("\\\\");
        } else if (IsPlain(code, atEnd)) {
            out += cp936::CharacterOfCode(code);
        } else {
            out += QStringLiteral("\\{%1}").arg(code);
        }
    }
    return out;
}

std::vector<int> StoredTextToCodes(const QString& text) {
    std::vector<int> out;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == QLatin1Char('\\') && i + 1 < text.size()) {
            if (text[i + 1] == QLatin1Char('\\')) {
                out.push_back('\\');
                ++i;
                continue;
            }
            const qsizetype close = text.indexOf(QLatin1Char('}'), i + 2);
            if (text[i + 1] == QLatin1Char('{') && close > i + 2) {
                bool ok = false;
                const int code = QStringView(text).mid(i + 2, close - i - 2).toInt(&ok);
                if (ok) {
                    out.push_back(code);
                    i = close;
                    continue;
                }
            }
        }
        out.push_back(cp936::CodeOf(text[i].unicode()));
    }
    return out;
}

std::vector<int> CodesOf(const QString& text) {
    std::vector<int> out;
    out.reserve(static_cast<size_t>(text.size()));
    for (QChar c : text)
        out.push_back(cp936::CodeOf(c.unicode()));
    return out;
}

QString TextOf(const std::vector<int>& codes) {
    QString out;
    out.reserve(static_cast<qsizetype>(codes.size()));
    for (int code : codes)
        out += cp936::CharacterOfCode(code);
    return out;
}

}  // namespace scrambling

QString ScramblePassword(const QString& text, const QString& key) {
    using namespace scrambling;
    return CodesToStoredText(ScrambleCodes(CodesOf(text), KeyNumber(key)));
}

QString UnscramblePassword(const QString& text, const QString& key) {
    using namespace scrambling;
    return TextOf(UnscrambleCodes(StoredTextToCodes(text), KeyNumber(key)));
}
