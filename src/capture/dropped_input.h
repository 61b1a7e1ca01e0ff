#pragma once
// The protocol's note that input is missing: a port whose queue filled up
// while the recording lagged far behind left bytes out.

#include <cstdint>

#include "capture/capture_context.h"

namespace kestrum {

// Finishes every line shown so far (unwritten bytes are written, open lines
// closed), then appends, in the master font, "COM1: 4096 bytes lost: ..."
// (the channel's ID prefix and the count) as a line of its own. The next
// byte of any channel begins a new line.
void WriteDroppedInputLine(CaptureContext& c, int channel, std::uint64_t bytes);

}  // namespace kestrum
