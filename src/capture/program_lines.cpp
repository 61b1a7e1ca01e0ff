#include "capture/program_lines.h"

#include <string>

#include "capture/channel_line_writer.h"
#include "capture/protocol_full.h"

namespace kestrum {

void AppendProtocolLine(CaptureContext& c, std::string_view text) {
    if (!c.field.AppendLine(std::string(text))) ProtocolCapacityExhausted(c);
}

void WriteStartLine(CaptureContext& c) {
    ApplyFontEntry(c, kMasterEntry);
    AppendProtocolLine(c, "Start: " + c.clock.LongTimeText(c.clock.Now()));
}

void WriteStopLine(CaptureContext& c) {
    ApplyFontEntry(c, kMasterEntry);
    AppendProtocolLine(c, "Stop:  " + c.clock.LongTimeText(c.clock.Now()));
    ApplyFontEntry(c, kUserEntry);
}

}  // namespace kestrum
