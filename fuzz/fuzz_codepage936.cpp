// Fuzzes the code page 936 conversion: bytes from the wire, the settings file or the page
// store turned into text, and text turned into bytes.
//
// Properties: text made only of characters the code page holds comes back from its bytes
// unchanged, and its bytes are the ones Qt's own GBK converter gives; bytes that decode
// without a replacement character decode as Qt's converter decodes them.

#include "FuzzSupport.h"

#include <QStringDecoder>
#include <QStringEncoder>

#include <array>
#include <memory>

namespace {

// Which units the code page holds, asked of Qt's converter one unit at a time: those that
// come back from their bytes. Built apart from the tables under test, which are built from
// one long text.
const std::array<bool, 65536>& Held() {
    static const std::unique_ptr<std::array<bool, 65536>> held = [] {
        auto out = std::make_unique<std::array<bool, 65536>>();
        QStringEncoder encoder("GBK", QStringConverter::Flag::Stateless);
        QStringDecoder decoder("GBK", QStringConverter::Flag::Stateless);
        for (int u = 0; u < 65536; ++u) {
            const QChar c(static_cast<char16_t>(u));
            const QByteArray bytes = encoder.encode(QStringView(&c, 1));
            const QString back = decoder.decode(bytes);
            (*out)[u] = !c.isSurrogate() && back.size() == 1 && back[0] == c;
        }
        return out;
    }();
    return *held;
}

QString HeldOnly(QStringView text) {
    QString out;
    for (QChar c : text) {
        if (Held()[c.unicode()])
            out.append(c);
    }
    return out;
}

void CheckText(const QString& text) {
    const QByteArray bytes = cp936::Encode(text);
    FUZZ_CHECK(cp936::Decode(bytes) == text);
    QStringEncoder encoder("GBK", QStringConverter::Flag::Stateless);
    FUZZ_CHECK(bytes == QByteArray(encoder.encode(text)));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArrayView bytes = fuzz::BytesOf(data, size);
    const QString decoded = cp936::Decode(bytes);
    FUZZ_CHECK(decoded.size() <= bytes.size());
    if (!decoded.contains(QChar(0xFFFD))) {
        QStringDecoder decoder("GBK", QStringConverter::Flag::Stateless);
        FUZZ_CHECK(QString(decoder.decode(bytes)) == decoded);
    }
    CheckText(HeldOnly(decoded));
    CheckText(HeldOnly(fuzz::Utf16Of(bytes)));
    return 0;
}
