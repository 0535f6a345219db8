#pragma once
// The reader and the writer a control walks its stored keys with: the reader takes each key in
// the control's order, with the default of a missing key, and stops at the first value it
// cannot take; the writer puts each key back in the control's order, leaving out what equals
// its default where the control says so.

#include "client/controls/PropertyBag.h"

#include <functional>

namespace controls {

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

}  // namespace controls
