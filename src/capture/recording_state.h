#pragma once
// The program-wide state of recording (monitor mode) and of the Start
// button, shared with sending (sender mode).

#include <array>
#include <string>

#include "base/channel_table.h"

namespace kestrum {

// The trigger word of the channel that fired, as it was at the hit.
struct TriggerSnapshot {
    std::string Bytes;
    std::string Word;
    std::string DisplayText;
    std::string HexColumnText;
    int Length = 0;
};

struct RecordingState {
    bool Running = false;       // the Start button is down (recording or sending)
    bool ProtocolFull = false;  // the field refused a line: Start stays disabled until Clear
    bool ClearRequest = false;  // the loop empties the field after its last flush
    // What the main window is busy with: 0 idle, 1 being created, 2 Start
    // button down, 3 printing, 4 loading, 5 saving, 6 closing.
    kestrum::ActivityMarker ActivityMarker = kestrum::ActivityMarker::Creating;

    // Per recording run.
    bool FirstPhase = false;        // true until the first re-arm of the trigger
    bool StartLineWritten = false;  // a stop line follows
    // Per phase.
    bool TriggerHit = false;
    bool AfterTriggerDone = false;  // the triggered line has been started
    TriggerSnapshot Trigger;        // the word that hit
    // Per pass.
    bool DataSeen = false;

    int LastChannel = -1;       // entry of the latest byte; 0 after a key typed into the field
    int TriggeredChannel = -1;  // channel whose trigger word completed, or -1
    // 1-based position in TriggerBytes of the next byte to compare, per channel.
    std::array<int, kEntryCount> MatchPosition{};
};

}  // namespace kestrum
