#include "capture/line_layout.h"

#include <algorithm>

#include "capture/line_records.h"

namespace kestrum {

int HexLineWidthFor(int byteCount) {
    const int n = std::clamp(byteCount, 1, kMaxHexLineByteCount);
    return 3 * n + 2 * ((n - 1) / 8) + 2;
}

int MaxLineLengthFor(bool lineWrap, int clientWidth, int fontPixels) {
    if (!lineWrap || fontPixels <= 0) return 255;
    const int length = ((clientWidth - 21) * 5) / (3 * fontPixels);
    return std::min(length, 255);
}

int FontPixelHeight(int points, int pixelsPerInch) {
    const long product = static_cast<long>(points) * pixelsPerInch;
    return static_cast<int>(product >= 0 ? (product + 36) / 72 : (product - 36) / 72);
}

void UpdateMaxLineLength(LineLayout& layout, const Options& options, const ChannelTable& channels,
                         ProtocolField& field) {
    if (!options.LineWrap) {
        layout.MaxLineLength = 255;
        return;
    }
    const int pixels = FontPixelHeight(channels.Font(kUserEntry).FontSize, field.PixelsPerInch());
    layout.MaxLineLength = MaxLineLengthFor(true, field.ControlWidth(), pixels);
}

void SetHexLineWidth(LineLayout& layout, const Options& options) {
    layout.HexLineWidth = HexLineWidthFor(options.HexLineByteCount);
    layout.HexBlankLine.assign(static_cast<std::size_t>(layout.HexLineWidth), ' ');
}

}  // namespace kestrum
