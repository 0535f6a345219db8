#include "client/controls/OleColor.h"

#include <QGuiApplication>
#include <QPalette>

#include <optional>

namespace controls {
namespace {

struct SystemEntry {
    QPalette::ColorGroup group;
    QPalette::ColorRole role;
};

// Index → palette role, after the meaning of the platform's system colour indexes.
std::optional<SystemEntry> PaletteEntry(int index) {
    using P = QPalette;
    switch (index) {
        case 0:
            return SystemEntry{P::Active, P::Button};  // scroll bar
        case 1:
            return SystemEntry{P::Active, P::Dark};  // desktop
        case 2:
            return SystemEntry{P::Active, P::Highlight};  // active caption
        case 3:
            return SystemEntry{P::Inactive, P::Highlight};  // inactive caption
        case 4:
            return SystemEntry{P::Active, P::Window};  // menu
        case 5:
            return SystemEntry{P::Active, P::Base};  // window
        case 6:
            return SystemEntry{P::Active, P::Shadow};  // window frame
        case 7:
            return SystemEntry{P::Active, P::WindowText};  // menu text
        case 8:
            return SystemEntry{P::Active, P::Text};  // window text
        case 9:
            return SystemEntry{P::Active, P::HighlightedText};  // caption text
        case 10:
            return SystemEntry{P::Active, P::Button};  // active border
        case 11:
            return SystemEntry{P::Inactive, P::Button};  // inactive border
        case 12:
            return SystemEntry{P::Active, P::Mid};  // application workspace
        case 13:
            return SystemEntry{P::Active, P::Highlight};  // highlight
        case 14:
            return SystemEntry{P::Active, P::HighlightedText};  // highlight text
        case 15:
            return SystemEntry{P::Active, P::Button};  // button face
        case 17:
            return SystemEntry{P::Disabled, P::Text};  // grey text
        case 18:
            return SystemEntry{P::Active, P::ButtonText};  // button text
        case 19:
            return SystemEntry{P::Inactive, P::WindowText};  // inactive caption text
        case 20:
            return SystemEntry{P::Active, P::Light};  // button highlight
        case 21:
            return SystemEntry{P::Active, P::Shadow};  // 3-D dark shadow
        case 22:
            return SystemEntry{P::Active, P::Midlight};  // 3-D light
        case 23:
            return SystemEntry{P::Active, P::ToolTipText};  // tool tip text
        case 24:
            return SystemEntry{P::Active, P::ToolTipBase};  // tool tip background
        case 26:
            return SystemEntry{P::Active, P::Link};  // hot-tracked item
        case 27:
        case 28:
            return SystemEntry{P::Active, P::Highlight};  // caption gradients
        case 29:
            return SystemEntry{P::Active, P::Highlight};  // menu highlight
        case 30:
            return SystemEntry{P::Active, P::Window};  // menu bar
        default:
            return std::nullopt;
    }
}

}  // namespace

QColor FromOle(quint32 ole) {
    if (!IsSystemColor(ole))
        return QColor(int(ole & 0xFF), int((ole >> 8) & 0xFF), int((ole >> 16) & 0xFF));
    const int index = int(ole & 0xFF);
    // The button shadow is the hint colour of the sign-in boxes; Qt's styles give their
    // "mid" role quite different greys, so the platform's own grey is kept fixed.
    if (index == kColorButtonShadow)
        return QColor(0xA0, 0xA0, 0xA0);
    const QPalette palette = QGuiApplication::palette();
    if (const auto entry = PaletteEntry(index))
        return palette.color(entry->group, entry->role);
    return palette.color(QPalette::Active, QPalette::WindowText);
}

quint32 ToOle(const QColor& color) {
    const QColor rgb = color.toRgb();
    return quint32(rgb.red()) | (quint32(rgb.green()) << 8) | (quint32(rgb.blue()) << 16);
}

}  // namespace controls
