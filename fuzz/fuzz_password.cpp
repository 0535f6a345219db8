// Fuzzes the unscrambling of the remembered password: the stored text as the settings file
// gives it back, and the scrambling that made it.
//
// Properties: for a password of characters the code page holds, unscrambling the scrambled
// text gives the password back, with the program's key and with any other; and so does the
// way the program stores it, through the settings file, when the stored text fits a value.

#include "FuzzSupport.h"
#include "client/settings/IniFile.h"
#include "client/settings/PasswordScrambling.h"
#include "client/settings/Wini.h"

namespace {

using namespace scrambling;

const QString kProgramKey = QString::fromLatin1(wini::kScrambleKey);

void CheckRoundTrip(const QString& password, const QString& key, QByteArrayView fillers) {
    // The fillers come from the input, so that a crash repeats; any code from 32 to 126 may be
    // drawn.
    qsizetype next = 0;
    const auto filler = [&] {
        const int code =
            fillers.isEmpty() ? 32 : static_cast<unsigned char>(fillers[next]) % 95 + 32;
        next = fillers.isEmpty() ? 0 : (next + 1) % fillers.size();
        return code;
    };
    const QString stored =
        CodesToStoredText(ScrambleCodes(CodesOf(password), KeyNumber(key), filler));
    FUZZ_CHECK(UnscramblePassword(stored, key) == password);
    FUZZ_CHECK(UnscramblePassword(ScramblePassword(password, key), key) == password);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArrayView bytes = fuzz::BytesOf(data, size);
    const QString text = QString::fromUtf8(bytes);

    // A settings file someone edited: any stored text is unscrambled without harm.
    (void)UnscramblePassword(text, kProgramKey);
    (void)UnscramblePassword(fuzz::Utf16Of(bytes), kProgramKey);

    const QString password = fuzz::KeepCodePageText(text);
    CheckRoundTrip(password, kProgramKey, bytes);
    CheckRoundTrip(password, fuzz::KeepCodePageText(fuzz::Utf16Of(bytes)), bytes.sliced(size / 2));

    // The program's way: the stored text goes into the settings file and comes back from it.
    const QString stored = ScramblePassword(password, kProgramKey);
    if (cp936::Encode(stored).size() > 254)
        return 0;
    const QString path = fuzz::ScratchFolder() + QStringLiteral("/Zrwysc.ini");
    const QString key = QString::fromUtf16(wini::kPasswordKey);
    FUZZ_CHECK(WriteIni(wini::Section(), key, stored, path));
    const QString readBack = ReadIni(wini::Section(), key, path);
    FUZZ_CHECK(readBack == stored);
    FUZZ_CHECK(UnscramblePassword(readBack, kProgramKey) == password);
    return 0;
}
