#pragma once
// The display-mode buttons Asc and Hex.

#include "capture/capture_context.h"

namespace kestrum {

// Mouse down on SpeedButtonAsc (logMode 1) or SpeedButtonHex (logMode 2);
// only the left button acts. A change of LogMode converts the pending
// manual-send texts (SendingHooks::ConvertLastInputLines); a running
// recording goes on in the new mode. The buttons show LogMode: Asc down
// when it is 1, Hex down when it is 2.
void SpeedButtonAscOrHexOnMouseDown(CaptureContext& c, LogMode logMode, bool leftButton);

}  // namespace kestrum
