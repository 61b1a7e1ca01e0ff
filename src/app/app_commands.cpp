#include "app/app_commands.h"

namespace kestrum {

void AddAppCommands(CommandTable& table, std::function<void()> closeWindow) {
    Command exit;
    exit.Name = "MainMenuFileExit";
    exit.Run = [closeWindow = std::move(closeWindow)](const CommandCall&) {
        if (closeWindow) closeWindow();
    };
    table.Add(std::move(exit));
    table.AddPending("MainMenuHelp");
}

}  // namespace kestrum
