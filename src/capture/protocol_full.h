#pragma once
// The protocol field refused a line.

#include "capture/capture_context.h"

namespace kestrum {

// ProtocolFull and Running false, the Start button disabled until the
// protocol is cleared, and the error shown, once: later refusals while the
// protocol is still full (the flushes of the ending loop) show nothing more.
void ProtocolCapacityExhausted(CaptureContext& c);

}  // namespace kestrum
