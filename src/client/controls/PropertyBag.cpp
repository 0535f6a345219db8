#include "client/controls/PropertyBag.h"

#include "client/controls/OleColor.h"

#include <limits>

namespace controls {

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
    const QLatin1String prefix(kPictureDataPrefix);
    QPixmap picture;
    if (text.startsWith(prefix)) {
        picture.loadFromData(QByteArray::fromBase64(text.mid(prefix.size()).toLatin1()), "PNG");
    } else {
        picture.load(text);
    }
    return picture;
}

qint64 PictureHandle(const QPixmap& picture) {
    return picture.isNull() ? 0 : picture.cacheKey();
}

}  // namespace controls
