#include "app/menu_layout.h"

namespace kestrum {
namespace {

MenuEntry Item(std::string name, std::string shortcut = {}, int tag = 0) {
    return {MenuEntryKind::Item, std::move(name), false, false, std::move(shortcut), tag};
}
MenuEntry Toggle(std::string name, int tag = 0) {
    return {MenuEntryKind::Item, std::move(name), true, false, {}, tag};
}
MenuEntry Separator() { return {MenuEntryKind::Separator, {}, false, false, {}, 0}; }
MenuEntry Begin(std::string name, int tag = 0) {
    return {MenuEntryKind::SubmenuBegin, std::move(name), false, false, {}, tag};
}
MenuEntry End() { return {MenuEntryKind::SubmenuEnd, {}, false, false, {}, 0}; }

// The option items shared by the Settings menu and the protocol's pop-up
// menu, after the font items; `prefix` is "MainMenuSettings" or "RichEditPopupMenu".
void AddOptionItems(std::vector<MenuEntry>& menu, const std::string& prefix, bool main) {
    menu.push_back(Item(prefix + "UserFont", "Shift+Ctrl+Alt+0", 0));
    menu.push_back(Item(prefix + "AllFonts", "Shift+Ctrl+Alt+9", 9));
    menu.push_back(Toggle(prefix + "FontFixedPitchOnly"));
    menu.push_back(Item(prefix + "BackgroundColor"));
    menu.push_back(Separator());
    if (main) {
        menu.push_back(Toggle(prefix + "AutoDetectDeviceChanges"));
        menu.push_back(Separator());
    }
    menu.push_back(Toggle(prefix + "LineWrap"));
    menu.push_back(Item(prefix + "CommentDelimiter"));
    menu.push_back(Separator());
    for (const char* name : {"ShowTriggerWords", "ShowStartStopTime", "ShowTimeTags", "ShowChannelID"})
        menu.push_back(Toggle(prefix + name));
    menu.push_back(Separator());
    for (const char* name : {"DumpOnCrChar", "DumpOnLfChar", "ShowCrChar", "ShowLfChar"})
        menu.push_back(Toggle(prefix + name));
    menu.push_back(Separator());
    for (const char* name : {"SendCrStrAsCrChar", "SendLfStrAsLfChar", "AppendCrChar", "AppendLfChar",
                             "SenderModeAutoRepeat"})
        menu.push_back(Toggle(prefix + name));
    menu.push_back(Separator());
    menu.push_back(Item(prefix + "HexLineByteCount"));
}

std::vector<MenuEntry> BuildMainMenu() {
    std::vector<MenuEntry> menu;
    menu.push_back(Begin("MainMenuFile"));
    for (const char* name : {"MainMenuFileNew", "MainMenuFileOpen", "MainMenuFileSave", "MainMenuFileSaveAs",
                             "MainMenuFilePrint"})
        menu.push_back(Item(name));
    menu.push_back(Separator());
    menu.push_back(Item("MainMenuFileExit"));
    menu.push_back(End());

    menu.push_back(Begin("MainMenuEdit"));
    menu.push_back(Item("MainMenuEditUndo", "Alt+Backspace"));
    menu.push_back(Separator());
    menu.push_back(Item("MainMenuEditCopy", "Ctrl+C"));
    menu.push_back(Item("MainMenuEditCut", "Ctrl+X"));
    menu.push_back(Item("MainMenuEditPaste", "Ctrl+V"));
    menu.push_back(Item("MainMenuEditDelete", "Shift+Del"));
    menu.push_back(Separator());
    menu.push_back(Item("MainMenuEditSelectAll", "Ctrl+A"));
    menu.push_back(Separator());
    menu.push_back(Item("MainMenuEditFind", "Ctrl+F"));
    menu.push_back(Item("MainMenuEditReplace", "Ctrl+H"));
    menu.push_back(End());

    menu.push_back(Begin("MainMenuSettings"));
    for (int n = 1; n <= 8; ++n) {
        const std::string digit = std::to_string(n);
        menu.push_back(Begin("MainMenuSettingsChannel" + digit, n));
        menu.push_back(Item(ChannelMenuItem(n, "Interface"), "Shift+Ctrl+" + digit, n));
        menu.push_back(Item(ChannelMenuItem(n, "Font"), {}, n));
        menu.push_back(Item(ChannelMenuItem(n, "ID"), "Shift+Ctrl+Alt+" + digit, n));
        menu.push_back(Separator());
        menu.push_back(Item(ChannelMenuItem(n, "TriggerEnabled"), "Alt+" + digit, n));
        menu.push_back(Toggle(ChannelMenuItem(n, "TriggerOneShot"), n));
        menu.push_back(Item(ChannelMenuItem(n, "TriggerWord"), "Shift+Alt+" + digit, n));
        menu.push_back(End());
    }
    menu.push_back(Separator());
    AddOptionItems(menu, "MainMenuSettings", true);
    menu.push_back(Item("MainMenuSettingsInputLineMaxHistoryCount"));
    menu.push_back(Toggle("MainMenuSettingsHighlightInputLine"));
    menu.push_back(Separator());
    menu.push_back(Toggle("MainMenuSettingsCaptureFile"));
    menu.push_back(Separator());
    menu.push_back(Item("MainMenuSettingsPrinter"));
    menu.push_back(Separator());
    menu.push_back({MenuEntryKind::Item, "MainMenuSettingsLanguageEnglish", true, true, {}, 1});
    menu.push_back({MenuEntryKind::Item, "MainMenuSettingsLanguageGerman", true, true, {}, 2});
    menu.push_back(Separator());
    menu.push_back(Toggle("MainMenuSettingsSaveSettings"));
    menu.push_back(End());

    menu.push_back(Item("MainMenuHelp", "F1"));
    return menu;
}

std::vector<MenuEntry> BuildRichEditPopupMenu() {
    std::vector<MenuEntry> menu;
    AddOptionItems(menu, "RichEditPopupMenu", false);
    return menu;
}

std::vector<MenuEntry> BuildChannelPopupMenu() {
    return {
        Item("ChannelPopupMenuInterface"),
        Item("ChannelPopupMenuFont"),
        Item("ChannelPopupMenuChannelID"),
        Separator(),
        Item("ChannelPopupMenuTrigger"),
        Toggle("ChannelPopupMenuTriggerOneShot"),
        Item("ChannelPopupMenuTriggerWord"),
        Separator(),
        Item("ChannelPopupMenuSendFromChannel"),
    };
}

std::vector<MenuTwin> BuildTwins() {
    std::vector<MenuTwin> twins;
    for (const MenuEntry& entry : RichEditPopupMenuLayout()) {
        if (entry.Kind != MenuEntryKind::Item) continue;
        const std::string suffix = entry.Name.substr(std::string("RichEditPopupMenu").size());
        twins.push_back({"MainMenuSettings" + suffix, entry.Name});
    }
    return twins;
}

}  // namespace

const std::vector<MenuEntry>& MainMenuLayout() {
    static const std::vector<MenuEntry> kLayout = BuildMainMenu();
    return kLayout;
}

const std::vector<MenuEntry>& RichEditPopupMenuLayout() {
    static const std::vector<MenuEntry> kLayout = BuildRichEditPopupMenu();
    return kLayout;
}

const std::vector<MenuEntry>& ChannelPopupMenuLayout() {
    static const std::vector<MenuEntry> kLayout = BuildChannelPopupMenu();
    return kLayout;
}

const std::vector<MenuTwin>& SettingsMenuTwins() {
    static const std::vector<MenuTwin> kTwins = BuildTwins();
    return kTwins;
}

std::string ChannelMenuItem(int channel, std::string_view suffix) {
    return "MainMenuSettingsChannel" + std::to_string(channel) + std::string(suffix);
}

const std::vector<std::string>& ChannelSubmenuSuffixes() {
    static const std::vector<std::string> kSuffixes = {"Interface", "Font", "ID", "TriggerEnabled",
                                                       "TriggerOneShot", "TriggerWord"};
    return kSuffixes;
}

}  // namespace kestrum
