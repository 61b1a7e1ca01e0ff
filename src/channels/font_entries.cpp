#include "channels/font_entries.h"

namespace kestrum {

std::uint8_t FontStyleFromFlags(const FontEntry& entry) {
    std::uint8_t style = 0;
    if (entry.FontBold) style |= kStyleBold;
    if (entry.FontItalic) style |= kStyleItalic;
    if (entry.FontUnderline) style |= kStyleUnderline;
    if (entry.FontStrikeOut) style |= kStyleStrikeOut;
    return style;
}

void RebuildFontStyles(ChannelTable& table) {
    for (int k = kUserEntry; k <= kLastChannel; ++k) {
        table.Font(k).FontStyle = FontStyleFromFlags(table.Font(k));
    }
    FontEntry& master = table.Font(kMasterEntry);
    master.FontStyle = static_cast<std::uint8_t>((master.FontBold ? kStyleBold : 0) |
                                                 (master.FontItalic ? kStyleItalic : 0));
}

void SetEntryFontStyle(ChannelTable& table, int entry, std::uint8_t style) {
    if (entry < kUserEntry || entry > kMasterEntry) return;
    FontEntry& font = table.Font(entry);
    font.FontBold = (style & kStyleBold) != 0;
    font.FontItalic = (style & kStyleItalic) != 0;
    const bool master = entry == kMasterEntry;
    font.FontUnderline = !master && (style & kStyleUnderline) != 0;
    font.FontStrikeOut = !master && (style & kStyleStrikeOut) != 0;
    font.FontStyle = FontStyleFromFlags(font);
}

void ApplyMasterFont(ChannelTable& table) {
    const FontEntry master = table.Font(kMasterEntry);
    for (int k = kUserEntry; k <= kLastChannel; ++k) {
        FontEntry& font = table.Font(k);
        font.FontName = master.FontName;
        font.FontSize = master.FontSize;
        font.FontBold = master.FontBold;
        font.FontItalic = master.FontItalic;
        font.FontUnderline = false;
        font.FontStrikeOut = false;
        font.FontStyle = FontStyleFromFlags(font);
    }
}

TextAttributes FontEntryAttributes(const FontEntry& entry) {
    TextAttributes attributes;
    attributes.FontName = entry.FontName;
    attributes.FontSize = entry.FontSize;
    attributes.Color = entry.FontColor;
    attributes.Style = entry.FontStyle;
    return attributes;
}

Colour ButtonCaptionColour(Colour fontColor) {
    return fontColor == kSilver ? 0x000000 : fontColor;
}

}  // namespace kestrum
