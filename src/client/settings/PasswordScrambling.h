#pragma once
// The reversible shuffle the remembered password is stored with. It is not encryption: it
// only keeps the password from being readable at a glance in the settings file.
//
// Scrambling works on code-page-936 character codes. Every group of six characters becomes
// ten: the six shifted by amounts derived from the key, with four random fillers between them.

#include <QString>

#include <functional>
#include <vector>

namespace scrambling {

// Floor of (sum of the key's character codes) * 0.1 / 6; 13 for "ZuKoMarn".
int KeyNumber(const QString& key);

// The shuffle on codes. `filler` draws a code from 32 to 126; by default a random one.
using FillerSource = std::function<int()>;
std::vector<int> ScrambleCodes(const std::vector<int>& codes, int keyNumber,
                               const FillerSource& filler = {});
std::vector<int> UnscrambleCodes(const std::vector<int>& codes, int keyNumber);

// The stored text form of a code list. A shifted code need not be a character that survives
// the settings file (a control code, a lone lead byte, a code outside the table), and blanks
// and quotes at either end of a profile value are lost on reading. Such codes are written as
// "\{code}" in decimal, and a backslash as "\\"; everything else is its own character.
QString CodesToStoredText(const std::vector<int>& codes);
std::vector<int> StoredTextToCodes(const QString& text);

std::vector<int> CodesOf(const QString& text);
QString TextOf(const std::vector<int>& codes);  // codes that are no character give U+FFFD

}  // namespace scrambling

// The stored form of a password; UnscramblePassword gives the password back.
QString ScramblePassword(const QString& text, const QString& key);
QString UnscramblePassword(const QString& text, const QString& key);
