#pragma once
// What the main window's controls show, computed by the core and copied onto
// the widgets by the GUI. Every function that changes the view bumps
// `Revision`, so the GUI copies only after a change.

#include <array>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "base/channel_index.h"
#include "base/colour.h"

namespace kestrum {

struct ButtonView {
    std::string Caption;
    std::string Hint;   // '\r' breaks the line
    bool Down = false;
    bool Enabled = true;
    bool Visible = true;
    bool operator==(const ButtonView&) const = default;
};

struct ChannelButtonView : ButtonView {
    Colour CaptionColour = 0;
    bool Underline = false;
    int GroupIndex = 0;  // channel number in monitor mode, 1 in sender mode
    bool operator==(const ChannelButtonView&) const = default;
};

// The Start button: down and enabled states, and the rows of the language
// table for its caption and hint.
struct StartButtonView {
    bool Down = false;
    bool Enabled = true;
    int CaptionRow = 3;  // "Start"
    int HintRow = 5;     // "Start recording"
    bool operator==(const StartButtonView&) const = default;
};

struct MenuItemView {
    std::string Caption;  // '&' marks the access key
    bool Enabled = true;
    bool Checked = false;
    bool operator==(const MenuItemView&) const = default;
};

struct MainView {
    ButtonView Clear, Monitor, Sender, Asc, Hex, Trigger, Sync;
    ButtonView TxTimeInterval, UpDownTxTimeInterval;  // the edit and its up-down
    std::array<ChannelButtonView, kLastChannel + 1> ChannelButtons;  // 1..8 used
    // Menu items of the main menu and the pop-up menus by control name
    // ("MainMenuSettingsShowTimeTags", "RichEditPopupMenuLineWrap", ...).
    std::map<std::string, MenuItemView, std::less<>> MenuItems;
    std::string WindowCaption;
    std::string CancelCaption;  // cancel button of the value dialog
    std::string HelpFilePath;
    unsigned Revision = 0;

    // Fixes the set of menu items: from then on Item() of any other name
    // throws std::out_of_range, so that a misspelt name fails instead of
    // making an item nobody shows.
    void DeclareItems(const std::vector<std::string>& names);
    // The item of that name; before DeclareItems, a new one is made.
    MenuItemView& Item(std::string_view name);
    // An item that does not exist reads as a default item.
    const MenuItemView& Item(std::string_view name) const;
    ChannelButtonView& ChannelButton(int n) { return At(ChannelButtons, n); }
    const ChannelButtonView& ChannelButton(int n) const { return At(ChannelButtons, n); }
    void Changed() { ++Revision; }
    // The mode pair and the controls that belong to one mode: Trigger in
    // monitor mode, Sync and the interval controls in sender mode (Sync
    // enabled only where there is a master to follow).
    void ShowModeControls(bool monitor, bool syncAvailable);

private:
    bool declared_ = false;
};

}  // namespace kestrum
