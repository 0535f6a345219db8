#pragma once
// Code page 936 (the Windows table of GBK): the character set of every byte that crosses the
// wire, the settings file, the preview file and the page store.
//
// The per-character tables are built once from Qt's "GBK" converter (ICU's windows-936 table,
// where € is the single byte 0x80) and then used directly: converting one character at a time
// through QStringEncoder is far too slow for whole pages.

#include <QByteArray>
#include <QString>
#include <QStringView>

namespace cp936 {

// The code of one UTF-16 unit as the request encoding and the password scrambling use it:
// the byte value of a one-byte character, 256 * lead + trail - 65536 (negative) for a
// two-byte character, and 63 ("?") for a unit the table cannot represent, each half of a
// surrogate pair included.
int CodeOf(char16_t unit);

// Text to GBK bytes, one code per UTF-16 unit (an unrepresentable unit becomes "?").
QByteArray Encode(QStringView text);

// GBK bytes to text. A byte sequence that is not a character becomes U+FFFD: a lead byte
// followed by a trail byte that names no character (both bytes consumed), or a lead byte
// without a trail byte (the lead byte alone).
QString Decode(QByteArrayView bytes);

// True when the code is a whole character of the table that decodes to a single unit:
// 0..127, 0x80, 0xFF, or a two-byte code that names a character.
bool IsCharacterCode(int code);

// The character of a code for which IsCharacterCode is true, otherwise U+FFFD.
QChar CharacterOfCode(int code);

// The one or two bytes of a code (0..255 one byte, -32768..-1 two bytes); no check that
// they form a character.
void AppendCodeBytes(QByteArray& out, int code);

}  // namespace cp936
