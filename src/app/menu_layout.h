#pragma once
// The layout of the main menu and the two pop-up menus: items in order,
// separators and submenus, which items check themselves, shortcuts, tags.
// Captions come from the language tables; states from MainView.

#include <string>
#include <string_view>
#include <vector>

namespace kestrum {

enum class MenuEntryKind { Item, Separator, SubmenuBegin, SubmenuEnd };

struct MenuEntry {
    MenuEntryKind Kind = MenuEntryKind::Item;
    std::string Name;           // control name, e.g. "MainMenuSettingsLineWrap"
    bool AutoCheck = false;     // a click flips the check mark before the handler runs
    bool Radio = false;         // one of the language items
    std::string Shortcut;       // "Shift+Ctrl+Alt+0", "F1", ... (portable key text)
    int Tag = 0;
};

// File, Edit, Settings (with COM1..COM8 submenus), Help.
const std::vector<MenuEntry>& MainMenuLayout();
// RichEditPopupMenu: the option commands that have a pop-up twin.
const std::vector<MenuEntry>& RichEditPopupMenuLayout();
// ChannelPopupMenu.
const std::vector<MenuEntry>& ChannelPopupMenuLayout();

// An option item of the Settings menu and its pop-up twin.
struct MenuTwin {
    std::string MainItem;
    std::string PopupItem;
};
// Every pair, in menu order.
const std::vector<MenuTwin>& SettingsMenuTwins();

// "MainMenuSettingsChannel3Font" for (3, "Font").
std::string ChannelMenuItem(int channel, std::string_view suffix);

// The items of each channel submenu after "MainMenuSettingsChannelN".
const std::vector<std::string>& ChannelSubmenuSuffixes();

}  // namespace kestrum
