#pragma once
// Waiting for a trigger word before recording, and after each re-arm.

#include <cstdint>

#include "capture/capture_context.h"

namespace kestrum {

// TriggerOn and some Active channel with TriggerEnabled.
bool TriggerArmed(const CaptureContext& c);

// One byte of channel k against its trigger word at MatchPosition[k]. A
// mismatching byte is compared once more with the first trigger byte, so
// AAB is found in AXAAB and AAB but not in AAAB. The first byte of a match
// takes the time origin (with ShowTimeTags): when it arrived (`arrival`), or
// now when its arrival is not known. A position that no longer fits a
// changed word starts again at 1. True when the word is complete.
bool MatchStep(CaptureContext& c, int channel, std::uint8_t byte, const InputArrival* arrival = nullptr);

// "Trigger words:" and one line per Active channel with TriggerEnabled, then
// an empty line, in the master font.
void WriteTriggerWordList(CaptureContext& c);

// The trigger phase: returns at once without an armed trigger; otherwise
// reads the active channels until a trigger word completes (TriggerHit,
// TriggeredChannel, the word kept in Trigger) or Running turns false. Data
// of the channels is thrown away while it waits. The channels' bytes are
// compared in the order they arrived (ArrivalOrder).
void RunTriggerPhase(CaptureContext& c);

// A line of `channel` completed by a line-end rule re-arms the trigger:
// TriggerOn, it is the TriggeredChannel and its auto reset is on.
bool ShouldRearm(const CaptureContext& c, int channel);

}  // namespace kestrum
