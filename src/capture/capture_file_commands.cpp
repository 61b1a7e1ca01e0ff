#include "capture/capture_file_commands.h"

namespace kestrum {

void AddCaptureFileCommands(CommandTable& table, Options& options) {
    Command toggle;
    toggle.Name = "MainMenuSettingsCaptureFile";
    toggle.Run = [&options](const CommandCall& call) { options.CaptureFile = call.Checked; };
    toggle.Checked = [&options] { return options.CaptureFile; };
    table.Add(std::move(toggle));
}

}  // namespace kestrum
