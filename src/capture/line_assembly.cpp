#include "capture/line_assembly.h"

#include "capture/time_tag.h"

namespace kestrum {

namespace {
constexpr char kHexDigits[] = "0123456789ABCDEF";
}

std::string FormatTimeTagFor(const CaptureContext& c, double seconds) {
    return FormatTimeTag(seconds, c.state.ProtocolTime.CounterAvailable, c.locale);
}

std::string ChannelIdPrefix(const ChannelTable& channels, int entry) {
    std::string prefix = channels.EntryId(entry);
    prefix += ':';
    if (entry >= 0 && entry < kEntryCount) prefix += channels.IdPadding[static_cast<std::size_t>(entry)];
    return prefix;
}

void BeginAsciiLine(CaptureContext& c, int entry) {
    LineRecord& line = c.state.Lines[static_cast<std::size_t>(entry)];
    line.LineText.clear();
    line.LineStarted = true;
    line.Mode = LogMode::Ascii;
    AppendLinePrefix(line.LineText, c, entry, line.ByteTime);
    line.LineDeadline = c.clock.Now() + kLineTimeOutDays;
}

void AddAsciiByte(CaptureContext& c, int entry, std::uint8_t byte) {
    LineRecord& line = c.state.Lines[static_cast<std::size_t>(entry)];
    if (byte == 0) byte = 1;
    if (byte == 13) {
        if (c.options.ShowCrChar) line.LineText.append("<CR>");
    } else if (byte == 10) {
        if (c.options.ShowLfChar) line.LineText.append("<LF>");
    } else if (c.state.Recording.Running) {
        line.LineText.push_back(static_cast<char>(byte));
    }
}

void BeginHexLine(CaptureContext& c, int entry) {
    LineRecord& line = c.state.Lines[static_cast<std::size_t>(entry)];
    line.HexColumn.assign(c.state.Layout.HexBlankLine);
    line.CharColumn.clear();
    line.LineStarted = true;
    line.Mode = LogMode::Hex;
    line.HexPrefix.clear();
    AppendLinePrefix(line.HexPrefix, c, entry, line.ByteTime);
    line.HexByteCount = 0;
    line.LineDeadline = c.clock.Now() + kLineTimeOutDays;
}

void AddHexByte(CaptureContext& c, int entry, std::uint8_t byte) {
    LineRecord& line = c.state.Lines[static_cast<std::size_t>(entry)];
    const int k = ++line.HexByteCount;
    const std::size_t p = static_cast<std::size_t>(3 * (k - 1) + 2 * ((k - 1) / 8));
    // A column narrower than this byte needs (the byte count was raised while
    // the line was open) grows to the width of a line of k bytes.
    if (p + 2 > line.HexColumn.size())
        line.HexColumn.resize(static_cast<std::size_t>(HexLineWidthFor(k)));
    if (p + 2 <= line.HexColumn.size()) {
        line.HexColumn[p] = kHexDigits[byte >> 4];
        line.HexColumn[p + 1] = kHexDigits[byte & 0x0F];
    }
    line.CharColumn.push_back(byte < 32 ? '\x01' : static_cast<char>(byte));
}

}  // namespace kestrum
