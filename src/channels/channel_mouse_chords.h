#pragma once
// What a mouse press on a channel button does: the mouse button and the
// exact set of Shift, Ctrl and Alt held with it decide, in monitor mode and
// in sender mode, which channel command runs. The table is data, so that
// every chord is one row.

#include <string_view>

namespace kestrum {

enum class MouseButton { Left, Right, Middle, Other };

// The keys held with the press; other keys (Meta, keypad) do not count.
struct KeyModifiers {
    bool Shift = false;
    bool Ctrl = false;
    bool Alt = false;
    bool operator==(const KeyModifiers&) const = default;
};

enum class ChannelChord {
    None,                 // nothing here (a left press: the click handler acts)
    ShowPopupMenu,        // ChannelPopupMenu at the mouse position
    ConfigurationDialog,  // the port dialog
    ToggleAutoReset,
    ToggleTrigger,
    TriggerWordDialog,
    SendOrBeep,  // send from the channel if the send condition holds, else beep
    Send,        // send from the channel if the send condition holds
    FontDialog,  // the font dialog of the channel's entry
    ChannelIdDialog,
};

// The command of a press of `button` with exactly `keys` held, in monitor
// mode or in sender mode. Any chord that is not in the table is None.
ChannelChord ChannelChordOf(MouseButton button, KeyModifiers keys, bool monitorMode);

// The name of a command, for messages of tests ("ToggleTrigger").
std::string_view ChannelChordName(ChannelChord chord);

}  // namespace kestrum
