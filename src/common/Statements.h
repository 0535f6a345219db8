#pragma once
// Every statement the client sends to the gateway, built in one place.
//
// A statement is a fixed text with values between single quotes. A single quote inside a
// value is doubled, so that no value can end early. The service recognises a statement by its
// shape (the text with each quoted value taken out) against the same catalogue, and then runs
// a prepared statement of its own with the values bound: no received text is run as SQL.

#include <QString>
#include <QStringList>
#include <QStringView>

#include <initializer_list>
#include <optional>
#include <span>

namespace statements {

enum class Kind {
    SelectSystemSettings,  // settings row, read by position
    SelectAdvertImages,    // picture address of every advert
    SelectAdvertLinks,     // target address of every advert
    MarkOffline,           // exit: user
    SignInLookup,          // sign-in: user, password (both trimmed)
    MarkOnline,            // after sign-in: server time, user
    RegistrationLookup,    // registration: user (trimmed)
    RegistrationInsert,    // registration: user, password, phone, server time
    PageNameLookup,        // upload: page name
    ClaimPageName,         // upload: page name, page style, user
    RecordUpload,          // upload: page style, server time, page name
    RenameLookup,          // name change: new name (trimmed)
    RenamePageName,        // name change: new name, old name
};

struct Shape {
    Kind kind;
    const char* name;  // stable English name, for logs
    // The statement with every value written as '{}'.
    const char16_t* text;
    int values;
    bool query;       // sent with code 1 and answered with rows; otherwise code 2
    int accountSlot;  // the value that names the account the statement is about; -1: none
};

// All shapes, one per kind, in the order of Kind.
std::span<const Shape> Catalogue();
const Shape& ShapeOf(Kind kind);

// Fills the shape's slots in order with the values, each between single quotes with its own
// quotes doubled. The number of values must match the shape.
QString Build(Kind kind, std::initializer_list<QStringView> values);

// Takes a received statement apart: its values (quotes undone) and the shape they leave.
// Returns nothing when a quote is left open or the shape is not in the catalogue.
struct Recognised {
    Kind kind;
    QStringList values;
};
std::optional<Recognised> Recognise(QStringView statement);

// The text with its quoted values replaced by '{}' (for logs of refused statements);
// nothing when a quote is left open.
std::optional<QString> ShapeText(QStringView statement, QStringList* values = nullptr);

// The longest text a statement of the catalogue can have when none of its values is longer
// than valueChars: its shape, and each value with every character a doubled quote.
qsizetype LongestStatement(qsizetype valueChars);

// The text without the blanks (U+0020) at either end; tabs and other spaces stay. The lookups
// of sign-in, registration and name change send their values so.
QString TrimSpaces(QStringView text);

// The statements by name, as the windows send them.
QString SelectSystemSettings();
QString SelectAdvertImages();
QString SelectAdvertLinks();
QString MarkOffline(QStringView user);
QString SignInLookup(QStringView user, QStringView password);
QString MarkOnline(QStringView serverTime, QStringView user);
QString RegistrationLookup(QStringView user);
QString RegistrationInsert(QStringView user, QStringView password, QStringView phone,
                           QStringView serverTime);
QString PageNameLookup(QStringView pageName);
QString ClaimPageName(QStringView pageName, QStringView pageStyle, QStringView user);
QString RecordUpload(QStringView pageStyle, QStringView serverTime, QStringView pageName);
QString RenameLookup(QStringView newName);
QString RenamePageName(QStringView newName, QStringView oldName);

}  // namespace statements
