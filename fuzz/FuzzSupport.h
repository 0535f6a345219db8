#pragma once
// What every fuzz target shares: the check that stops the run on a broken property, the ways a
// fuzz input becomes text, and a scratch folder for the targets that read files.

#include "common/Codepage936.h"

#include <QByteArray>
#include <QString>
#include <QStringView>
#include <QTemporaryDir>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <memory>

// A broken property is a crash for libFuzzer: it keeps the input that broke it.
#define FUZZ_CHECK(condition)                                                                     \
    do {                                                                                          \
        if (!(condition)) {                                                                       \
            std::fprintf(stderr, "%s:%d: property broken: %s\n", __FILE__, __LINE__, #condition); \
            __builtin_trap();                                                                     \
        }                                                                                         \
    } while (false)

namespace fuzz {

inline QByteArrayView BytesOf(const uint8_t* data, size_t size) {
    return QByteArrayView(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
}

// The input read as UTF-16 units (little-endian, an odd last byte dropped): every unit,
// lone surrogates included, can come out.
inline QString Utf16Of(QByteArrayView bytes) {
    QString out;
    out.reserve(bytes.size() / 2);
    for (qsizetype i = 0; i + 1 < bytes.size(); i += 2) {
        const auto low = static_cast<unsigned char>(bytes[i]);
        const auto high = static_cast<unsigned char>(bytes[i + 1]);
        out.append(QChar(static_cast<char16_t>(low | (high << 8))));
    }
    return out;
}

// True when the code page gives the unit back from its own code: the texts the program can
// send or store unchanged are made of such units.
inline bool SurvivesCodePage(QChar c) {
    return cp936::CharacterOfCode(cp936::CodeOf(c.unicode())) == c;
}

// The text without the units that do not survive the code page.
inline QString KeepCodePageText(QStringView text) {
    QString out;
    out.reserve(text.size());
    for (QChar c : text) {
        if (SurvivesCodePage(c))
            out.append(c);
    }
    return out;
}

// A folder for the run's files under the temporary folder (run.sh points TMPDIR at one in
// memory and removes it afterwards, so a crashed run leaves nothing behind).
inline const QString& ScratchFolder() {
    static const std::unique_ptr<QTemporaryDir> dir = std::make_unique<QTemporaryDir>();
    static const QString path = dir->path();
    return path;
}

}  // namespace fuzz
