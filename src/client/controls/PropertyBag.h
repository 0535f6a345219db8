#pragma once
// Stored property sets: the named, typed values a window keeps for each of its custom
// controls and hands to the control when the window is built.
//
// A bag is an ordered list of (key, value); a value is text, an integer, a boolean, a colour
// (OLE value), a font or a picture. Its JSON text form is in PropertyJson.h; the reader and
// writer that controls walk their keys with are in PropertyReadWrite.h.

#include <QByteArray>
#include <QFont>
#include <QJsonArray>
#include <QPixmap>
#include <QString>
#include <QStringList>

#include <optional>
#include <variant>
#include <vector>

namespace controls {

struct OleColorValue {
    quint32 value = 0;
    bool operator==(const OleColorValue&) const = default;
};

// A font as stored: the font and, when the set names one, its character set.
struct StoredFont {
    QFont font;
    std::optional<int> charset;
};

// A font of the given face and point size, nothing else set.
QFont MakeFont(const QString& family, double pointSize, bool bold = false);

using PropertyValue = std::variant<QString, qint64, bool, OleColorValue, StoredFont, QPixmap>;

class PropertyBag {
public:
    struct Entry {
        QString key;
        PropertyValue value;
    };

    // Replaces the value of an existing key (same letters, same case) in place, or appends.
    void Set(const QString& key, PropertyValue value);
    void SetText(const QString& key, const QString& value) { Set(key, value); }
    void SetInteger(const QString& key, qint64 value) { Set(key, value); }
    void SetBoolean(const QString& key, bool value) { Set(key, value); }
    void SetColor(const QString& key, quint32 ole) { Set(key, OleColorValue{ole}); }
    void SetFont(const QString& key, const QFont& font, std::optional<int> charset = {}) {
        Set(key, StoredFont{font, charset});
    }
    void SetPicture(const QString& key, const QPixmap& picture) { Set(key, picture); }

    // The first entry whose key matches, or nullptr.
    const PropertyValue* Find(const QString& key, Qt::CaseSensitivity cs = Qt::CaseSensitive) const;
    bool Contains(const QString& key, Qt::CaseSensitivity cs = Qt::CaseSensitive) const {
        return Find(key, cs) != nullptr;
    }
    QStringList Keys() const;
    const std::vector<Entry>& Entries() const { return entries_; }
    bool IsEmpty() const { return entries_.empty(); }

    // The JSON text form (PropertyJson.h, defined in PropertyJson.cpp). Nothing (and a reason
    // in *error) when the text is not a well-formed set.
    QJsonArray ToJsonArray() const;
    QByteArray ToJson() const;
    static std::optional<PropertyBag> FromJsonArray(const QJsonArray& array,
                                                    QString* error = nullptr);
    static std::optional<PropertyBag> FromJson(const QByteArray& json, QString* error = nullptr);

private:
    std::vector<Entry> entries_;
};

// Value conversions used when a set is read; nothing when the value cannot be taken as that
// type (a text that is no number, a picture where a colour is expected, …).
std::optional<QString> AsText(const PropertyValue& value);
std::optional<qint64> AsInteger(const PropertyValue& value);
std::optional<bool> AsBoolean(const PropertyValue& value);
std::optional<quint32> AsColor(const PropertyValue& value);
std::optional<StoredFont> AsFont(const PropertyValue& value);
std::optional<QPixmap> AsPicture(const PropertyValue& value);
// "&H8080FF", "&H00FFFF80&", "#RRGGBB", "0x80000012" or decimal digits.
std::optional<quint32> ParseColorText(const QString& text);
// "&H00BBGGRR&", the platform's hexadecimal form of an OLE colour.
QString ColorText(quint32 ole);
// "&H…" (hexadecimal, at most eight digits, an optional closing "&") or decimal digits.
std::optional<qint64> ParseIntegerText(const QString& text);
// A picture from a resource or file path or from a text of this prefix and the PNG bytes in
// base64; the empty picture when it cannot be loaded.
inline constexpr char kPictureDataPrefix[] = "data:image/png;base64,";
QPixmap LoadPicture(const QString& text);

// Two pictures are the same picture object: both empty, or copies of one pixmap.
qint64 PictureHandle(const QPixmap& picture);

}  // namespace controls
