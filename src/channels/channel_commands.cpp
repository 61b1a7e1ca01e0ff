#include "channels/channel_commands.h"

#include <string>

namespace kestrum {
namespace {

std::string SubmenuName(int n) { return "MainMenuSettingsChannel" + std::to_string(n); }

Command Pending(std::string name) {
    Command command;
    command.Name = std::move(name);
    command.Built = false;
    return command;
}

}  // namespace

void AddChannelCommands(CommandTable& table, ChannelCommandContext& c) {
    for (int n = kFirstChannel; n <= kLastChannel; ++n) {
        const std::string submenu = SubmenuName(n);
        Command menu;
        menu.Name = submenu;
        menu.Enabled = [&c, n] { return c.channels.Channel(n).Installed; };
        table.Add(std::move(menu));
        for (const char* suffix : {"Interface", "Font", "ID", "TriggerWord"}) table.AddPending(submenu + suffix);
        Command enabled = Pending(submenu + "TriggerEnabled");
        enabled.Checked = [&c, n] { return c.channels.Channel(n).TriggerEnabled; };
        table.Add(std::move(enabled));
        Command oneShot = Pending(submenu + "TriggerOneShot");
        oneShot.Checked = [&c, n] { return c.channels.Channel(n).TriggerOneShot; };
        table.Add(std::move(oneShot));
    }
    for (const char* item : {"ChannelPopupMenuInterface", "ChannelPopupMenuFont", "ChannelPopupMenuChannelID",
                             "ChannelPopupMenuTrigger", "ChannelPopupMenuTriggerOneShot",
                             "ChannelPopupMenuTriggerWord", "ChannelPopupMenuSendFromChannel"})
        table.AddPending(item);
}

}  // namespace kestrum
