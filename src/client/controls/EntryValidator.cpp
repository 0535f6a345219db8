#include "client/controls/EntryValidator.h"

#include <QLineEdit>

#include <algorithm>

namespace controls {

QString DigitsOnly(QStringView inserted) {
    QString out;
    for (QChar c : inserted) {
        if (c >= QLatin1Char('0') && c <= QLatin1Char('9'))
            out.append(c);
    }
    return out;
}

QString SmallLettersAndDigits(QStringView inserted) {
    QString out;
    for (QChar c : inserted) {
        const char16_t u = c.unicode();
        if ((u >= '0' && u <= '9') || (u >= 'a' && u <= 'z'))
            out.append(c);
        else if (u >= 'A' && u <= 'Z')
            out.append(QChar(char16_t(u - 'A' + 'a')));
    }
    return out;
}

// The edit is seen as the text it replaced: what the new text shares with the last one at its
// start and at its end stayed, the part between was inserted (typed, committed, pasted or
// dropped over whatever was selected).
QValidator::State EntryValidator::validate(QString& input, int& position) const {
    if (assigning)
        return Acceptable;
    if (filter) {
        const qsizetype most = std::min(input.size(), last_.size());
        qsizetype head = 0;
        while (head < most && input[head] == last_[head])
            ++head;
        qsizetype tail = 0;
        while (tail < most - head &&
               input[input.size() - 1 - tail] == last_[last_.size() - 1 - tail])
            ++tail;
        const qsizetype insertedLength = input.size() - head - tail;
        if (insertedLength > 0) {
            const QString kept = filter(QStringView(input).mid(head, insertedLength));
            if (kept.size() != insertedLength ||
                kept != QStringView(input).mid(head, insertedLength)) {
                const qsizetype insertedEnd = head + insertedLength;
                input = input.left(head) + kept + input.right(tail);
                if (position >= insertedEnd)
                    position -= int(insertedLength - kept.size());
                else if (position > head)
                    position = int(head + std::min<qsizetype>(position - head, kept.size()));
            }
        }
    }
    if (maxLength > 0 && input.size() > maxLength && input.size() > last_.size())
        return Invalid;
    return Acceptable;
}

EntryValidator* InstallEntryValidator(QLineEdit* edit, TextFilter filter, int maxLength) {
    auto* validator = new EntryValidator(edit);
    validator->filter = std::move(filter);
    validator->maxLength = maxLength;
    validator->TextChanged(edit->text());
    edit->setValidator(validator);
    QObject::connect(edit, &QLineEdit::textChanged, validator,
                     [validator](const QString& text) { validator->TextChanged(text); });
    return validator;
}

void AssignText(QLineEdit* edit, const QString& text) {
    auto* writable = dynamic_cast<EntryValidator*>(const_cast<QValidator*>(edit->validator()));
    if (writable)
        writable->assigning = true;
    edit->setText(text);
    if (writable)
        writable->assigning = false;
}

}  // namespace controls
