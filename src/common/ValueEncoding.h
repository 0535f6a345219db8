#pragma once
// The value encoding of gateway requests: every value travels as the code-page-936 codes of
// its UTF-16 units in decimal, each followed by "A", the last "A" removed. "用户名" is sent as
// "-11325A-17497A-15365", the number 1 as "49". The empty text encodes to the empty text.

#include <QByteArray>
#include <QString>
#include <QStringView>

#include <optional>

// The encoding of a text (name kept from the gateway module of the client).
QString EncodeValue(QStringView value);
// A number is encoded as the text of its decimal digits.
QString EncodeValue(qint64 number);

// The same encoding appended to a byte buffer; the request body is built this way.
void AppendEncodedValue(QByteArray& out, QStringView value);

// The reverse, as the gateway does it: each number becomes one byte (0..255) or two bytes
// (a negative n gives the bytes of n + 65536). Anything else in the text (an empty number,
// a stray character, a number out of range, "-0") makes the whole value malformed.
//
// With maxBytes >= 0 the decoding stops as soon as the value passes that many bytes, so that a
// huge value costs no more than its allowed length; it is then nothing, and *tooLong is set.
std::optional<QByteArray> DecodeValueBytes(QByteArrayView encoded, qsizetype maxBytes = -1,
                                           bool* tooLong = nullptr);
// DecodeValueBytes read as code-page-936 text; with maxChars >= 0, of at most that many
// characters.
std::optional<QString> DecodeValue(QByteArrayView encoded, qsizetype maxChars = -1,
                                   bool* tooLong = nullptr);
