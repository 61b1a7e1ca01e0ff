#include "capture/program_lines.h"

#include <string>

#include "capture/channel_line_writer.h"
#include "capture/long_time_text.h"
#include "capture/protocol_full.h"

namespace kestrum {

void AppendProtocolLine(CaptureContext& c, std::string_view text) {
    if (!c.field.AppendLine(std::string(text))) ProtocolCapacityExhausted(c);
}

void WriteStartLine(CaptureContext& c) {
    ApplyFontEntry(c, kMasterEntry);
    AppendProtocolLine(c, "Start: " + FormatLongTime(c.clock.Now(), c.locale.LongTimeFormat));
}

void WriteStopLine(CaptureContext& c) {
    ApplyFontEntry(c, kMasterEntry);
    AppendProtocolLine(c, "Stop:  " + FormatLongTime(c.clock.Now(), c.locale.LongTimeFormat));
    ApplyFontEntry(c, kUserEntry);
}

}  // namespace kestrum
