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
//   using Row = controls::PropertyRow<N_Shape>;
//   static const controls::PropertyTable<N_Shape> table = {
//       Row::Color("BackGround", 5, 0x00EFF1F2, 0x00FF8080, &N_Shape::SetBackGround,
//                  &N_Shape::BackGround),
//       ...};

#include "PropertyReadWrite.h"

#include <QString>

#include <algorithm>
#include <functional>
#include <limits>
#include <optional>
#include <vector>

namespace controls {

// In the new-value and load-default columns: nothing is assigned, the value stays as it is.
inline constexpr std::nullopt_t kKept = std::nullopt;

// How the writer treats a property.
enum class WriteRule {
    UnlessLoadDefault,  // left out when it equals the value a missing key gives
    Always,
    UnlessEmpty,  // pictures: left out when there is none
};

// The ranges of the platform's integer property types.
inline constexpr qint64 kShortMin = std::numeric_limits<qint16>::min();
inline constexpr qint64 kShortMax = std::numeric_limits<qint16>::max();
inline constexpr qint64 kIntMin = std::numeric_limits<qint32>::min();
inline constexpr qint64 kIntMax = std::numeric_limits<qint32>::max();

template <class C>
struct PropertyRow {
    template <class T>
    using Assign = std::function<void(C&, const T&)>;
    template <class T>
    using Value = std::function<T(const C&)>;

    QString key;
    int writtenAt = 0;
    std::function<void(C&)> applyNew;  // empty: the new value is kKept
    std::function<void(C&, PropertyReader&)> read;
    std::function<void(const C&, PropertyWriter&)> write;

    static PropertyRow Text(const char* key, int writtenAt, std::optional<QString> fresh,
                            std::optional<QString> load, Assign<QString> assign,
                            Value<QString> value, WriteRule rule = WriteRule::UnlessLoadDefault) {
        PropertyRow row = Start(key, writtenAt, fresh, assign);
        row.read = [key = row.key, load, assign, value](C& c, PropertyReader& r) {
            r.Text(key, load.value_or(value(c)), [&c, &assign](const QString& v) { assign(c, v); });
        };
        row.write = [key = row.key, load, value, rule](const C& c, PropertyWriter& w) {
            if (rule == WriteRule::UnlessLoadDefault && load)
                w.Text(key, value(c), *load);
            else
                w.Text(key, value(c));
        };
        return row;
    }

    static PropertyRow Integer(const char* key, int writtenAt, std::optional<qint64> fresh,
                               std::optional<qint64> load, qint64 min, qint64 max,
                               Assign<qint64> assign, Value<qint64> value,
                               WriteRule rule = WriteRule::UnlessLoadDefault) {
        PropertyRow row = Start(key, writtenAt, fresh, assign);
        row.read = [key = row.key, load, min, max, assign, value](C& c, PropertyReader& r) {
            r.Integer(key, load.value_or(value(c)), min, max,
                      [&c, &assign](qint64 v) { assign(c, v); });
        };
        row.write = [key = row.key, load, value, rule](const C& c, PropertyWriter& w) {
            if (rule == WriteRule::UnlessLoadDefault && load)
                w.Integer(key, value(c), *load);
            else
                w.Integer(key, value(c));
        };
        return row;
    }

    static PropertyRow Boolean(const char* key, int writtenAt, std::optional<bool> fresh,
                               std::optional<bool> load, Assign<bool> assign, Value<bool> value,
                               WriteRule rule = WriteRule::UnlessLoadDefault) {
        PropertyRow row = Start(key, writtenAt, fresh, assign);
        row.read = [key = row.key, load, assign, value](C& c, PropertyReader& r) {
            r.Boolean(key, load.value_or(value(c)), [&c, &assign](bool v) { assign(c, v); });
        };
        row.write = [key = row.key, load, value, rule](const C& c, PropertyWriter& w) {
            if (rule == WriteRule::UnlessLoadDefault && load)
                w.Boolean(key, value(c), *load);
            else
                w.Boolean(key, value(c));
        };
        return row;
    }

    // Colours are OLE values (OleColor.h).
    static PropertyRow Color(const char* key, int writtenAt, std::optional<quint32> fresh,
                             std::optional<quint32> load, Assign<quint32> assign,
                             Value<quint32> value, WriteRule rule = WriteRule::UnlessLoadDefault) {
        PropertyRow row = Start(key, writtenAt, fresh, assign);
        row.read = [key = row.key, load, assign, value](C& c, PropertyReader& r) {
            r.Color(key, load.value_or(value(c)), [&c, &assign](quint32 v) { assign(c, v); });
        };
        row.write = [key = row.key, load, value, rule](const C& c, PropertyWriter& w) {
            if (rule == WriteRule::UnlessLoadDefault && load)
                w.Color(key, value(c), *load);
            else
                w.Color(key, value(c));
        };
        return row;
    }

    // A font is always written.
    static PropertyRow Font(const char* key, int writtenAt, std::optional<StoredFont> fresh,
                            std::optional<StoredFont> load, Assign<StoredFont> assign,
                            Value<StoredFont> value) {
        PropertyRow row = Start(key, writtenAt, fresh, assign);
        row.read = [key = row.key, load, assign, value](C& c, PropertyReader& r) {
            r.Font(key, load.value_or(value(c)),
                   [&c, &assign](const StoredFont& v) { assign(c, v); });
        };
        row.write = [key = row.key, value](const C& c, PropertyWriter& w) {
            const StoredFont font = value(c);
            w.Font(key, font.font, font.charset);
        };
        return row;
    }

    // A picture a stored set lacks is no picture; a new control starts without one.
    static PropertyRow Picture(const char* key, int writtenAt, Assign<QPixmap> assign,
                               Value<QPixmap> value, WriteRule rule = WriteRule::UnlessEmpty) {
        PropertyRow row = Start(key, writtenAt, std::optional<QPixmap>(), assign);
        row.read = [key = row.key, assign](C& c, PropertyReader& r) {
            r.Picture(key, [&c, &assign](const QPixmap& v) { assign(c, v); });
        };
        row.write = [key = row.key, value, rule](const C& c, PropertyWriter& w) {
            if (rule == WriteRule::UnlessEmpty)
                w.PictureIfAny(key, value(c));
            else
                w.Picture(key, value(c));
        };
        return row;
    }

private:
    template <class T>
    static PropertyRow Start(const char* key, int writtenAt, const std::optional<T>& fresh,
                             const Assign<T>& assign) {
        PropertyRow row;
        row.key = QString::fromLatin1(key);
        row.writtenAt = writtenAt;
        if (fresh)
            row.applyNew = [value = *fresh, assign](C& c) { assign(c, value); };
        return row;
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
    PropertyWriter writer(bag);
    for (const PropertyRow<C>* row : rows)
        row->write(control, writer);
    return bag;
}

}  // namespace controls
