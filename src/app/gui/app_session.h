#pragma once
// The run of the program around its main window: start-up with the
// system's inputs before the window exists, and the end of the run (write
// the settings, release the instance number) from the window's close
// handling.

#include <memory>

#include "app/app_state.h"
#include "app/startup.h"
#include "platform/instance_markers.h"

class QWidget;

namespace kestrum {

struct AppSession {
    std::unique_ptr<InstanceMarkers> Markers;
    AppState State;
};

// Start-up with the running program file, the user's settings folder, the
// user's locale and the system's instance markers. Call it after the
// QApplication exists: it also puts back the C number format (LC_NUMERIC)
// that QApplication replaced by the user's, so that printf, strtod and
// std::to_string keep '.' as decimal point for a German user too.
AppSession StartSession();

// The end of the run: ShutDown with Qt message boxes over `dialogParent`
// placed at `dialogOrigin`. Does nothing the second time. Returns whether
// the settings were written.
bool FinishSession(AppSession& session, QWidget* dialogParent, ScreenPoint dialogOrigin);

}  // namespace kestrum
