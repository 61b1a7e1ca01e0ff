#pragma once
// The commands that belong to the window as a whole: File > Exit and Help.

#include <functional>

#include "app/help_command.h"
#include "base/command_table.h"

namespace kestrum {

// File > Exit closes the main window through `closeWindow`; Help (F1) shows
// the help file's contents (MainMenuHelpOnClick with `help`).
void AddAppCommands(CommandTable& table, std::function<void()> closeWindow, HelpContext& help);

}  // namespace kestrum
