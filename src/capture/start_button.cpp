#include "capture/start_button.h"

#include "settings/language_texts.h"

namespace kestrum {

void ShowStartButtonText(StartButtonView& button, bool running, bool monitorMode) {
    button.CaptionRow = running ? kTextStop : kTextStart;
    if (monitorMode)
        button.HintRow = running ? kTextStopRecording : kTextStartRecording;
    else
        button.HintRow = running ? kTextStopSending : kTextStartSending;
}

void EnableStartButton(StartButtonView& button, bool enabled, bool monitorMode) {
    button.Enabled = enabled;
    button.Down = false;
    button.CaptionRow = kTextStart;
    if (enabled)
        button.HintRow = monitorMode ? kTextStartRecording : kTextStartSending;
    else
        button.HintRow = monitorMode ? kTextRecordingDisabled : kTextSendingDisabled;
}

void SetStartButtonState(StartButtonView& button, RecordingState& state, bool down,
                         bool monitorMode) {
    button.Down = down;
    ShowStartButtonText(button, down, monitorMode);
    state.Running = down;
}

}  // namespace kestrum
