#pragma once
// The JSON text form of stored property sets. A set is an array of entries in key order,
//   [{"key": "Caption", "text": "登 陆"}, {"key": "FontSize", "integer": 9},
//    {"key": "Enabled", "boolean": true}, {"key": "BackColorNormal", "color": "#F2F1EF"},
//    {"key": "Font", "font": {"name": "Verdana", "size": 9, "bold": false, "charset": 134}},
//    {"key": "Picture", "picture": ":/login/close.png"}]
// Colours are written "&H00BBGGRR&" (the platform's hexadecimal form, OLE order) and also read
// as "#RRGGBB", "0x…" or a number; pictures are read from a resource or file path or from a
// "data:image/png;base64," text, and written in the latter form ("" is no picture).
//
// A single set converts with PropertyBag::ToJson / FromJson (defined in PropertyJson.cpp);
// the sets of a whole window read with ReadPropertySets.

#include "client/controls/PropertyBag.h"

#include <QByteArray>
#include <QString>

#include <map>
#include <optional>

namespace controls {

// The sets of a window's controls, one JSON object: {"N_Shape2": [...], "N_TextBox1": [...]}.
std::optional<std::map<QString, PropertyBag>> ReadPropertySets(const QByteArray& json,
                                                               QString* error = nullptr);

}  // namespace controls
