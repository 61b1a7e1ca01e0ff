#pragma once
// The Start button and the recording run of monitor mode.
//
// The whole recording runs inside SpeedButtonStartOnClick: pass after pass
// it reads bytes from the active ports, adds each to its channel's line and
// writes lines that end or time out, letting window messages through
// (MessagePump) on every pass. Every other handler runs nested in those
// calls; one that must end the recording clears Running and returns.
//
// Over ports that stamp their input with its arrival, a pass reads in the
// order of arrival (ArrivalOrder): a channel reads its next byte only when no
// other channel holds a byte that arrived before it, and a line's time tag is
// the arrival time of its first byte. While the loop keeps up this is one
// byte per channel and pass; when it lags, lines come out whole and in the
// order they arrived. The capture file, if any, is begun at Start and ended
// at Stop and at the end of a recording (capture_file_run.h).

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
// idle wait when no port delivered a byte. A channel reads one byte per
// pass, or, while its input arrived before every other channel's, on up to
// 256 bytes in its turn (the protocol is the same). Input the port had to
// leave out is noted in its place (WriteDroppedInputLine). True when a
// completed line re-armed the trigger.
bool RunPass(CaptureContext& c, LogMode logMode);

// Writes every channel's unwritten line.
void FlushChannelLines(CaptureContext& c);

}  // namespace kestrum
