// Fuzzes the reader of the settings file (Zrwysc.ini): any file text, read and written with
// the calls the client makes on it (the remembered account and password, the program name).
//
// Properties: a value read is at most 254 bytes; a value written is read back unchanged, the
// other keys read as before, and every other line of the file stays.

#include "FuzzSupport.h"
#include "client/settings/IniFile.h"
#include "client/settings/PasswordScrambling.h"
#include "client/settings/Wini.h"

#include <QFile>
#include <QList>

namespace {

const QString kSection = wini::Section();
const QString kKeys[] = {QString::fromUtf16(wini::kAccountKey),
                         QString::fromUtf16(wini::kPasswordKey),
                         QString::fromUtf16(wini::kProgramNameKey)};

// The lines of a file as the reader sees them, without their line breaks.
QList<QByteArray> LinesOf(const QByteArray& all) {
    if (all.isEmpty())
        return {};
    QList<QByteArray> lines = all.split('\n');
    if (all.endsWith('\n'))
        lines.removeLast();
    for (QByteArray& line : lines) {
        if (line.endsWith('\r'))
            line.chop(1);
    }
    return lines;
}

QByteArray ReadAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The write changed one line to the entry, added it as one line, or added the section with it
// at the end.
bool OnlyTheEntryChanged(const QList<QByteArray>& before, const QList<QByteArray>& after,
                         const QByteArray& entry) {
    if (after.size() == before.size()) {
        qsizetype changed = 0;
        for (qsizetype i = 0; i < after.size(); ++i) {
            if (after[i] != before[i]) {
                if (after[i] != entry)
                    return false;
                ++changed;
            }
        }
        return changed <= 1;
    }
    if (after.size() == before.size() + 1) {
        for (qsizetype i = 0; i < after.size(); ++i) {
            if (after[i] != entry)
                continue;
            QList<QByteArray> rest = after;
            rest.removeAt(i);
            if (rest == before)
                return true;
        }
        return false;
    }
    return after.size() == before.size() + 2 && after.sliced(0, before.size()) == before &&
           after[before.size()] == '[' + cp936::Encode(kSection) + ']' && after.last() == entry;
}

// What the client writes under each key: the digits of an account, a scrambled password, the
// program's file name; here made from the input.
QString ValueFor(int key, const QString& text) {
    QString plain;
    for (QChar c : text) {
        if (c != QLatin1Char('\r') && c != QLatin1Char('\n') && fuzz::SurvivesCodePage(c))
            plain.append(c);
    }
    switch (key) {
        case 0: {
            QString digits;
            for (QChar c : plain) {
                if (c.unicode() >= u'0' && c.unicode() <= u'9')
                    digits.append(c);
            }
            return digits;
        }
        case 1: {
            // ScramblePassword with fillers of the input instead of random ones, so that a
            // crash repeats.
            using namespace scrambling;
            int next = 0;
            const auto filler = [&] { return 32 + (next++ * 37 + plain.size()) % 95; };
            return CodesToStoredText(
                ScrambleCodes(CodesOf(plain.left(40)),
                              KeyNumber(QString::fromLatin1(wini::kScrambleKey)), filler));
        }
        default:
            // A file name: no blanks or quotes at either end, which a profile value loses.
            plain.truncate(60);
            while (!plain.isEmpty() && QStringLiteral(" \t\"'").contains(plain.back()))
                plain.chop(1);
            while (!plain.isEmpty() && QStringLiteral(" \t\"'").contains(plain.front()))
                plain.remove(0, 1);
            return plain;
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QString path = fuzz::ScratchFolder() + QStringLiteral("/Zrwysc.ini");
    const QByteArray original(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            return 0;
        file.write(original);
    }
    FUZZ_CHECK(IniFileExists(path));

    QString before[3];
    for (int k = 0; k < 3; ++k) {
        before[k] = ReadIni(kSection, kKeys[k], path);
        FUZZ_CHECK(cp936::Encode(before[k]).size() <= 254);
    }

    const int key = static_cast<int>(size % 3);
    const QString value = ValueFor(key, cp936::Decode(original).section(QLatin1Char('\n'), -1));
    if (cp936::Encode(value).size() > 254)
        return 0;
    FUZZ_CHECK(WriteIni(kSection, kKeys[key], value, path));
    const QByteArray written = ReadAll(path);
    FUZZ_CHECK(OnlyTheEntryChanged(LinesOf(original), LinesOf(written),
                                   cp936::Encode(kKeys[key]) + '=' + cp936::Encode(value)));
    for (int k = 0; k < 3; ++k) {
        const QString now = ReadIni(kSection, kKeys[k], path);
        FUZZ_CHECK(k == key ? now == value : now == before[k]);
    }
    return 0;
}
