#pragma once
// Handlers of the window that act on a recording: the Clear button, typing
// into the protocol field, and the Start button's mouse-up.

#include "capture/capture_context.h"

namespace kestrum {

// Left button only: empties the protocol, clears ProtocolFull, disables
// Edit Select All / Find / Replace, enables the Start button and shows it
// by Running. A running recording goes on into the empty protocol.
void SpeedButtonClearOnMouseDown(CaptureContext& c, bool leftButton);

// A character key typed into the protocol field: lines with bytes not yet
// shown are written, and the next byte of any channel starts a new line.
void RichEditOnKeyPress(CaptureContext& c);

// Left button: caption and hint of the Start button from Running.
void SpeedButtonStartOnMouseUp(CaptureContext& c, bool leftButton);

}  // namespace kestrum
