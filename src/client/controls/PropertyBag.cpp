#include "PropertyBag.h"

#include "OleColor.h"

#include <QBuffer>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonValue>

#include <cmath>
#include <limits>

namespace controls {
namespace {

const QString kDataPrefix = QStringLiteral("data:image/png;base64,");

std::optional<qint64> ParseIntegerText(const QString& raw) {
    const QString text = raw.trimmed();
    bool ok = false;
    if (text.startsWith(QLatin1String("&H"), Qt::CaseInsensitive)) {
        QString digits = text.mid(2);
        if (digits.endsWith(QLatin1Char('&')))
            digits.chop(1);
        if (digits.isEmpty() || digits.size() > 8)
            return std::nullopt;
        const qint64 value = qint64(digits.toULongLong(&ok, 16));
        return ok ? std::optional<qint64>(value) : std::nullopt;
    }
    const qint64 value = text.toLongLong(&ok, 10);
    return ok ? std::optional<qint64>(value) : std::nullopt;
}

QPixmap LoadPicture(const QString& text) {
    QPixmap picture;
    if (text.startsWith(kDataPrefix)) {
        picture.loadFromData(QByteArray::fromBase64(text.mid(kDataPrefix.size()).toLatin1()),
                             "PNG");
    } else {
        picture.load(text);
    }
    return picture;
}

QString PictureText(const QPixmap& picture) {
    if (picture.isNull())
        return {};
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    picture.save(&buffer, "PNG");
    return kDataPrefix + QString::fromLatin1(png.toBase64());
}

QJsonObject FontObject(const StoredFont& stored) {
    QJsonObject object{
        {"name", stored.font.family()},         {"size", stored.font.pointSizeF()},
        {"bold", stored.font.bold()},           {"italic", stored.font.italic()},
        {"underline", stored.font.underline()}, {"strikeout", stored.font.strikeOut()}};
    if (stored.charset)
        object.insert("charset", *stored.charset);
    return object;
}

std::optional<StoredFont> FontFromJson(const QJsonValue& json) {
    if (json.isString())
        return StoredFont{QFont(json.toString()), std::nullopt};
    if (!json.isObject())
        return std::nullopt;
    const QJsonObject object = json.toObject();
    if (!object.value("name").isString())
        return std::nullopt;
    StoredFont stored{QFont(object.value("name").toString()), std::nullopt};
    if (object.contains("size")) {
        if (!object.value("size").isDouble() || object.value("size").toDouble() <= 0)
            return std::nullopt;
        stored.font.setPointSizeF(object.value("size").toDouble());
    }
    for (const char* flag : {"bold", "italic", "underline", "strikeout"}) {
        if (object.contains(flag) && !object.value(flag).isBool())
            return std::nullopt;
    }
    stored.font.setBold(object.value("bold").toBool());
    stored.font.setItalic(object.value("italic").toBool());
    stored.font.setUnderline(object.value("underline").toBool());
    stored.font.setStrikeOut(object.value("strikeout").toBool());
    if (object.contains("charset")) {
        if (!object.value("charset").isDouble())
            return std::nullopt;
        stored.charset = object.value("charset").toInt();
    }
    return stored;
}

std::optional<PropertyValue> ValueFromJson(const QJsonObject& entry, QString* error) {
    const auto fail = [error](const QString& why) -> std::optional<PropertyValue> {
        if (error)
            *error = why;
        return std::nullopt;
    };
    const QString key = entry.value("key").toString();
    if (entry.contains("text")) {
        if (!entry.value("text").isString())
            return fail(key + ": text expected");
        return PropertyValue(entry.value("text").toString());
    }
    if (entry.contains("integer")) {
        const QJsonValue v = entry.value("integer");
        if (v.isDouble()) {
            const double d = v.toDouble();
            if (d != std::floor(d))
                return fail(key + ": whole number expected");
            return PropertyValue(qint64(d));
        }
        if (v.isString()) {
            if (const auto parsed = ParseIntegerText(v.toString()))
                return PropertyValue(*parsed);
        }
        return fail(key + ": integer expected");
    }
    if (entry.contains("boolean")) {
        const QJsonValue v = entry.value("boolean");
        if (v.isBool())
            return PropertyValue(v.toBool());
        if (v.isString()) {
            if (const auto b = AsBoolean(PropertyValue(v.toString())))
                return PropertyValue(*b);
        }
        return fail(key + ": boolean expected");
    }
    if (entry.contains("color")) {
        const QJsonValue v = entry.value("color");
        if (v.isDouble() && v.toDouble() >= 0 && v.toDouble() <= 0xFFFFFFFFu &&
            v.toDouble() == std::floor(v.toDouble()))
            return PropertyValue(OleColorValue{quint32(v.toDouble())});
        if (v.isString()) {
            if (const auto c = ParseColorText(v.toString()))
                return PropertyValue(OleColorValue{*c});
        }
        return fail(key + ": colour expected");
    }
    if (entry.contains("font")) {
        if (const auto font = FontFromJson(entry.value("font")))
            return PropertyValue(*font);
        return fail(key + ": font expected");
    }
    if (entry.contains("picture")) {
        if (!entry.value("picture").isString())
            return fail(key + ": picture expected");
        const QString text = entry.value("picture").toString();
        if (text.isEmpty())
            return PropertyValue(QPixmap());
        const QPixmap picture = LoadPicture(text);
        if (picture.isNull())
            return fail(key + ": cannot load the picture");
        return PropertyValue(picture);
    }
    return fail(key + ": no value");
}

}  // namespace

QFont MakeFont(const QString& family, double pointSize, bool bold) {
    QFont font(family);
    font.setPointSizeF(pointSize);
    font.setBold(bold);
    return font;
}

void PropertyBag::Set(const QString& key, PropertyValue value) {
    for (Entry& entry : entries_) {
        if (entry.key == key) {
            entry.value = std::move(value);
            return;
        }
    }
    entries_.push_back({key, std::move(value)});
}

const PropertyValue* PropertyBag::Find(const QString& key, Qt::CaseSensitivity cs) const {
    for (const Entry& entry : entries_) {
        if (entry.key.compare(key, cs) == 0)
            return &entry.value;
    }
    return nullptr;
}

QStringList PropertyBag::Keys() const {
    QStringList keys;
    for (const Entry& entry : entries_)
        keys << entry.key;
    return keys;
}

QJsonArray PropertyBag::ToJsonArray() const {
    QJsonArray array;
    for (const Entry& entry : entries_) {
        QJsonObject object{{"key", entry.key}};
        std::visit(
            [&object](const auto& v) {
                using T = std::decay_t<decltype(v)>;
                if constexpr (std::is_same_v<T, QString>) {
                    object.insert("text", v);
                } else if constexpr (std::is_same_v<T, qint64>) {
                    object.insert("integer", v);
                } else if constexpr (std::is_same_v<T, bool>) {
                    object.insert("boolean", v);
                } else if constexpr (std::is_same_v<T, OleColorValue>) {
                    object.insert("color", ColorText(v.value));
                } else if constexpr (std::is_same_v<T, StoredFont>) {
                    object.insert("font", FontObject(v));
                } else {
                    object.insert("picture", PictureText(v));
                }
            },
            entry.value);
        array.append(object);
    }
    return array;
}

QByteArray PropertyBag::ToJson() const {
    return QJsonDocument(ToJsonArray()).toJson();
}

std::optional<PropertyBag> PropertyBag::FromJsonArray(const QJsonArray& array, QString* error) {
    PropertyBag bag;
    for (const QJsonValue& item : array) {
        if (!item.isObject() || !item.toObject().value("key").isString()) {
            if (error)
                *error = QStringLiteral("every entry needs a key");
            return std::nullopt;
        }
        const QJsonObject entry = item.toObject();
        auto value = ValueFromJson(entry, error);
        if (!value)
            return std::nullopt;
        bag.Set(entry.value("key").toString(), std::move(*value));
    }
    return bag;
}

std::optional<PropertyBag> PropertyBag::FromJson(const QByteArray& json, QString* error) {
    QJsonParseError parseError;
    const QJsonDocument document = QJsonDocument::fromJson(json, &parseError);
    if (!document.isArray()) {
        if (error)
            *error = parseError.error != QJsonParseError::NoError
                         ? parseError.errorString()
                         : QStringLiteral("array expected");
        return std::nullopt;
    }
    return FromJsonArray(document.array(), error);
}

std::optional<std::map<QString, PropertyBag>> ReadPropertySets(const QByteArray& json,
                                                               QString* error) {
    QJsonParseError parseError;
    const QJsonDocument document = QJsonDocument::fromJson(json, &parseError);
    if (!document.isObject()) {
        if (error)
            *error = parseError.error != QJsonParseError::NoError
                         ? parseError.errorString()
                         : QStringLiteral("object expected");
        return std::nullopt;
    }
    std::map<QString, PropertyBag> sets;
    const QJsonObject object = document.object();
    for (auto it = object.begin(); it != object.end(); ++it) {
        if (!it.value().isArray()) {
            if (error)
                *error = it.key() + QStringLiteral(": array expected");
            return std::nullopt;
        }
        QString why;
        auto bag = PropertyBag::FromJsonArray(it.value().toArray(), &why);
        if (!bag) {
            if (error)
                *error = it.key() + QStringLiteral(": ") + why;
            return std::nullopt;
        }
        sets.emplace(it.key(), std::move(*bag));
    }
    return sets;
}

std::optional<QString> AsText(const PropertyValue& value) {
    if (const auto* text = std::get_if<QString>(&value))
        return *text;
    if (const auto* number = std::get_if<qint64>(&value))
        return QString::number(*number);
    if (const auto* flag = std::get_if<bool>(&value))
        return *flag ? QStringLiteral("True") : QStringLiteral("False");
    return std::nullopt;
}

std::optional<qint64> AsInteger(const PropertyValue& value) {
    if (const auto* number = std::get_if<qint64>(&value))
        return *number;
    // The platform's True is -1.
    if (const auto* flag = std::get_if<bool>(&value))
        return *flag ? -1 : 0;
    if (const auto* color = std::get_if<OleColorValue>(&value))
        return qint64(color->value);
    if (const auto* text = std::get_if<QString>(&value))
        return ParseIntegerText(*text);
    return std::nullopt;
}

std::optional<bool> AsBoolean(const PropertyValue& value) {
    if (const auto* flag = std::get_if<bool>(&value))
        return *flag;
    if (const auto* number = std::get_if<qint64>(&value))
        return *number != 0;
    if (const auto* text = std::get_if<QString>(&value)) {
        const QString t = text->trimmed();
        if (t.compare(QLatin1String("True"), Qt::CaseInsensitive) == 0)
            return true;
        if (t.compare(QLatin1String("False"), Qt::CaseInsensitive) == 0)
            return false;
        if (const auto number = ParseIntegerText(t))
            return *number != 0;
    }
    return std::nullopt;
}

std::optional<quint32> AsColor(const PropertyValue& value) {
    if (const auto* color = std::get_if<OleColorValue>(&value))
        return color->value;
    if (const auto* number = std::get_if<qint64>(&value)) {
        if (*number < 0 || *number > qint64(std::numeric_limits<quint32>::max()))
            return std::nullopt;
        return quint32(*number);
    }
    if (const auto* text = std::get_if<QString>(&value))
        return ParseColorText(*text);
    return std::nullopt;
}

std::optional<StoredFont> AsFont(const PropertyValue& value) {
    if (const auto* font = std::get_if<StoredFont>(&value))
        return *font;
    if (const auto* text = std::get_if<QString>(&value)) {
        if (text->isEmpty())
            return std::nullopt;
        return StoredFont{QFont(*text), std::nullopt};
    }
    return std::nullopt;
}

std::optional<QPixmap> AsPicture(const PropertyValue& value) {
    if (const auto* picture = std::get_if<QPixmap>(&value))
        return *picture;
    if (const auto* text = std::get_if<QString>(&value)) {
        if (text->isEmpty())
            return QPixmap();
        QPixmap picture = LoadPicture(*text);
        if (picture.isNull())
            return std::nullopt;
        return picture;
    }
    return std::nullopt;
}

std::optional<quint32> ParseColorText(const QString& raw) {
    const QString text = raw.trimmed();
    bool ok = false;
    if (text.startsWith(QLatin1Char('#'))) {
        if (text.size() != 7)
            return std::nullopt;
        const uint rgb = text.mid(1).toUInt(&ok, 16);
        return ok ? std::optional<quint32>(OleFromRgb(rgb)) : std::nullopt;
    }
    if (text.startsWith(QLatin1String("0x"), Qt::CaseInsensitive)) {
        const QString digits = text.mid(2);
        if (digits.isEmpty() || digits.size() > 8)
            return std::nullopt;
        const uint value = digits.toUInt(&ok, 16);
        return ok ? std::optional<quint32>(value) : std::nullopt;
    }
    const auto number = ParseIntegerText(text);
    if (!number || *number < 0 || *number > qint64(std::numeric_limits<quint32>::max()))
        return std::nullopt;
    return quint32(*number);
}

QString ColorText(quint32 ole) {
    return QStringLiteral("&H") +
           QString::number(ole, 16).rightJustified(8, QLatin1Char('0')).toUpper() +
           QStringLiteral("&");
}

template <typename T, typename Convert, typename Apply>
static void ReadKey(const PropertyBag& bag, Qt::CaseSensitivity keyCase, QString& failedKey,
                    const QString& key, const T& def, Convert convert, const Apply& apply) {
    if (!failedKey.isEmpty())
        return;
    const PropertyValue* value = bag.Find(key, keyCase);
    if (value == nullptr) {
        apply(def);
        return;
    }
    const auto converted = convert(*value);
    if (!converted) {
        failedKey = key;
        return;
    }
    apply(*converted);
}

void PropertyReader::Text(const QString& key, const QString& def,
                          const std::function<void(QString)>& apply) {
    ReadKey(bag_, keyCase_, failedKey_, key, def, AsText, apply);
}

void PropertyReader::Integer(const QString& key, qint64 def, qint64 min, qint64 max,
                             const std::function<void(qint64)>& apply) {
    const auto inRange = [min, max](const PropertyValue& v) -> std::optional<qint64> {
        const auto number = AsInteger(v);
        if (!number || *number < min || *number > max)
            return std::nullopt;
        return number;
    };
    ReadKey(bag_, keyCase_, failedKey_, key, def, inRange, apply);
}

void PropertyReader::Boolean(const QString& key, bool def, const std::function<void(bool)>& apply) {
    ReadKey(bag_, keyCase_, failedKey_, key, def, AsBoolean, apply);
}

void PropertyReader::Color(const QString& key, quint32 def,
                           const std::function<void(quint32)>& apply) {
    ReadKey(bag_, keyCase_, failedKey_, key, def, AsColor, apply);
}

void PropertyReader::Font(const QString& key, const StoredFont& def,
                          const std::function<void(const StoredFont&)>& apply) {
    ReadKey(bag_, keyCase_, failedKey_, key, def, AsFont, apply);
}

void PropertyReader::Picture(const QString& key, const std::function<void(const QPixmap&)>& apply) {
    ReadKey(bag_, keyCase_, failedKey_, key, QPixmap(), AsPicture, apply);
}

void PropertyWriter::Text(const QString& key, const QString& value, const QString& def) {
    if (value != def)
        bag_.SetText(key, value);
}

void PropertyWriter::Integer(const QString& key, qint64 value, qint64 def) {
    if (value != def)
        bag_.SetInteger(key, value);
}

void PropertyWriter::Boolean(const QString& key, bool value, bool def) {
    if (value != def)
        bag_.SetBoolean(key, value);
}

void PropertyWriter::Color(const QString& key, quint32 value, quint32 def) {
    if (value != def)
        bag_.SetColor(key, value);
}

void PropertyWriter::PictureIfAny(const QString& key, const QPixmap& value) {
    if (!value.isNull())
        bag_.SetPicture(key, value);
}

qint64 PictureHandle(const QPixmap& picture) {
    return picture.isNull() ? 0 : picture.cacheKey();
}

}  // namespace controls
