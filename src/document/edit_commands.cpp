#include "document/edit_commands.h"

namespace kestrum {

bool EditSearchCommandsAllowed(int protocolLines, bool running) { return protocolLines > 0 && !running; }

void AddDocumentCommands(CommandTable& table, EditCommandContext& c) {
    table.Add({"MainMenuFile", {}, {}, {}, true});
    // File > Print comes with the printing commands (AddPrintCommand).
    for (const char* item : {"MainMenuFileNew", "MainMenuFileOpen", "MainMenuFileSave", "MainMenuFileSaveAs"})
        table.AddPending(item);

    Command edit;
    edit.Name = "MainMenuEdit";
    edit.Run = [&c](const CommandCall&) {
        // Running first: counting the lines would wait for the field.
        c.state.EditSearchCommandsEnabled = !c.recording.Running && c.field.LineCount() > 0;
    };
    table.Add(std::move(edit));
    for (const char* item : {"MainMenuEditUndo", "MainMenuEditCopy", "MainMenuEditCut", "MainMenuEditPaste",
                             "MainMenuEditDelete"})
        table.AddPending(item);
    for (const char* item : {"MainMenuEditSelectAll", "MainMenuEditFind", "MainMenuEditReplace"}) {
        Command search;
        search.Name = item;
        search.Built = false;
        search.Enabled = [&c] { return c.state.EditSearchCommandsEnabled; };
        table.Add(std::move(search));
    }
}

}  // namespace kestrum
