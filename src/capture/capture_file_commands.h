#pragma once
// The Settings menu's toggle of the capture file.

#include "base/command_table.h"
#include "settings/options.h"

namespace kestrum {

// MainMenuSettingsCaptureFile: stores the clicked item's check state in
// CaptureFile and shows the option as its check mark; always enabled. The
// change takes effect at the next Start.
void AddCaptureFileCommands(CommandTable& table, Options& options);

}  // namespace kestrum
