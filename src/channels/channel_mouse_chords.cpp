#include "channels/channel_mouse_chords.h"

namespace kestrum {
namespace {

struct ChordRow {
    MouseButton Button;
    KeyModifiers Keys;
    ChannelChord Monitor;
    ChannelChord Sender;
};

constexpr ChannelChord kNone = ChannelChord::None;

// clang-format off
//                 button               Shift  Ctrl   Alt      monitor mode                      sender mode
constexpr ChordRow kChords[] = {
    {MouseButton::Right,  {false, false, false}, ChannelChord::ShowPopupMenu,       ChannelChord::ConfigurationDialog},
    {MouseButton::Right,  {true,  false, false}, ChannelChord::ToggleAutoReset,     kNone},
    {MouseButton::Right,  {false, false, true},  ChannelChord::ToggleTrigger,       kNone},
    {MouseButton::Right,  {true,  false, true},  ChannelChord::TriggerWordDialog,   kNone},
    {MouseButton::Right,  {false, true,  false}, ChannelChord::SendOrBeep,          kNone},
    {MouseButton::Right,  {true,  true,  false}, ChannelChord::ConfigurationDialog, kNone},
    {MouseButton::Right,  {false, true,  true},  ChannelChord::FontDialog,          kNone},
    {MouseButton::Right,  {true,  true,  true},  ChannelChord::ChannelIdDialog,     kNone},
    {MouseButton::Middle, {false, false, false}, ChannelChord::Send,                kNone},
};
// clang-format on

}  // namespace

ChannelChord ChannelChordOf(MouseButton button, KeyModifiers keys, bool monitorMode) {
    for (const ChordRow& row : kChords)
        if (row.Button == button && row.Keys == keys) return monitorMode ? row.Monitor : row.Sender;
    return ChannelChord::None;
}

std::string_view ChannelChordName(ChannelChord chord) {
    switch (chord) {
        case ChannelChord::None: return "None";
        case ChannelChord::ShowPopupMenu: return "ShowPopupMenu";
        case ChannelChord::ConfigurationDialog: return "ConfigurationDialog";
        case ChannelChord::ToggleAutoReset: return "ToggleAutoReset";
        case ChannelChord::ToggleTrigger: return "ToggleTrigger";
        case ChannelChord::TriggerWordDialog: return "TriggerWordDialog";
        case ChannelChord::SendOrBeep: return "SendOrBeep";
        case ChannelChord::Send: return "Send";
        case ChannelChord::FontDialog: return "FontDialog";
        case ChannelChord::ChannelIdDialog: return "ChannelIdDialog";
    }
    return "?";
}

}  // namespace kestrum
