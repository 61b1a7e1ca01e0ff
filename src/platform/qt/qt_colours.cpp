#include "platform/qt/qt_colours.h"

#include <cstdint>

namespace kestrum {

QColor ToQColor(Colour colour, const QPalette& palette) {
    const auto value = static_cast<std::uint32_t>(colour);
    if ((value >> 24) == 0xFF) {
        switch (value & 0xFF) {
        case 5:  return palette.color(QPalette::Active, QPalette::Base);        // COLOR_WINDOW
        case 8:  return palette.color(QPalette::Active, QPalette::Text);        // COLOR_WINDOWTEXT
        case 13: return palette.color(QPalette::Active, QPalette::Highlight);   // COLOR_HIGHLIGHT
        case 14: return palette.color(QPalette::Active, QPalette::HighlightedText);
        case 15: return palette.color(QPalette::Active, QPalette::Button);      // COLOR_BTNFACE
        case 18: return palette.color(QPalette::Active, QPalette::ButtonText);  // COLOR_BTNTEXT
        case 24: return palette.color(QPalette::Active, QPalette::ToolTipBase); // COLOR_INFOBK
        default: return palette.color(QPalette::Active, QPalette::Window);
        }
    }
    return QColor(static_cast<int>(value & 0xFF), static_cast<int>((value >> 8) & 0xFF),
                  static_cast<int>((value >> 16) & 0xFF));
}

Colour FromQColor(const QColor& colour) {
    return static_cast<Colour>(static_cast<std::uint32_t>(colour.red()) |
                               (static_cast<std::uint32_t>(colour.green()) << 8) |
                               (static_cast<std::uint32_t>(colour.blue()) << 16));
}

}  // namespace kestrum
