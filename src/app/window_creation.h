#pragma once
// The steps of the main window's creation that only set options and what the
// controls show: option ranges, the mode and display controls, the menu
// check marks and enabling, the key handler's rules.

#include <string>

#include "base/instance_info.h"
#include "base/main_view.h"
#include "base/channel_table.h"
#include "settings/options.h"

namespace kestrum {

// Creation-time corrections: the four dialog filter indexes into 1..3, a
// PrinterOrientation above 1 becomes 1, a Language other than 1 or 2 becomes
// 1, SenderMode is the opposite of MonitorMode, and a ProtocolDirectory that
// the file did not hold becomes `startDirectory`.
void NormaliseOptionsAtCreation(Options& options, const std::string& startDirectory);

// Mode and display controls: Monitor or Sender down; Trigger shown in monitor
// mode, Sync and the interval controls in sender mode; Asc or Hex down by
// LogMode; Trigger down by TriggerOn; Sync down when the instance number is
// above 1 and Synchronize is set, enabled only above 1; the channel buttons'
// group indexes by mode; the interval edit's text.
void SetUpModeControls(MainView& view, const Options& options, const InstanceInfo& instance);

// "Test" and the extension of the save dialog's filter index of the current
// mode (1 ".RTF", 2 ".TXT", 3 none): the protocol file of a new protocol.
std::string DefaultProtocolFileTitle(const Options& options);

// The channel send shortcut of the key handler: Ctrl alone with a digit 1..8
// of the main keyboard, in monitor mode, on an Active channel, while
// running. Returns the channel, or 0 when the key does nothing.
int ChannelSendShortcut(bool ctrlOnly, int digit, const Options& options, const ChannelTable& channels,
                        bool running);

}  // namespace kestrum
