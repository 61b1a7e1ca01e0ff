#pragma once
// What the Start button shows (StartButtonView): down state, enabled state,
// and the rows of the language table for its caption and hint.

#include "base/main_view.h"
#include "capture/recording_state.h"

namespace kestrum {

// Caption "Start"/"Stop" and the hint of the mode for `running`; the down
// state and Running stay as they are.
void ShowStartButtonText(StartButtonView& button, bool running, bool monitorMode);

// Enabled or disabled, shown up, caption "Start"; the hint of the mode, or
// the disabled hint.
void EnableStartButton(StartButtonView& button, bool enabled, bool monitorMode);

// Down or up with caption and hint to match, then Running := down.
void SetStartButtonState(StartButtonView& button, RecordingState& state, bool down,
                         bool monitorMode);

}  // namespace kestrum
