#pragma once
// Line-length limits: the ASCII line length that follows the window width,
// and the width of the hex column.

#include <string>

#include "base/channel_table.h"
#include "platform/protocol_field.h"
#include "settings/options.h"

namespace kestrum {

struct LineLayout {
    int MaxLineLength = 255;  // ASCII line length at which a line ends
    int HexLineWidth = 52;    // characters of the hex column
    std::string HexBlankLine = std::string(52, ' ');
};

// 3N + 2((N - 1) div 8) + 2 for N bytes per line (N brought into 1..255).
int HexLineWidthFor(int byteCount);

// ((clientWidth - 21) * 5) div (3 * fontPixels) with line wrap, at most 255;
// 255 without line wrap or without a usable font height.
int MaxLineLengthFor(bool lineWrap, int clientWidth, int fontPixels);

// Pixel height of a font of `points` on a screen of `pixelsPerInch`, to the
// nearest pixel.
int FontPixelHeight(int points, int pixelsPerInch);

// MaxLineLength from LineWrap, the field's width and the font of appended
// text (the user entry's, applied after every write).
void UpdateMaxLineLength(LineLayout& layout, const Options& options, const ChannelTable& channels,
                         ProtocolField& field);

// HexLineWidth and HexBlankLine from HexLineByteCount.
void SetHexLineWidth(LineLayout& layout, const Options& options);

}  // namespace kestrum
