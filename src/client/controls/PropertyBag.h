#pragma once
// Stored property sets: the named, typed values a window keeps for each of its custom
// controls and hands to the control when the window is built.
//
// A bag is an ordered list of (key, value); a value is text, an integer, a boolean, a colour
// (OLE value), a font or a picture. Its text form is JSON: an array of entries in key order,
//   [{"key": "Caption", "text": "登 陆"}, {"key": "FontSize", "integer": 9},
//    {"key": "Enabled", "boolean": true}, {"key": "BackColorNormal", "color": "#F2F1EF"},
//    {"key": "Font", "font": {"name": "Verdana", "size": 9, "bold": false, "charset": 134}},
//    {"key": "Picture", "picture": ":/login/close.png"}]
// Colours are written "&H00BBGGRR&" (the platform's hexadecimal form, OLE order) and also read
// as "#RRGGBB", "0x…" or a number; pictures are read from a resource or file path or from a
// "data:image/png;base64," text, and written in the latter form ("" is no picture).

#include <QByteArray>
#include <QFont>
#include <QJsonArray>
#include <QPixmap>
#include <QString>
#include <QStringList>

#include <functional>
#include <map>
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

    QJsonArray ToJsonArray() const;
    QByteArray ToJson() const;
    // Nothing (and a reason in *error) when the text is not a well-formed set.
    static std::optional<PropertyBag> FromJsonArray(const QJsonArray& array,
                                                    QString* error = nullptr);
    static std::optional<PropertyBag> FromJson(const QByteArray& json, QString* error = nullptr);

private:
    std::vector<Entry> entries_;
};

// The sets of a window's controls, one JSON object: {"N_Shape2": [...], "N_TextBox1": [...]}.
std::optional<std::map<QString, PropertyBag>> ReadPropertySets(const QByteArray& json,
                                                               QString* error = nullptr);

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
QString ColorText(quint32 ole);

// Reads a control's keys in the control's order. Each call looks its key up (a missing key
// gives the default) and hands the value to `apply`; after the first key whose value cannot
// be read, nothing more is applied, so the properties after it keep their values.
class PropertyReader {
public:
    PropertyReader(const PropertyBag& bag, Qt::CaseSensitivity keyCase)
        : bag_(bag), keyCase_(keyCase) {}

    void Text(const QString& key, const QString& def, const std::function<void(QString)>& apply);
    void Integer(const QString& key, qint64 def, qint64 min, qint64 max,
                 const std::function<void(qint64)>& apply);
    void Boolean(const QString& key, bool def, const std::function<void(bool)>& apply);
    void Color(const QString& key, quint32 def, const std::function<void(quint32)>& apply);
    void Font(const QString& key, const StoredFont& def,
              const std::function<void(const StoredFont&)>& apply);
    // A missing picture is the empty picture.
    void Picture(const QString& key, const std::function<void(const QPixmap&)>& apply);

    bool Ok() const { return failedKey_.isEmpty(); }
    const QString& FailedKey() const { return failedKey_; }

private:
    const PropertyBag& bag_;
    Qt::CaseSensitivity keyCase_;
    QString failedKey_;
};

// Writes a control's keys in the control's order; the overloads with a default leave the key
// out when the value equals it.
class PropertyWriter {
public:
    explicit PropertyWriter(PropertyBag& bag) : bag_(bag) {}

    void Text(const QString& key, const QString& value) { bag_.SetText(key, value); }
    void Text(const QString& key, const QString& value, const QString& def);
    void Integer(const QString& key, qint64 value) { bag_.SetInteger(key, value); }
    void Integer(const QString& key, qint64 value, qint64 def);
    void Boolean(const QString& key, bool value) { bag_.SetBoolean(key, value); }
    void Boolean(const QString& key, bool value, bool def);
    void Color(const QString& key, quint32 value) { bag_.SetColor(key, value); }
    void Color(const QString& key, quint32 value, quint32 def);
    void Font(const QString& key, const QFont& value, std::optional<int> charset = {}) {
        bag_.SetFont(key, value, charset);
    }
    // Always written, the empty picture included.
    void Picture(const QString& key, const QPixmap& value) { bag_.SetPicture(key, value); }
    // Left out when empty.
    void PictureIfAny(const QString& key, const QPixmap& value);

private:
    PropertyBag& bag_;
};

// Two pictures are the same picture object: both empty, or copies of one pixmap.
qint64 PictureHandle(const QPixmap& picture);

}  // namespace controls
