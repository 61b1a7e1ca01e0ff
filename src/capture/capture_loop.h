#pragma once
// The Start button and the recording run of monitor mode.
//
// The whole recording runs inside SpeedButtonStartOnClick: pass after pass
// it reads at most one byte from each active port, adds it to its channel's
// line and writes lines that end or time out, letting window messages
// through (MessagePump) on every pass. Every other handler runs nested in
// those calls; one that must end the recording clears Running and returns.

#include "capture/capture_context.h"

namespace kestrum {

// Start and Stop. The caller has already flipped StartButton.Down (the
// button is a toggle); Running follows it. Stop only clears Running and
// returns; a running loop further down the stack then ends by itself.
// Start in monitor mode runs the recording and returns when it has ended;
// in sender mode it calls SendingHooks::StartSending and returns.
void SpeedButtonStartOnClick(CaptureContext& c);

// A click on the Start button: flips its down state, then the handler.
void ClickStartButton(CaptureContext& c);

// The recording run of monitor mode (phases, trigger, passes, stop line).
void RunRecording(CaptureContext& c);

// One pass over the channels in `logMode` (1 ASCII, 2 hex), ending with the
// idle wait when no port delivered a byte. True when a completed line
// re-armed the trigger.
bool RunPass(CaptureContext& c, LogMode logMode);

// Writes every channel's unwritten line.
void FlushChannelLines(CaptureContext& c);

}  // namespace kestrum
