#pragma once
// The commands of the channel submenus of the Settings menu (COM1..COM8) and
// of the channel pop-up menu.

#include "base/channel_table.h"
#include "base/command_table.h"

namespace kestrum {

struct ChannelCommandContext {
    ChannelTable& channels;
};

// Adds the submenus MainMenuSettingsChannel1..8, each enabled while its
// port is installed, and their items and the pop-up menu's items; the
// trigger items show the channel's trigger-enabled and auto-reset flags as
// check marks. The items' commands are not built yet: they stay disabled.
void AddChannelCommands(CommandTable& table, ChannelCommandContext& context);

}  // namespace kestrum
