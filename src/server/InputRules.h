#pragma once
// What the service takes as a value worth storing, one rule each. Account names are QQ
// numbers, phone numbers mobile numbers, page names what the client's name boxes produce;
// no stored value holds a control character or the reply format's separators.

#include <QString>
#include <QStringView>

namespace server {

// 5 to 10 ASCII digits.
bool IsAccountName(QStringView text);
// 11 ASCII digits.
bool IsPhoneNumber(QStringView text);
// 1 to 30 small ASCII letters and digits: nothing else can name a page, so no name can reach
// outside the page store, and no two names differ only in letter case.
bool IsValidPageName(QStringView name);
// What may name a page stored before the rule above: 1 to 30 ASCII letters and digits. Such
// a page is still served and can be removed, but no new one is written.
bool IsStoredPageName(QStringView name);

// True when the text holds "い" or "ゼ", which would break the reply format.
bool HasReplySeparator(QStringView text);
// True when the text holds a control character (NUL, tab, newline, ESC, DEL, the C1 range)
// or a line or paragraph separator.
bool HasControlCharacter(QStringView text);
// Neither of the two above: a value that can be stored and sent back in a reply.
bool IsStorable(QStringView text);

// The text with every character that is not shown as itself written as an escape ("\n",
// "\x1b", "\u202e"): for logs and the operator's terminal, where a value must stay one
// field of one line and must not act on the screen.
QString Printable(QStringView text);

}  // namespace server
