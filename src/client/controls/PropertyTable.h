#pragma once
// Property tables: every stored property of a control listed once, with what its constructor,
// its reader and its writer need to know of it. A row names
//   - the key and the type (the factory: Text, Integer, Boolean, Color, Font, Picture),
//   - its place in the written set (the reader takes the rows in table order, which is not
//     always the order the control writes its keys in),
//   - the value of a new control, or kKept: a new control keeps what its parts start with,
//   - the value a stored set without the key gives, or kKept: the current value stays,
//   - how the value is assigned and read back (a setter and a getter, or lambdas),
//   - whether the writer leaves the key out when it holds the load default (WriteRule).
// The constructor calls ApplyNewValues, ReadProperties calls ReadTable and WriteProperties
// calls WriteTable; what is special to a control (blank flags before a load, colours applied
// once at its end) stays in those functions around the walk.
//
//   using Row = controls::PropertyRow<N_Shape>;  // Row::kKept, Row::kShortMin ... for the rows
//   static const controls::PropertyTable<N_Shape> table = {
//       Row::Color("BackGround", 5, 0x00EFF1F2, 0x00FF8080, &N_Shape::SetBackGround,
//                  &N_Shape::BackGround),
//       ...};

#include "client/controls/PropertyReadWrite.h"

#include <QString>

#include <algorithm>
#include <functional>
#include <limits>
#include <optional>
#include <type_traits>
#include <vector>

namespace controls {

// How the writer treats a property.
enum class WriteRule {
    UnlessLoadDefault,  // left out when it equals the value a missing key gives
    Always,
    UnlessEmpty,  // pictures: left out when there is none
};

template <class C>
struct PropertyRow {
    template <class T>
    using Assign = std::function<void(C&, const T&)>;
    template <class T>
    using Value = std::function<T(const C&)>;

    // In the new-value and load-default columns: nothing is assigned, the value stays as it is.
    static constexpr std::nullopt_t kKept = std::nullopt;
    static constexpr WriteRule kAlways = WriteRule::Always;
    // The ranges of the platform's integer property types.
    static constexpr qint64 kShortMin = std::numeric_limits<qint16>::min();
    static constexpr qint64 kShortMax = std::numeric_limits<qint16>::max();
    static constexpr qint64 kIntMin = std::numeric_limits<qint32>::min();
    static constexpr qint64 kIntMax = std::numeric_limits<qint32>::max();

    QString key;
    int writtenAt = 0;
    std::function<void(C&)> applyNew;  // empty: the new value is kKept
    std::function<void(C&, PropertyReader&)> read;
    std::function<void(const C&, PropertyBag&)> write;

    static PropertyRow Text(const char* key, int writtenAt, std::optional<QString> fresh,
                            std::optional<QString> load, Assign<QString> assign,
                            Value<QString> value, WriteRule rule = WriteRule::UnlessLoadDefault) {
        return Make<QString>(key, writtenAt, fresh, load, assign, value, rule,
                             &PropertyReader::Text, &PropertyBag::SetText);
    }

    static PropertyRow Integer(const char* key, int writtenAt, std::optional<qint64> fresh,
                               std::optional<qint64> load, qint64 min, qint64 max,
                               Assign<qint64> assign, Value<qint64> value,
                               WriteRule rule = WriteRule::UnlessLoadDefault) {
        const auto readInRange = [min, max](PropertyReader& r, const QString& k, qint64 def,
                                            const std::function<void(qint64)>& apply) {
            r.Integer(k, def, min, max, apply);
        };
        return Make<qint64>(key, writtenAt, fresh, load, assign, value, rule, readInRange,
                            &PropertyBag::SetInteger);
    }

    static PropertyRow Boolean(const char* key, int writtenAt, std::optional<bool> fresh,
                               std::optional<bool> load, Assign<bool> assign, Value<bool> value,
                               WriteRule rule = WriteRule::UnlessLoadDefault) {
        return Make<bool>(key, writtenAt, fresh, load, assign, value, rule,
                          &PropertyReader::Boolean, &PropertyBag::SetBoolean);
    }

    // Colours are OLE values (OleColor.h).
    static PropertyRow Color(const char* key, int writtenAt, std::optional<quint32> fresh,
                             std::optional<quint32> load, Assign<quint32> assign,
                             Value<quint32> value, WriteRule rule = WriteRule::UnlessLoadDefault) {
        return Make<quint32>(key, writtenAt, fresh, load, assign, value, rule,
                             &PropertyReader::Color, &PropertyBag::SetColor);
    }

    // A font is always written, with its character set when it has one.
    static PropertyRow Font(const char* key, int writtenAt, std::optional<StoredFont> fresh,
                            std::optional<StoredFont> load, Assign<StoredFont> assign,
                            Value<StoredFont> value) {
        const auto writeFont = [](PropertyBag& bag, const QString& k, const StoredFont& font) {
            bag.SetFont(k, font.font, font.charset);
        };
        return Make<StoredFont>(key, writtenAt, fresh, load, assign, value, WriteRule::Always,
                                &PropertyReader::Font, writeFont);
    }

    // A picture a stored set lacks is no picture; a new control starts without one.
    static PropertyRow Picture(const char* key, int writtenAt, Assign<QPixmap> assign,
                               Value<QPixmap> value, WriteRule rule = WriteRule::UnlessEmpty) {
        const auto readPicture = [](PropertyReader& r, const QString& k, const QPixmap&,
                                    const std::function<void(const QPixmap&)>& apply) {
            r.Picture(k, apply);
        };
        return Make<QPixmap>(key, writtenAt, std::nullopt, QPixmap(), assign, value, rule,
                             readPicture, &PropertyBag::SetPicture);
    }

private:
    // A row of type T: `readKey` is the reader's call for the type, `writeKey` puts the value
    // in the bag; the rule decides whether the writer calls it.
    template <class T, class ReadKey, class WriteKey>
    static PropertyRow Make(const char* key, int writtenAt, const std::optional<T>& fresh,
                            const std::optional<T>& load, const Assign<T>& assign,
                            const Value<T>& value, WriteRule rule, ReadKey readKey,
                            WriteKey writeKey) {
        PropertyRow row;
        row.key = QString::fromLatin1(key);
        row.writtenAt = writtenAt;
        if (fresh)
            row.applyNew = [v = *fresh, assign](C& c) { assign(c, v); };
        row.read = [key = row.key, load, assign, value, readKey](C& c, PropertyReader& r) {
            std::invoke(readKey, r, key, load.value_or(value(c)),
                        [&c, &assign](const T& v) { assign(c, v); });
        };
        row.write = [key = row.key, load, value, rule, writeKey](const C& c, PropertyBag& bag) {
            const T v = value(c);
            if (!Omitted(rule, v, load))
                std::invoke(writeKey, bag, key, v);
        };
        return row;
    }

    template <class T>
    static bool Omitted(WriteRule rule, const T& v, const std::optional<T>& load) {
        if constexpr (std::is_same_v<T, QPixmap>) {
            return rule == WriteRule::UnlessEmpty && v.isNull();
        } else if constexpr (std::is_same_v<T, StoredFont>) {
            return false;
        } else {
            return rule == WriteRule::UnlessLoadDefault && load && v == *load;
        }
    }
};

// A control's rows in the order its reader takes them.
template <class C>
using PropertyTable = std::vector<PropertyRow<C>>;

// Gives a new control the new values of the table, in table order.
template <class C>
void ApplyNewValues(C& control, const PropertyTable<C>& table) {
    for (const PropertyRow<C>& row : table) {
        if (row.applyNew)
            row.applyNew(control);
    }
}

// Reads a stored set in table order; false (and the key in *failedKey) when a value could not
// be read: the rows after it are not applied.
template <class C>
bool ReadTable(C& control, const PropertyTable<C>& table, const PropertyBag& bag,
               Qt::CaseSensitivity keyCase, QString* failedKey) {
    PropertyReader reader(bag, keyCase);
    for (const PropertyRow<C>& row : table)
        row.read(control, reader);
    if (failedKey)
        *failedKey = reader.FailedKey();
    return reader.Ok();
}

// The stored set of a control, its keys in their written order.
template <class C>
PropertyBag WriteTable(const C& control, const PropertyTable<C>& table) {
    std::vector<const PropertyRow<C>*> rows;
    for (const PropertyRow<C>& row : table)
        rows.push_back(&row);
    std::stable_sort(rows.begin(), rows.end(),
                     [](const auto* a, const auto* b) { return a->writtenAt < b->writtenAt; });
    PropertyBag bag;
    for (const PropertyRow<C>* row : rows)
        row->write(control, bag);
    return bag;
}

}  // namespace controls
