#pragma once
// The channel commands: the items of the channel submenus of the Settings
// menu (COM1..COM8) and of the channel pop-up menu, the font items of the
// Settings menu and the protocol's pop-up menu, and the mouse chords on the
// channel buttons. Each command takes its channel (or font entry) from the
// item's tag; the pop-up's items take the channel the pop-up was shown for.

#include <functional>
#include <string>

#include "base/channel_table.h"
#include "base/command_table.h"
#include "base/main_view.h"
#include "channels/channel_mouse_chords.h"
#include "platform/font_dialog.h"
#include "platform/input_box.h"
#include "platform/message_box.h"
#include "platform/port_dialog.h"
#include "platform/protocol_field.h"
#include "platform/serial_port.h"
#include "settings/options.h"

namespace kestrum {

// What the channel menus keep between a mouse press and the pop-up's items.
struct ChannelMenuState {
    int PopupChannel = kFirstChannel;  // the pop-up's Tag: the channel it was shown for
};

struct ChannelCommandContext {
    Options& options;
    ChannelTable& channels;
    MainView& view;
    SerialPorts& ports;
    MessageBoxes& messages;
    ProtocolField& field;
    const ScreenPoint& dialogOrigin;  // where message boxes and input boxes go
    const std::string& exeBaseName;   // titles of boxes
    const bool& running;              // Running: the Start button is down
    ChannelMenuState& state;
    // The dialogs; a missing one makes its command do nothing.
    PortDialog* portDialog = nullptr;
    FontDialog* fontDialog = nullptr;
    InputBox* inputBox = nullptr;
    // Sends from channel n (the manual send). While it is empty nothing can
    // be sent: the pop-up's send item stays disabled and Ctrl + right click
    // beeps.
    std::function<void(int channel)> ManualSend = {};
    // MaxLineLength is recomputed (a font changed).
    std::function<void()> LineLengthChanged = {};
    // A channel's device changed (the port dialog chose another one).
    std::function<void()> DevicesChanged = {};
};

// Adds the rows of the submenus MainMenuSettingsChannel1..8 (each enabled
// while its port is Installed; opening one shows the trigger-enabled and
// auto-reset flags as check marks) with their items, and of the pop-up
// menu's items. Items of a channel that is not Installed are disabled.
void AddChannelCommands(CommandTable& table, ChannelCommandContext& context);

// The send condition: monitor mode, the channel Active, recording running,
// and a manual send to call.
bool SendConditionHolds(const ChannelCommandContext& context, int channel);

// The send item's caption: by the display mode and the language.
const std::string& SendFromChannelCaption(LogMode logMode, int language);

// SpeedButtonChannelOnMouseDown: runs the command of the chord on channel
// 1..8 (ChannelChordOf). For the pop-up it sets the pop-up's channel, the
// send item's caption and its enabled state, and the trigger items' check
// marks, and returns true: the window then shows ChannelPopupMenu at the
// mouse position.
bool SpeedButtonChannelOnMouseDown(ChannelCommandContext& context, int channel, MouseButton button,
                                   KeyModifiers keys);

// Configuration dialog of channel n (MainMenuSettingsChannelInterfaceOnClick):
// the port dialog, then every button hint rebuilt; a changed device also
// refreshes the button and tells DevicesChanged. Nothing unless Installed.
void ChannelInterfaceCommand(ChannelCommandContext& context, int channel);

// Font dialog of entry 0..9 (MainMenuSettingsFontOnClick): nothing unless
// the entry is Installed (0 and 9 always are). Starts at the entry's name,
// size, style and colour, fixed-pitch fonts only with FontFixedPitchOnly,
// no effects for the master entry. OK stores name, size and style (the flags
// follow). The master entry then gives entries 0..8 its name, size and
// style and becomes the protocol's default attributes; any other entry
// takes the colour, becomes the attributes of appended text, and a channel
// shows the colour on its button. Then MaxLineLength is recomputed.
void FontCommand(ChannelCommandContext& context, int entry);

// Channel ID dialog (MainMenuSettingsChannelIdOnClick): nothing unless
// Installed. The input box titled " " + ExeBaseName asks "Channel ID for
// COMn:" with the ID; OK stores it (blanks give the port name), rebuilds
// paddings and hints and switches ShowChannelId on. Cancel changes nothing.
void ChannelIdCommand(ChannelCommandContext& context, int channel);

// Toggle trigger: TriggerEnabled flipped (a channel without a trigger word
// stays off), the button's underline follows.
void ToggleTriggerCommand(ChannelCommandContext& context, int channel);

// Toggle auto reset: TriggerOneShot flipped.
void ToggleAutoResetCommand(ChannelCommandContext& context, int channel);

}  // namespace kestrum
