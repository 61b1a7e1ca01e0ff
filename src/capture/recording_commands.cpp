#include "capture/recording_commands.h"

namespace kestrum {

void SpeedButtonClearOnMouseDown(CaptureContext& c, bool leftButton) {
    if (!leftButton) return;
    c.field.Clear();
    c.state.Recording.ProtocolFull = false;
    c.hooks.SetEditSearchCommandsEnabled(false);
    EnableStartButton(c.state.StartButton, true, c.options.MonitorMode);
    SetStartButtonState(c.state.StartButton, c.state.Recording, c.state.Recording.Running,
                        c.options.MonitorMode);
}

void RichEditOnKeyPress(CaptureContext& c) {
    c.state.Recording.LastChannel = kUserEntry;
}

void SpeedButtonStartOnMouseUp(CaptureContext& c, bool leftButton) {
    if (leftButton)
        ShowStartButtonText(c.state.StartButton, c.state.Recording.Running, c.options.MonitorMode);
}

}  // namespace kestrum
