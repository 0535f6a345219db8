#pragma once
// EntryValidator: what a user may put into a line edit, however the text comes in. Typing,
// text committed by an input method, a paste and a drop all end in the edit's validator, so
// the rules live here rather than in a key handler, which sees typed keys only.
//
// Two rules, both for the user's edits only (text the program assigns passes unchanged):
// - a filter over the inserted characters, which may drop or change each of them;
// - a maximum length: an edit that makes the text longer than the limit is refused, while a
//   text assigned longer than the limit can still be shortened.

#include <QString>
#include <QStringView>
#include <QValidator>

#include <functional>

class QLineEdit;

namespace controls {

// Maps the characters the user inserted to what the box keeps.
using TextFilter = std::function<QString(QStringView inserted)>;

// The digits 0 to 9 of what was inserted; everything else is dropped.
QString DigitsOnly(QStringView inserted);
// ASCII letters turned small, and digits; everything else is dropped.
QString SmallLettersAndDigits(QStringView inserted);

class EntryValidator : public QValidator {
public:
    using QValidator::QValidator;

    State validate(QString& input, int& position) const override;

    // Call whenever the edit's text has changed, so the next edit is seen against it.
    void TextChanged(const QString& text) { last_ = text; }

    TextFilter filter;
    int maxLength = 0;  // 0: no limit
    // Set while the program assigns a text: nothing is checked.
    bool assigning = false;

private:
    QString last_;
};

// Puts an EntryValidator with the filter and limit on a plain line edit and keeps it told of
// the edit's text. Owned by the edit.
EntryValidator* InstallEntryValidator(QLineEdit* edit, TextFilter filter, int maxLength);
// Sets the edit's text as the program's, past the filter.
void AssignText(QLineEdit* edit, const QString& text);

}  // namespace controls
