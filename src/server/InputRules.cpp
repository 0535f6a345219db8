#include "server/InputRules.h"

#include <QChar>

namespace server {
namespace {

bool AllDigits(QStringView text) {
    for (QChar c : text) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return false;
    }
    return true;
}

bool PageNameOf(QStringView name, bool capitals) {
    if (name.isEmpty() || name.size() > 30)
        return false;
    for (QChar c : name) {
        const char16_t u = c.unicode();
        if (!((u >= u'a' && u <= u'z') || (u >= u'0' && u <= u'9') ||
              (capitals && u >= u'A' && u <= u'Z'))) {
            return false;
        }
    }
    return true;
}

}  // namespace

bool IsValidPageName(QStringView name) {
    return PageNameOf(name, false);
}

bool IsStoredPageName(QStringView name) {
    return PageNameOf(name, true);
}

bool IsAccountName(QStringView text) {
    return text.size() >= 5 && text.size() <= 10 && AllDigits(text);
}

bool IsPhoneNumber(QStringView text) {
    return text.size() == 11 && AllDigits(text);
}

bool HasReplySeparator(QStringView text) {
    return text.contains(u'い') || text.contains(u'ゼ');
}

bool HasControlCharacter(QStringView text) {
    for (QChar c : text) {
        const QChar::Category category = c.category();
        if (category == QChar::Other_Control || category == QChar::Separator_Line ||
            category == QChar::Separator_Paragraph) {
            return true;
        }
    }
    return false;
}

QString Printable(QStringView text) {
    const auto hex = [](char16_t unit, int digits) {
        return QString::number(unit, 16).toUpper().rightJustified(digits, QLatin1Char('0'));
    };
    QString out;
    out.reserve(text.size());
    for (QChar c : text) {
        const char16_t u = c.unicode();
        const QChar::Category category = c.category();
        if (u == u'\n') {
            out += QLatin1String("\\n");
        } else if (u == u'\r') {
            out += QLatin1String("\\r");
        } else if (category == QChar::Other_Control) {
            out += QLatin1String("\\x") + hex(u, 2);
        } else if (category == QChar::Other_Format || category == QChar::Separator_Line ||
                   category == QChar::Separator_Paragraph) {
            // Line separators, and the marks that turn text around or hide it.
            out += QLatin1String("\\u") + hex(u, 4);
        } else {
            out += c;
        }
    }
    return out;
}

bool IsStorable(QStringView text) {
    return !HasReplySeparator(text) && !HasControlCharacter(text);
}

}  // namespace server
