#include "base/command_table.h"

#include <stdexcept>

namespace kestrum {

void CommandTable::Add(Command command) {
    if (index_.count(command.Name) != 0) throw std::logic_error("command " + command.Name + " added twice");
    index_.emplace(command.Name, commands_.size());
    commands_.push_back(std::move(command));
}

void CommandTable::AddPending(std::string name) {
    Command command;
    command.Name = std::move(name);
    command.Built = false;
    Add(std::move(command));
}

const Command* CommandTable::Find(std::string_view name) const {
    const auto it = index_.find(name);
    return it == index_.end() ? nullptr : &commands_[it->second];
}

std::vector<std::string> CommandTable::Names() const {
    std::vector<std::string> names;
    names.reserve(commands_.size());
    for (const Command& command : commands_) names.push_back(command.Name);
    return names;
}

bool CommandTable::IsEnabled(std::string_view name) const {
    const Command* command = Find(name);
    if (command == nullptr || !command->Built) return false;
    return !command->Enabled || command->Enabled();
}

bool CommandTable::Execute(std::string_view name, const CommandCall& call) const {
    if (!IsEnabled(name)) return false;
    const Command& command = *Find(name);
    if (command.Run) command.Run(call);
    return true;
}

void CommandTable::ShowStates(MainView& view) const {
    for (const Command& command : commands_) {
        MenuItemView& item = view.Item(command.Name);
        item.Enabled = command.Built && (!command.Enabled || command.Enabled());
        if (command.Checked) item.Checked = command.Checked();
    }
    view.Changed();
}

}  // namespace kestrum
