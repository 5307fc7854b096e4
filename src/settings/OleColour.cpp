#include "OleColour.h"

#include <QGuiApplication>
#include <QPalette>

#include <optional>
#include <utility>

namespace tavelin {
namespace {

constexpr std::uint32_t kSystemBit = 0x80000000u;

// Windows system colour indexes (COLOR_SCROLLBAR = 0 ... COLOR_MENUBAR = 30)
// and the palette colour that plays the same part.
std::optional<std::pair<QPalette::ColorGroup, QPalette::ColorRole>> roleOf(std::uint32_t index) {
    using P = QPalette;
    switch (index) {
    case 0: // scroll bar
        return std::pair{P::Active, P::Button};
    case 1: // desktop
        return std::pair{P::Active, P::Window};
    case 2: // active caption
        return std::pair{P::Active, P::Highlight};
    case 3: // inactive caption
        return std::pair{P::Inactive, P::Mid};
    case 4: // menu
        return std::pair{P::Active, P::Window};
    case 5: // window background
        return std::pair{P::Active, P::Base};
    case 6: // window frame
        return std::pair{P::Active, P::Shadow};
    case 7: // menu text
        return std::pair{P::Active, P::WindowText};
    case 8: // window text
        return std::pair{P::Active, P::Text};
    case 9: // caption text
        return std::pair{P::Active, P::HighlightedText};
    case 10: // active border
    case 11: // inactive border
        return std::pair{P::Active, P::Window};
    case 12: // application workspace
        return std::pair{P::Active, P::Mid};
    case 13: // selection
        return std::pair{P::Active, P::Highlight};
    case 14: // selected text
        return std::pair{P::Active, P::HighlightedText};
    case 15: // button face
        return std::pair{P::Active, P::Button};
    case 16: // button shadow
        return std::pair{P::Active, P::Dark};
    case 17: // grey text
        return std::pair{P::Disabled, P::Text};
    case 18: // button text
        return std::pair{P::Active, P::ButtonText};
    case 19: // inactive caption text
        return std::pair{P::Inactive, P::WindowText};
    case 20: // button highlight
        return std::pair{P::Active, P::Light};
    case 21: // 3-D dark shadow
        return std::pair{P::Active, P::Shadow};
    case 22: // 3-D light
        return std::pair{P::Active, P::Midlight};
    case 23: // tooltip text
        return std::pair{P::Active, P::ToolTipText};
    case 24: // tooltip background
        return std::pair{P::Active, P::ToolTipBase};
    case 26: // hot-tracked item
        return std::pair{P::Active, P::Link};
    case 27: // active caption gradient
    case 29: // menu selection
        return std::pair{P::Active, P::Highlight};
    case 28: // inactive caption gradient
        return std::pair{P::Inactive, P::Mid};
    case 30: // menu bar
        return std::pair{P::Active, P::Window};
    default:
        return std::nullopt;
    }
}

} // namespace

bool isOleColour(std::int32_t value) {
    const auto v = static_cast<std::uint32_t>(value);
    if (v & kSystemBit) {
        return (v & 0x7FFFFF00u) == 0 && roleOf(v & 0xFFu).has_value();
    }
    return v <= 0x00FFFFFFu;
}

QColor fromOleColour(std::int32_t value) {
    if (!isOleColour(value)) {
        return Qt::black;
    }
    const auto v = static_cast<std::uint32_t>(value);
    if (v & kSystemBit) {
        const auto [group, role] = *roleOf(v & 0xFFu);
        return QGuiApplication::palette().color(group, role);
    }
    return {static_cast<int>(v & 0xFF), static_cast<int>((v >> 8) & 0xFF),
            static_cast<int>((v >> 16) & 0xFF)};
}

std::int32_t toOleColour(const QColor& colour) {
    const QColor rgb = colour.toRgb();
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(rgb.red()) |
                                     (static_cast<std::uint32_t>(rgb.green()) << 8) |
                                     (static_cast<std::uint32_t>(rgb.blue()) << 16));
}

} // namespace tavelin
