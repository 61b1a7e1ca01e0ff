#pragma once
// The main window's caption and cursor, as other parts of the program
// change them.

#include "app/app_state.h"

namespace kestrum {

class AppWiring;

// The caption: a blank, ExeBaseName, " - ", then the file name and
// extension of the current mode's protocol file.
void UpdateWindowCaption(AppState& state);

// The hourglass (true) or the default cursor over the main window and the
// whole screen, shown at once: pending messages are let through.
void SetWindowCursor(AppWiring& wiring, bool hourglass);

}  // namespace kestrum
