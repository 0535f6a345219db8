#pragma once
// Colours of the custom controls are 32-bit values 0x00BBGGRR (red in the low byte); a value
// with the flag 0x80000000 names a system colour by the index in its low byte.

#include <QColor>
#include <QtGlobal>

namespace controls {

inline constexpr quint32 kSystemColorFlag = 0x80000000u;

constexpr bool IsSystemColor(quint32 ole) {
    return (ole & kSystemColorFlag) != 0;
}
constexpr quint32 SystemColor(int index) {
    return kSystemColorFlag | quint32(index & 0xFF);
}
// The OLE value of a colour written #RRGGBB.
constexpr quint32 OleFromRgb(quint32 rgb) {
    return ((rgb & 0xFF) << 16) | (rgb & 0xFF00) | ((rgb >> 16) & 0xFF);
}

// Common system colour indexes.
inline constexpr int kColorWindow = 5;
inline constexpr int kColorWindowText = 8;
inline constexpr int kColorButtonFace = 15;
inline constexpr int kColorButtonShadow = 16;
inline constexpr int kColorButtonText = 18;

// A system colour is looked up in the application palette when it is converted, so it
// follows the palette in force at that moment.
QColor FromOle(quint32 ole);
// The OLE value of an explicit colour (alpha is dropped).
quint32 ToOle(const QColor& color);

}  // namespace controls
