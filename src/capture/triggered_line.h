#pragma once
// The line that a trigger word starts.

#include "capture/capture_context.h"

namespace kestrum {

// A moment long past (0.1 s after the date-time origin): a line with this
// deadline is shown at its channel's next time-out check.
constexpr DateTime kLongPast = 0.1 / kSecondsPerDay;

// Fills the triggered channel's buffers with the trigger word in `logMode`
// form: ASCII LineText = TriggerDisplayText; hex HexColumn = the blank line
// with TriggerWord over its start (as wide as the word needs), CharColumn =
// TriggerHexColumnText, HexByteCount = TriggerLength. Time tag 0.
void StartTriggeredLine(CaptureContext& c, LogMode logMode);

// The steps after a hit, once per hit, in the mode the passes run in: the
// word with its prefix is written at once when it ends the line (ASCII: its
// last byte is LF; hex: TriggerLength >= HexLineByteCount), otherwise it
// stays the channel's current line, continued by its next bytes and shown at
// its first time-out check. True when the written line re-arms the trigger.
bool AfterTriggerSteps(CaptureContext& c, LogMode logMode);

}  // namespace kestrum
