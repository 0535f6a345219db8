#include "client/controls/PropertyJson.h"

#include <QBuffer>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonValue>

#include <cmath>

namespace controls {
namespace {

QString PictureText(const QPixmap& picture) {
    if (picture.isNull())
        return {};
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    picture.save(&buffer, "PNG");
    return QLatin1String(kPictureDataPrefix) + QString::fromLatin1(png.toBase64());
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

}  // namespace controls
