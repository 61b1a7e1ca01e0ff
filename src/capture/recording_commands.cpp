#include "capture/recording_commands.h"

#include "capture/channel_line_writer.h"

namespace kestrum {

void SpeedButtonClearOnMouseDown(CaptureContext& c, bool leftButton) {
    if (!leftButton) return;
    c.field.Clear();
    c.state.Recording.ProtocolFull = false;
    c.search.SetEditSearchCommandsEnabled(false);
    EnableStartButton(c.state.StartButton, true, c.options.MonitorMode);
    SetStartButtonState(c.state.StartButton, c.state.Recording, c.state.Recording.Running,
                        c.options.MonitorMode);
}

void RichEditOnKeyPress(CaptureContext& c) {
    // Bytes received but not yet shown are written first, and every shown
    // line is finished: typed text then follows the recorded lines, and no
    // later write of a channel replaces the line the user typed into.
    if (c.state.Recording.Running) {
        for (int j = kFirstChannel; j <= kLastChannel; ++j) {
            LineRecord& line = c.state.Lines[static_cast<std::size_t>(j)];
            if (!line.Written) WriteChannelLine(c, j);
            line.LineClosed = true;
            line.LineStarted = false;
        }
    }
    c.state.Recording.LastChannel = kUserEntry;
}

void SpeedButtonStartOnMouseUp(CaptureContext& c, bool leftButton) {
    if (leftButton)
        ShowStartButtonText(c.state.StartButton, c.state.Recording.Running, c.options.MonitorMode);
}

}  // namespace kestrum
