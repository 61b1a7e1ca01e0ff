#pragma once
// The program's own lines in the protocol: start, stop and empty lines.

#include <string_view>

#include "capture/capture_context.h"

namespace kestrum {

// Appends `text` as a new last line with the attributes applied now; a
// field that refuses it calls ProtocolCapacityExhausted.
void AppendProtocolLine(CaptureContext& c, std::string_view text = {});

// "Start: " and the local time of day, in the master font.
void WriteStartLine(CaptureContext& c);

// "Stop:  " and the local time of day, in the master font; then the user font.
void WriteStopLine(CaptureContext& c);

}  // namespace kestrum
