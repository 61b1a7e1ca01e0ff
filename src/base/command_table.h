#pragma once
// The commands of the main menu, the pop-up menus and their shortcuts, by
// the control name of their menu item: what a command does, when it is
// enabled and whether it shows a check mark. Each part of the program adds
// the rows of its own commands; the window only looks names up here.
//
// A submenu has a row too: its Run is the handler that runs when the menu
// opens, and its enabling rule enables the submenu.

#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "base/main_view.h"

namespace kestrum {

// How a command was invoked.
struct CommandCall {
    bool Checked = false;  // the item's check state after the click flipped it
    int Tag = 0;           // the item's tag (a channel, a font entry, a language)
};

struct Command {
    std::string Name;
    // The handler; may be empty for a submenu that only opens.
    std::function<void(const CommandCall&)> Run;
    // When the command may run; empty: always.
    std::function<bool()> Enabled;
    // The check mark it shows; empty: none (the item's own state stays).
    std::function<bool()> Checked;
    // False while the command's work is not built: it stays disabled.
    bool Built = true;
};

class CommandTable {
public:
    // Adds a row. A name that is already in the table throws std::logic_error.
    void Add(Command command);
    // A row that is there but whose work is not built yet.
    void AddPending(std::string name);

    const Command* Find(std::string_view name) const;
    std::vector<std::string> Names() const;

    // Built, and its rule allows it. False for an unknown name.
    bool IsEnabled(std::string_view name) const;
    // Runs the command when it is enabled; true when it ran. An exception of
    // the handler goes to the caller.
    bool Execute(std::string_view name, const CommandCall& call) const;
    // Every row's enabled state, and the check mark of rows that have one,
    // into the view's item of the same name.
    void ShowStates(MainView& view) const;

private:
    std::vector<Command> commands_;
    std::map<std::string, std::size_t, std::less<>> index_;
};

}  // namespace kestrum
