#include "capture/channel_line_writer.h"

#include "capture/line_assembly.h"
#include "capture/protocol_full.h"
#include "channels/font_entries.h"

namespace kestrum {

void ApplyFontEntry(CaptureContext& c, int entry) {
    c.field.SetAppendAttributes(FontEntryAttributes(c.channels.Font(entry)));
}

void ComposeChannelLine(CaptureContext& c, int entry, std::string& text) {
    LineRecord& line = c.state.Lines[static_cast<std::size_t>(entry)];
    if (line.Mode != LogMode::Hex) {
        text.assign(line.LineText.view());
        return;
    }
    for (int g = 1; g <= (line.HexByteCount - 1) / 8; ++g) {
        const std::size_t position = static_cast<std::size_t>(26 * g - 2);
        if (position < line.HexColumn.size()) line.HexColumn[position] = '-';
    }
    text.assign(line.HexPrefix.view());
    text.append(line.HexColumn.view());
    text.append(line.CharColumn.view());
}

void WriteChannelLine(CaptureContext& c, int entry) {
    LineRecord& line = c.state.Lines[static_cast<std::size_t>(entry)];
    // Marked written before messages are let through, so that a handler run
    // from them (the manual send writes every unwritten line) does not write
    // this line a second time or delete another line in its place.
    line.Written = true;
    bool ok = true;
    if (!line.LineClosed) ok = c.field.DeleteLastLine();
    ApplyFontEntry(c, entry);
    c.pump.ProcessMessages();
    ComposeChannelLine(c, entry, c.state.WriteBuffer);
    ok = c.field.AppendLine(c.state.WriteBuffer) && ok;
    if (!ok) ProtocolCapacityExhausted(c);

    line.LineDeadline = c.clock.Now() + kLineTimeOutDays;
    c.state.Recording.LastChannel = entry;
    c.pump.ProcessMessages();
    ApplyFontEntry(c, kUserEntry);
    c.pump.ProcessMessages();
}

}  // namespace kestrum
