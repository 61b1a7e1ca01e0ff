#pragma once
// The commands that belong to the window as a whole: File > Exit and Help.

#include <functional>

#include "base/command_table.h"

namespace kestrum {

// File > Exit closes the main window through `closeWindow`; Help (F1) is
// not built yet and stays disabled.
void AddAppCommands(CommandTable& table, std::function<void()> closeWindow);

}  // namespace kestrum
