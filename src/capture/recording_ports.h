#pragma once
// What a recording start does to the port of an active channel.

#include "capture/capture_context.h"

namespace kestrum {

// Throws away what the port received so far and applies the channel's
// configuration to it again.
void RefreshPortForRecording(CaptureContext& c, int channel);

}  // namespace kestrum
