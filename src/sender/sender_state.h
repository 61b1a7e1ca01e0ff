#pragma once
// The state of sending: sender mode's position in the protocol, the mode
// switch, the sync event, and each channel's manual-send line and history
// bytes. Kept by the application for the whole run, never saved.

#include <array>
#include <string>

#include "base/channel_index.h"
#include "platform/sync_event.h"
#include "settings/options.h"

namespace kestrum {

// What the manual send keeps per channel besides the saved history texts
// (ChannelRecord::InputHistory).
struct ManualSendChannel {
    std::string LastInputLine;  // the input text when the dialog was last confirmed
    // The bytes of the history entries (or "<NullString>"), rebuilt from the
    // texts each time the dialog opens.
    std::array<std::string, kMaxHistoryCount> InputHistoryBytes;
    int InputHistoryCount = 0;  // valid entries, 0..64
};

struct SenderState {
    int TxLineIndex = 0;    // zero-based index of the next protocol line to send
    int TxLineCount = 0;    // lines of the protocol, read again at every tick
    bool TxBusy = false;    // a tick is being worked; a nested tick does nothing
    // MonitorMode before the last click on a mode button.
    bool PreviousMonitorMode = true;
    // A mouse-down switched the mode; its mouse-up has not come yet.
    bool ModeSwitchPending = false;
    int UpDownPosition = 0;  // position of UpDownTxTimeInterval, 0..9
    EventHandle SyncEvent = kInvalidEventHandle;
    // A write to the sender port failed in this run (it beeped once).
    bool WriteFailedThisRun = false;
    std::array<ManualSendChannel, kEntryCount> ManualSend;  // channels 1..8

    ManualSendChannel& Channel(int n) { return At(ManualSend, n); }
};

}  // namespace kestrum
