#include "app/app_commands.h"

namespace kestrum {

void AddAppCommands(CommandTable& table, std::function<void()> closeWindow, HelpContext& help) {
    Command exit;
    exit.Name = "MainMenuFileExit";
    exit.Run = [closeWindow = std::move(closeWindow)](const CommandCall&) {
        if (closeWindow) closeWindow();
    };
    table.Add(std::move(exit));
    Command helpItem;
    helpItem.Name = "MainMenuHelp";
    helpItem.Run = [&help](const CommandCall&) { MainMenuHelpOnClick(help); };
    table.Add(std::move(helpItem));
}

}  // namespace kestrum
