#pragma once
// The Trigger button, which switches the whole trigger mechanism on and off.

#include "base/main_view.h"
#include "settings/options.h"

namespace kestrum {

// SpeedButtonTriggerOnClick: TriggerOn flipped; the button shows it as its
// down state, with the hint "Deactivate trigger" while on and "Activate
// trigger" while off. A trigger phase that is waiting goes on waiting.
void SpeedButtonTriggerOnClick(Options& options, MainView& view);

}  // namespace kestrum
