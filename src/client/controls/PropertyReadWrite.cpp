#include "client/controls/PropertyReadWrite.h"

namespace controls {

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

}  // namespace controls
